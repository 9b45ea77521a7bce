#pragma once

// Pure arithmetic of the institution block frames: integer fields, the
// mapping between block units and a target's pixels, fitting a text into its
// frame, the placement of each character and of a picture.

#include "kikanmei/KikanmeiBlock.h"

#include <QRect>
#include <QString>

#include <optional>
#include <vector>

namespace ralvo {

// A stored integer field: decimal with an optional sign, 32-bit; an empty
// text or any other character is a failure.
std::optional<int> ParseWakuInteger(const QString &text);

// The four edges of a frame, in block units or in pixels.
struct WakuEdges
{
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    friend bool operator==(const WakuEdges &, const WakuEdges &) = default;
};

// The frame's stored edges; empty when one of them is not an integer.
std::optional<WakuEdges> WakuEdgesInUnits(const WakuRecord &frame);

// The frame a point at block units (xu, yu) selects: the last one whose
// stored edges contain it, edges included. Frames whose edges are not
// integers are passed over.
std::optional<qsizetype> WakuFrameAt(const KikanmeiBlock &block, int xu, int yu);

// Maps block units (x in 1/10000 of the block's width, y in 1/10000 of its
// height) to a target's pixels: the block's top-left corner lies at
// (originX, originY) and it is width × height pixels large. Pixels are
// round(origin + units / 10000 × size), halves to even.
class BlockToPixels
{
public:
    BlockToPixels(double originX, double originY, double width, double height)
        : m_originX(originX), m_originY(originY), m_width(width), m_height(height)
    {}
    // The editor's canvas of W × H pixels, block at (0, 0).
    static BlockToPixels ForCanvas(int width, int height) { return {0, 0, double(width), double(height)}; }

    double Width() const { return m_width; }
    double Height() const { return m_height; }

    int X(int units) const;
    int Y(int units) const;
    WakuEdges Edges(const WakuEdges &units) const;
    // Empty when an edge is not an integer.
    std::optional<WakuEdges> Edges(const WakuRecord &frame) const;

    // Back from pixels: round((px − origin) / size × 10000); 0 when the size is 0.
    int UnitsX(int px) const;
    int UnitsY(int py) const;

    // em = FontHeight / 10000 × width, gap = CharGap / 10000 × height, unrounded.
    double Em(int fontHeight) const { return fontHeight / 10000.0 * m_width; }
    double Gap(int charGap) const { return charGap / 10000.0 * m_height; }

private:
    double m_originX;
    double m_originY;
    double m_width;
    double m_height;
};

// Character (n) and byte (u) counts of a text in code page 932, and the byte
// width (1 or 2) of each character in order.
struct WakuTextMeasure
{
    QString normalized;         // the text with JIS code points mapped to CP932's
    std::vector<QString> chars; // one entry per character (a surrogate pair is one)
    std::vector<int> widths;    // its bytes: 1 half-width, 2 full-width
    int n = 0;
    int u = 0;
};
WakuTextMeasure MeasureWakuText(const QString &text);

// Recomputes FontHeight and CharGap of a text frame ("L" or "P") so that its
// Content fills the frame, on the editor's canvas of W × H pixels. Leaves the
// frame unchanged when it holds no text, is not a text frame, has edges that
// are not integers, or the canvas is empty.
void FitWakuText(WakuRecord &frame, int canvasWidth, int canvasHeight);

// Offset of each character along the line: round(em × 0.5 × b + gap × c),
// b the bytes and c the characters before it.
std::vector<int> WakuCharacterOffsets(const WakuTextMeasure &text, double em, double gap);

// Where a picture of pw × ph goes in a frame with pixel edges L, T, R, B:
// "F" keeps the aspect ratio (flush right when the frame is relatively wider,
// else flush top), "V" fills the inner rectangle (L + 1, T + 1)–(R − 1, B − 1).
// Empty when the inner area or the picture has no width or height, or the
// kind is neither.
std::optional<QRect> WakuPictureDestination(const QString &kind, const WakuEdges &pixels, double pictureWidth,
                                            double pictureHeight);

// Face name as a font request carries it: at most 31 CP932 bytes with the "@"
// of vertical text counted, cut at a character boundary.
QString WakuRequestFaceName(const QString &fontName, bool vertical);

} // namespace ralvo
