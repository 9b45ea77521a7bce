#include "platform/qt/PaintBox.h"

#include <QMouseEvent>
#include <QPainter>

namespace ralvo {

PaintBox::PaintBox(QWidget *parent) : QWidget(parent)
{
    setMouseTracking(true); // moves without a button reach the owner too
}

void PaintBox::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.setClipRegion(event->region()); // Qt clips to it anyway
    Q_EMIT Paint(painter);
}

void PaintBox::mousePressEvent(QMouseEvent *event) { Q_EMIT MouseDown(event); }

void PaintBox::mouseMoveEvent(QMouseEvent *event) { Q_EMIT MouseMove(event); }

void PaintBox::mouseReleaseEvent(QMouseEvent *event) { Q_EMIT MouseUp(event); }

} // namespace ralvo
