#include "app/ui/AfterFirstPaint.h"

#include <QEvent>
#include <QWidget>
#include <QWindow>

#include <utility>

namespace ralvo {

AfterFirstPaint::AfterFirstPaint(const QWidget &widget, std::function<void()> step) : m_step(std::move(step))
{
    if (QWindow *window = widget.windowHandle())
        window->installEventFilter(this);
}

bool AfterFirstPaint::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Expose || !static_cast<QWindow *>(watched)->isExposed() || !m_step)
        return false;
    // The window paints itself while this exposure is delivered; the step
    // follows in the next turn of the event loop.
    watched->removeEventFilter(this);
    QMetaObject::invokeMethod(this, std::exchange(m_step, nullptr), Qt::QueuedConnection);
    return false;
}

} // namespace ralvo
