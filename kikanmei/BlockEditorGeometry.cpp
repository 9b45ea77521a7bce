#include "kikanmei/BlockEditorGeometry.h"

#include "calc/Rounding.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace ralvo {

namespace {

constexpr double BlockAspect = 4.3038;  // the block's width over its height
constexpr int MinimumFrameSide = 10;    // pixels; smaller drags are refused
constexpr double MinimumZoneSide = 5.0; // pixels; smaller frames offer no zones
constexpr int HandleReach = 2;          // a handle spans its centre ± 2 pixels

bool Near(QPoint pointer, QPoint centre)
{
    return std::abs(pointer.x() - centre.x()) <= HandleReach && std::abs(pointer.y() - centre.y()) <= HandleReach;
}

} // namespace

BlockEditorLayout BlockEditorLayout::ForClientWidth(int clientWidth)
{
    BlockEditorLayout layout;
    layout.panel2Height = RoundHalfEven(clientWidth / BlockAspect);
    layout.canvasWidth = std::max(0, clientWidth - 2 * BevelInset);
    layout.canvasHeight = std::max(0, layout.panel2Height - 2 * BevelInset);
    layout.speedButtonTop = Panel1Height + layout.panel2Height + 80;
    layout.buttonTop = Panel1Height + layout.panel2Height + 136;
    return layout;
}

std::optional<WakuEdges> EditorCanvas::PixelEdges(const WakuRecord &frame) const
{
    return BlockToPixels::ForCanvas(m_width, m_height).Edges(frame);
}

WakuEdges EditorCanvas::UnitEdges(const WakuEdges &pixels) const
{
    const BlockToPixels map = BlockToPixels::ForCanvas(m_width, m_height);
    return {map.UnitsX(pixels.Left), map.UnitsY(pixels.Top), map.UnitsX(pixels.Right), map.UnitsY(pixels.Bottom)};
}

std::optional<qsizetype> EditorCanvas::FrameAt(const KikanmeiBlock &block, QPoint point) const
{
    const BlockToPixels map = BlockToPixels::ForCanvas(m_width, m_height);
    return WakuFrameAt(block, map.UnitsX(point.x()), map.UnitsY(point.y()));
}

std::optional<std::array<QPoint, 8>> EditorCanvas::Handles(const WakuRecord &frame) const
{
    const std::optional<WakuEdges> units = WakuEdgesInUnits(frame);
    const std::optional<WakuEdges> px = PixelEdges(frame);
    if (!units || !px)
        return std::nullopt;
    // The midpoints come from the units, not from the rounded edges.
    const int xm = RoundHalfEven((double(units->Left) + units->Right) / 20000.0 * m_width);
    const int ym = RoundHalfEven((double(units->Top) + units->Bottom) / 20000.0 * m_height);
    return std::array<QPoint, 8>{QPoint(px->Left, px->Top),     QPoint(px->Right, px->Top),
                                 QPoint(px->Right, px->Bottom), QPoint(px->Left, px->Bottom),
                                 QPoint(xm, px->Top),           QPoint(px->Right, ym),
                                 QPoint(xm, px->Bottom),        QPoint(px->Left, ym)};
}

std::optional<HoverZone> EditorCanvas::HoverZoneAt(const WakuRecord &frame, QPoint pointer) const
{
    const std::optional<WakuEdges> units = WakuEdgesInUnits(frame);
    const auto handles = Handles(frame);
    if (!units || !handles)
        return std::nullopt;
    const double width = (double(units->Right) - units->Left) / 10000.0 * m_width;
    const double height = (double(units->Bottom) - units->Top) / 10000.0 * m_height;
    if (width < MinimumZoneSide || height < MinimumZoneSide)
        return std::nullopt;

    std::optional<HoverZone> zone;
    for (std::size_t i = 0; i < handles->size(); ++i) {
        if (Near(pointer, (*handles)[i]))
            zone = static_cast<HoverZone>(i);
    }
    const WakuEdges px = *PixelEdges(frame);
    if (px.Left + HandleReach <= pointer.x() && pointer.x() <= px.Right - HandleReach
        && px.Top + HandleReach <= pointer.y() && pointer.y() <= px.Bottom - HandleReach)
        zone = HoverZone::Inside;
    return zone;
}

std::optional<WakuRecord> EditorCanvas::FrameFromRubberBand(QPoint press, QPoint last) const
{
    const WakuEdges band = NormalizedRubberBand(press, last);
    if (band.Right - band.Left < MinimumFrameSide && band.Bottom - band.Top < MinimumFrameSide)
        return std::nullopt;
    const WakuEdges units = UnitEdges(band);
    return WakuRecord::WithEdges(units.Left, units.Top, units.Right, units.Bottom);
}

std::optional<WakuEdges> ApplyDragStep(const WakuEdges &pixels, HoverZone zone, QPoint pointer, QPoint last)
{
    WakuEdges e = pixels;
    const int x = pointer.x();
    const int y = pointer.y();
    switch (zone) {
    case HoverZone::TopLeft:
        e.Left = x;
        e.Top = y;
        break;
    case HoverZone::TopRight:
        e.Right = x;
        e.Top = y;
        break;
    case HoverZone::BottomRight:
        e.Right = x;
        e.Bottom = y;
        break;
    case HoverZone::BottomLeft:
        e.Left = x;
        e.Bottom = y;
        break;
    case HoverZone::Top:
        e.Top = y;
        break;
    case HoverZone::Right:
        e.Right = x;
        break;
    case HoverZone::Bottom:
        e.Bottom = y;
        break;
    case HoverZone::Left:
        e.Left = x;
        break;
    case HoverZone::Inside: {
        const int dx = x - last.x();
        const int dy = y - last.y();
        e.Left += dx;
        e.Right += dx;
        e.Top += dy;
        e.Bottom += dy;
        break;
    }
    }
    if (e.Right - e.Left < MinimumFrameSide || e.Bottom - e.Top < MinimumFrameSide)
        return std::nullopt;
    return e;
}

WakuEdges NormalizedRubberBand(QPoint a, QPoint b)
{
    return {std::min(a.x(), b.x()), std::min(a.y(), b.y()), std::max(a.x(), b.x()), std::max(a.y(), b.y())};
}

} // namespace ralvo
