#include "app/ui/ImageControl.h"

#include <QMouseEvent>
#include <QPainter>

namespace ralvo {

TImage::TImage(QWidget *parent) : QWidget(parent) {}

void TImage::SetPicture(const QPixmap &picture)
{
    m_picture = picture;
    update();
}

QSize TImage::sizeHint() const
{
    return m_picture.isNull() ? QSize(0, 0) : m_picture.deviceIndependentSize().toSize();
}

void TImage::paintEvent(QPaintEvent *)
{
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    painter.drawPixmap(QPoint(0, 0), m_picture);
}

void TImage::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_pressed = true;
    Q_EMIT MouseDown();
}

void TImage::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_pressed) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    m_pressed = false;
    Q_EMIT MouseUp();
    if (rect().contains(event->position().toPoint()))
        Q_EMIT Click();
}

} // namespace ralvo
