#pragma once

#include <QPixmap>
#include <QWidget>

namespace ralvo {

// A picture that reacts to the mouse: MouseDown and MouseUp for the left
// button, Click when the button is released over the picture.
class TImage final : public QWidget
{
    Q_OBJECT

public:
    explicit TImage(QWidget *parent = nullptr);

    const QPixmap &Picture() const { return m_picture; }
    void SetPicture(const QPixmap &picture);

    QSize sizeHint() const override;

    // A picture that runs a command when clicked: a button to assistive
    // technology. Pictures are not commands at first.
    bool IsCommand() const { return m_command; }
    void SetCommand(bool command) { m_command = command; }

    // A press and release over the picture, as a click does: what the
    // accessible press action does.
    void Press();

Q_SIGNALS:
    void MouseDown();
    void MouseUp();
    void Click();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QPixmap m_picture;
    bool m_pressed = false;
    bool m_command = false;
};

} // namespace ralvo
