#pragma once

// The drawing steps the printed pages share: fonts placed by the top of
// their character cell, inks that turn black when the settings print in
// black, outlines and lines with the pages' pens.

#include "platform/Colour.h"

#include <QColor>
#include <QFont>
#include <QLine>
#include <QPoint>
#include <QString>

class QPaintDevice;
class QPainter;

namespace ralvo {

// A font of the page with its baseline offset. The pages' grids take a
// full-width character to be as wide as the text's cell height, as in faces
// without internal leading; the font is sized so that this holds for the
// face installed, and the text is placed by the top of its cell (in the IPA
// faces the em box begins at the cell's top, the leading lies below the
// descent).
struct CellFont
{
    QFont font;
    double ascent = 0;
};

CellFont MakeCellFont(const QString &face, int cellHeight, const QPaintDevice &device);

class PagePainter
{
public:
    PagePainter(QPainter &painter, bool colour) : m_painter(painter), m_colour(colour) {}

    // The colour of a text or line: as set, or black when printing in black.
    QColor Ink(Colour c) const;

    void SetPen(const QColor &colour, int width, Qt::PenStyle style = Qt::SolidLine);

    // An outline from (l, t) to (r, b), its right and bottom strokes just
    // inside r and b (a sheet outline of PW × PH stays on the sheet).
    void Outline(QPoint topLeft, QPoint bottomRight);

    void Line(const QLine &line);

    void Text(const CellFont &font, QColor colour, QPoint cellTopLeft, const QString &text);

private:
    QPainter &m_painter;
    bool m_colour;
};

} // namespace ralvo
