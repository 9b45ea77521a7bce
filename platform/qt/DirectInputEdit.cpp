#include "platform/qt/DirectInputEdit.h"

#include <QInputMethodEvent>

#include <utility>

namespace ralvo::platform {

DirectInputEdit::DirectInputEdit(QWidget *parent) : QLineEdit(parent)
{
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setInputMethodHints(Qt::ImhPreferNumbers | Qt::ImhNoPredictiveText);
}

QVariant DirectInputEdit::inputMethodQuery(Qt::InputMethodQuery query) const
{
    return inputMethodQuery(query, QVariant());
}

QVariant DirectInputEdit::inputMethodQuery(Qt::InputMethodQuery query, QVariant argument) const
{
    if (query == Qt::ImEnabled)
        return false;
    return QLineEdit::inputMethodQuery(query, std::move(argument));
}

void DirectInputEdit::inputMethodEvent(QInputMethodEvent *event) { event->ignore(); }

} // namespace ralvo::platform
