#include "print/PagePainter.h"

#include "platform/CellFont.h"

#include <QPainter>
#include <QPen>

namespace ralvo {

CellFont MakeCellFont(const QString &face, int cellHeight, const QPaintDevice &device)
{
    CellFont f;
    f.font = platform::FontForFullWidth(face, cellHeight, device);
    f.ascent = platform::CellAscent(f.font, device);
    return f;
}

QColor PagePainter::Ink(Colour c) const { return m_colour ? ToQColor(c) : QColor(Qt::black); }

void PagePainter::SetPen(const QColor &colour, int width, Qt::PenStyle style)
{
    QPen pen(colour, width, style, Qt::RoundCap, Qt::RoundJoin);
    if (style != Qt::SolidLine)
        pen.setCapStyle(Qt::FlatCap);
    m_painter.setPen(pen);
}

void PagePainter::Outline(QPoint topLeft, QPoint bottomRight)
{
    m_painter.setBrush(Qt::NoBrush);
    m_painter.drawRect(
        QRect(topLeft.x(), topLeft.y(), bottomRight.x() - topLeft.x() - 1, bottomRight.y() - topLeft.y() - 1));
}

void PagePainter::Line(const QLine &line) { m_painter.drawLine(line); }

void PagePainter::Text(const CellFont &font, QColor colour, QPoint cellTopLeft, const QString &text)
{
    if (text.isEmpty())
        return;
    m_painter.setFont(font.font);
    m_painter.setPen(colour);
    m_painter.drawText(QPointF(cellTopLeft.x(), cellTopLeft.y() + font.ascent), text);
}

} // namespace ralvo
