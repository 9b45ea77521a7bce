#include "platform/CellFont.h"

#include <QFontMetricsF>
#include <QPaintDevice>

#include <algorithm>

namespace ralvo::platform {

namespace {

// Size at which a face's cell-to-em ratio is measured: large enough that
// the metrics carry no visible rounding.
constexpr int kReferencePixels = 1000;

} // namespace

QFont FontForCellHeight(const QString &face, double cellHeight, const QPaintDevice &device)
{
    QFont font(face);
    font.setStyle(QFont::StyleNormal);
    font.setWeight(QFont::Normal);
    font.setPixelSize(kReferencePixels);
    const double cellPerPixel = QFontMetricsF(font).height() / kReferencePixels;
    const double pixels = cellHeight / (cellPerPixel > 0 ? cellPerPixel : 1.0);
    const int dpi = device.logicalDpiY() > 0 ? device.logicalDpiY() : 72;
    // A point size must be positive; a cell under a hundredth of a unit
    // draws nothing visible either way.
    font.setPointSizeF(std::max(pixels, 0.01) * 72.0 / dpi);
    return font;
}

double CellAscent(const QFont &font, const QPaintDevice &device)
{
    return QFontMetricsF(font, &device).ascent();
}

} // namespace ralvo::platform
