#pragma once

// Fonts sized by their character cell. The page and the institution block
// give a font height as the height of the whole character cell (ascent plus
// descent, internal leading included) in device units, and place a text by
// the top-left corner of its first cell. Qt sizes fonts by their em and
// places text by its baseline; these helpers convert, per face and per
// paint device.

#include <QFont>
#include <QString>

class QPaintDevice;

namespace ralvo::platform {

// The regular font of `face` whose cell on `device` is `cellHeight` device
// units high. The size is fractional (a point size at the device's
// resolution), so the cell matches closely at any size.
QFont FontForCellHeight(const QString &face, double cellHeight, const QPaintDevice &device);

// The regular font of `face` whose full-width characters (measured on the
// full-width blank) are `fullWidth` device units wide on `device`. In a face
// whose full-width characters are one em wide and whose cell has no internal
// leading this is the font of that cell height; in a face whose cell
// includes leading (the IPA faces: about 1.08 of the em) it is larger, and
// its cell is taller than `fullWidth`.
QFont FontForFullWidth(const QString &face, double fullWidth, const QPaintDevice &device);

// Distance from the top of a cell to the baseline of `font` on `device`.
double CellAscent(const QFont &font, const QPaintDevice &device);

} // namespace ralvo::platform
