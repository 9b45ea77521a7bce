#include "print/PreviewMessages.h"

#include <utility>

namespace ralvo {

void PreviewMessages::NewShowing()
{
    m_inDrawing.clear();
    m_passed.clear();
    m_pending.clear();
}

void PreviewMessages::BeginDrawing() { m_inDrawing.clear(); }

void PreviewMessages::ShowMessage(const QString &text)
{
    const int reports = ++m_inDrawing[text];
    int &passed = m_passed[text];
    if (reports <= passed)
        return;
    passed = reports;
    m_pending.push_back(text);
}

void PreviewMessages::ShowPending()
{
    const std::vector<QString> due = std::exchange(m_pending, {});
    for (const QString &text : due)
        m_target.ShowMessage(text);
}

} // namespace ralvo
