#pragma once

#include <QWidget>

class QMouseEvent;
class QPainter;

namespace ralvo {

// A plain canvas control (the block editor's sheet, the preview's page): it
// paints nothing itself and hands its paint and mouse events to the window
// that owns it, which keeps all the state. The painter it hands on is
// clipped to the exposed region, so a drawing can skip what lies outside
// (a scroll step exposes a strip).
class PaintBox final : public QWidget
{
    Q_OBJECT

public:
    explicit PaintBox(QWidget *parent = nullptr);

Q_SIGNALS:
    void Paint(QPainter &painter);
    void MouseDown(QMouseEvent *event);
    void MouseMove(QMouseEvent *event);
    void MouseUp(QMouseEvent *event);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
};

} // namespace ralvo
