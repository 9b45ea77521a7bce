#pragma once

// A one-line field that the input method leaves alone: digits and other
// plain keys arrive as typed, never composed text.
//
// Qt's WA_InputMethodEnabled attribute and input method hints do not keep
// ibus or fcitx5 out of a field: both ask the field itself through
// inputMethodQuery(Qt::ImEnabled) and compose into it while it answers true.
// This field answers false, and should an input method commit text all the
// same, the text is dropped.

#include <QLineEdit>

namespace ralvo::platform {

class DirectInputEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit DirectInputEdit(QWidget *parent = nullptr);

    // Asked through an input method query event, and by name (with an
    // argument) through QInputMethod::queryFocusObject.
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    Q_INVOKABLE QVariant inputMethodQuery(Qt::InputMethodQuery query, QVariant argument) const;

protected:
    void inputMethodEvent(QInputMethodEvent *event) override;
};

} // namespace ralvo::platform
