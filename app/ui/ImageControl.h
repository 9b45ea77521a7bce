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
};

} // namespace ralvo
