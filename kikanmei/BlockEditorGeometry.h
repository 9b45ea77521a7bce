#pragma once

// Pure arithmetic of the institution block editor: its layout, the frame
// under a point, the hover zones of the selected frame, the steps of moving
// and resizing a frame, and the rubber band that inserts a new one. All
// positions are canvas pixels; the canvas is W × H pixels and shows the
// whole block.

#include "kikanmei/KikanmeiBlock.h"
#include "kikanmei/WakuGeometry.h"

#include <QPoint>

#include <array>
#include <optional>

namespace ralvo {

// Where the editor's parts go for a given client width.
struct BlockEditorLayout
{
    static constexpr int Panel1Height = 73;
    static constexpr int BevelInset = 2; // the canvas lies inside two lowered bevels

    int panel2Height = 0;   // round(width / 4.3038)
    int canvasWidth = 0;    // W: Panel2 width − 4
    int canvasHeight = 0;   // H: Panel2 height − 4
    int speedButtonTop = 0; // Panel1 height + Panel2 height + 80
    int buttonTop = 0;      // Panel1 height + Panel2 height + 136

    static BlockEditorLayout ForClientWidth(int clientWidth);
};

// The hover zones of the selected frame, in the order of its handles: the
// corners, the edge midpoints, then the inside.
enum class HoverZone {
    TopLeft,
    TopRight,
    BottomRight,
    BottomLeft,
    Top,
    Right,
    Bottom,
    Left,
    Inside,
};

// The canvas: W × H pixels showing the block.
class EditorCanvas
{
public:
    EditorCanvas(int width, int height) : m_width(width), m_height(height) {}

    int Width() const { return m_width; }
    int Height() const { return m_height; }

    // Frame edges in rounded pixels; empty when an edge is not an integer.
    std::optional<WakuEdges> PixelEdges(const WakuRecord &frame) const;
    // Pixel edges back into block units, each rounded.
    WakuEdges UnitEdges(const WakuEdges &pixels) const;

    // The last frame whose edges (included) hold the point, converted to
    // block units first; empty when none does. Frames whose edges cannot be
    // read are skipped.
    std::optional<qsizetype> FrameAt(const KikanmeiBlock &block, QPoint point) const;

    // The eight handle centres of a frame: corners (L,T), (R,T), (R,B), (L,B),
    // then the edge midpoints (xm,T), (R,ym), (xm,B), (L,ym).
    std::optional<std::array<QPoint, 8>> Handles(const WakuRecord &frame) const;

    // The hover zone of the selected frame under the pointer (a handle in
    // the order above, or the inside), the last matching test winning. Empty when nothing matches, when the frame is narrower or
    // lower than 5 pixels (unrounded) or when its edges cannot be read.
    std::optional<HoverZone> HoverZoneAt(const WakuRecord &frame, QPoint pointer) const;

    // A new frame from the rubber band between the press point and the last
    // point it was drawn to: empty when it is less than 10 pixels both wide
    // and high. The edges are normalised; the other six fields are empty.
    std::optional<WakuRecord> FrameFromRubberBand(QPoint press, QPoint last) const;

private:
    int m_width;
    int m_height;
};

// One step of a move or resize: the dragged edges (pixels) after applying
// `zone` with the pointer at `pointer` (the last accepted point `last`
// matters only for the inside, which moves the whole frame). Empty when the
// step is refused because the frame would be narrower or lower than 10
// pixels. There is no clamping to the canvas.
std::optional<WakuEdges> ApplyDragStep(const WakuEdges &pixels, HoverZone zone, QPoint pointer, QPoint last);

// The rubber band between two points with its edges ordered: left ≤ right,
// top ≤ bottom.
WakuEdges NormalizedRubberBand(QPoint a, QPoint b);

} // namespace ralvo
