#include "platform/CellFont.h"

#include <QFontMetricsF>
#include <QPaintDevice>

#include <algorithm>

namespace ralvo::platform {

namespace {

// Size at which a face's measures are taken: large enough that the metrics
// carry no visible rounding.
constexpr int kReferencePixels = 1000;

QFont ReferenceFont(const QString &face)
{
    QFont font(face);
    font.setStyle(QFont::StyleNormal);
    font.setWeight(QFont::Normal);
    font.setPixelSize(kReferencePixels);
    return font;
}

// `font` at `pixels` device units of size on `device`.
QFont AtPixels(QFont font, double pixels, const QPaintDevice &device)
{
    const int dpi = device.logicalDpiY() > 0 ? device.logicalDpiY() : 72;
    // A point size must be positive; a size under a hundredth of a unit
    // draws nothing visible either way.
    font.setPointSizeF(std::max(pixels, 0.01) * 72.0 / dpi);
    return font;
}

// Pixel size of a font from a measure wanted on the device and the same
// measure per pixel of size, taken from the face at the reference size. A
// measure of no length (a face that reports none) counts as one per pixel.
double PixelSizeForMeasure(double wanted, double measurePerPixel)
{
    return wanted / (measurePerPixel > 0 ? measurePerPixel : 1.0);
}

} // namespace

QFont FontForCellHeight(const QString &face, double cellHeight, const QPaintDevice &device)
{
    const QFont font = ReferenceFont(face);
    const double cellPerPixel = QFontMetricsF(font).height() / kReferencePixels;
    return AtPixels(font, PixelSizeForMeasure(cellHeight, cellPerPixel), device);
}

QFont FontForFullWidth(const QString &face, double fullWidth, const QPaintDevice &device)
{
    const QFont font = ReferenceFont(face);
    const double widthPerPixel = QFontMetricsF(font).horizontalAdvance(QChar(0x3000)) / kReferencePixels;
    return AtPixels(font, PixelSizeForMeasure(fullWidth, widthPerPixel), device);
}

double CellAscent(const QFont &font, const QPaintDevice &device) { return QFontMetricsF(font, &device).ascent(); }

} // namespace ralvo::platform
