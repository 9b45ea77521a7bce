#pragma once

// Small helpers the frame dialogs and the block editor share to place their
// controls at fixed positions.

#include "platform/Platform.h"
#include "platform/qt/DialogHelpers.h"

#include <QRect>
#include <QString>
#include <QWidget>

namespace ralvo::kikanmei_ui {

// Names the control (tests find controls by these names) and places it.
template<typename W>
W *Placed(W *widget, const char *name, const QRect &geometry)
{
    platform::Named(widget, name)->setGeometry(geometry);
    return widget;
}

// The exclamation sound, then `text` in a "確認" box with Yes and No; true
// for Yes.
inline bool ConfirmDeletion(const platform::Services &services, const QString &text)
{
    services.sounds->Exclamation();
    platform::Messages::Question question;
    question.caption = QStringLiteral("確認");
    question.text = text;
    question.icon = platform::Messages::Icon::Question;
    return services.messages->Ask(question) == platform::Messages::Answer::Yes;
}

} // namespace ralvo::kikanmei_ui
