#include "platform/qt/Accessibility.h"

#include <QLabel>
#include <QString>
#include <QWidget>

namespace ralvo::platform {

void NameControl(QWidget *control, const QString &name) { control->setAccessibleName(name); }

void LabelField(QLabel *label, QWidget *field) { label->setBuddy(field); }

void DescribeByHints(QWidget &window)
{
    QList<QWidget *> widgets = window.findChildren<QWidget *>();
    widgets.prepend(&window);
    for (QWidget *widget : std::as_const(widgets)) {
        if (!widget->accessibleDescription().isEmpty())
            continue;
        const QString hint = widget->statusTip().isEmpty() ? widget->toolTip() : widget->statusTip();
        if (!hint.isEmpty())
            widget->setAccessibleDescription(hint);
    }
}

} // namespace ralvo::platform
