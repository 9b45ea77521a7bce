#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <cstdlib>

namespace ralvo::bench {

// Ends the process at once after the first exposure of a top-level widget,
// once Qt has painted it, so that a launch can be timed from outside from
// exec to "window shown". _Exit skips the teardown, which is not part of the
// start-up.
class ExitWhenShown final : public QObject
{
public:
    explicit ExitWhenShown(const QWidget &window) : m_window(window)
    {
        QCoreApplication::instance()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Expose && watched == m_window.windowHandle()
            && m_window.windowHandle()->isExposed())
            // The expose paints and flushes the window synchronously; the
            // timer fires after that.
            QTimer::singleShot(0, [] { std::_Exit(0); });
        return false;
    }

private:
    const QWidget &m_window;
};

} // namespace ralvo::bench
