#pragma once

#include <QWidget>

class QToolButton;

namespace ralvo {

// A standalone up-down spinner: two arrow buttons over a position of its own
// within a range, tied to no edit field. An arrow click that moves the
// position emits Click(+1) for the upper and Click(-1) for the lower arrow;
// at the end of the range the arrow does nothing. Holding an arrow repeats.
// The spinner takes no focus.
class TUpDown final : public QWidget
{
    Q_OBJECT

public:
    TUpDown(int minimum, int maximum, QWidget *parent = nullptr);

    int Position() const { return m_position; }
    int Minimum() const { return m_minimum; }
    int Maximum() const { return m_maximum; }

    QToolButton *UpButton() const { return m_up; }
    QToolButton *DownButton() const { return m_down; }

    // Moves the position by `direction` (+1 or -1) and emits Click when it
    // moved; what a click on an arrow does.
    void Step(int direction);

    // Names the spinner and its arrows for assistive technology after the
    // value it steps ("…を増やす", "…を減らす").
    void SetAccessibleNames(const QString &value);

Q_SIGNALS:
    void Click(int direction);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    int m_minimum;
    int m_maximum;
    int m_position = 0;
    QToolButton *m_up;   // the upper arrow: steps by +1
    QToolButton *m_down; // the lower arrow: steps by -1
};

} // namespace ralvo
