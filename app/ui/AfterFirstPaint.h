#pragma once

#include <QObject>

#include <functional>

class QWidget;

namespace ralvo {

// Runs a step once, right after a shown widget's window is first on screen:
// the step is queued behind the exposure that paints the window, so it does
// not hold back what the user sees first. Nothing runs if the window is never
// exposed; a step that must happen anyway is also called where it is needed.
class AfterFirstPaint final : public QObject
{
public:
    // The widget must have been shown (it has its window).
    AfterFirstPaint(const QWidget &widget, std::function<void()> step);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::function<void()> m_step;
};

} // namespace ralvo
