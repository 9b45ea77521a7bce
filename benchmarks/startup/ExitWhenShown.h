#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <cstdlib>
#include <functional>
#include <utility>

namespace ralvo::bench {

// Ends the process at once after the first exposure of a top-level widget,
// once Qt has painted it, so that a launch can be timed from outside from
// exec to "window shown". _Exit skips the teardown, which is not part of the
// start-up. With a readiness test, the process ends at the first turn of the
// event loop after that exposure in which the test holds (e.g. once the
// windows made after the first paint exist).
class ExitWhenShown final : public QObject
{
public:
    explicit ExitWhenShown(const QWidget &window, std::function<bool()> ready = {})
        : m_window(window), m_ready(std::move(ready))
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
            QTimer::singleShot(0, this, [this] { ExitOnceReady(); });
        return false;
    }

private:
    void ExitOnceReady()
    {
        if (!m_ready || m_ready())
            std::_Exit(0);
        QTimer::singleShot(0, this, [this] { ExitOnceReady(); });
    }

    const QWidget &m_window;
    const std::function<bool()> m_ready;
};

} // namespace ralvo::bench
