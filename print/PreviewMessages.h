#pragma once

// The messages of a page drawn inside the preview's painting. A message box
// opened while painting makes the sheet repaint when it closes, and that
// painting would show the same message again, without end. So the preview
// hands its drawing this sink: it holds the messages until the painting is
// over, and lets each of them through at most once per showing of the
// preview. "Each" counts repeats within one drawing: two frames that report
// the same text in one drawing give two messages, once.

#include "platform/Platform.h"

#include <map>
#include <vector>

namespace ralvo {

class PreviewMessages final : public platform::Messages
{
public:
    explicit PreviewMessages(platform::Messages &target) : m_target(target) {}

    // A new showing of the preview: every message may be shown once again.
    void NewShowing();
    // A drawing begins: its messages are counted afresh.
    void BeginDrawing();

    // Holds `text` when this showing has not yet shown it as often as the
    // current drawing has reported it.
    void ShowMessage(const QString &text) override;
    // The page asks nothing; a question is passed on as it is.
    Answer Ask(const Question &question) override { return m_target.Ask(question); }

    bool HasPending() const { return !m_pending.empty(); }
    // Shows the held messages through the target, in the order reported.
    // Messages reported while these are shown are held for the next call.
    void ShowPending();

private:
    platform::Messages &m_target;
    std::map<QString, int> m_inDrawing; // reports of each text in this drawing
    std::map<QString, int> m_passed;    // reports of each text let through this showing
    std::vector<QString> m_pending;
};

} // namespace ralvo
