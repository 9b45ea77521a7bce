#pragma once

// Looking at what a picture drew: pixels named by their plain colour, and
// the bounds of the ink in an area.

#include <QImage>
#include <QRect>

#include <ostream>

namespace ralvo::test {

inline QImage WhiteImage(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// A pixel whose every channel is clearly on or off; Other in between
// (edges, smoothed pixels, text).
enum class Colour { White, Black, Red, Green, Blue, Yellow, Magenta, Cyan, Other };

inline Colour ColourOf(QRgb pixel)
{
    auto on = [](int channel) { return channel > 200 ? 1 : channel < 60 ? 0 : -1; };
    const int r = on(qRed(pixel)), g = on(qGreen(pixel)), b = on(qBlue(pixel));
    if (r < 0 || g < 0 || b < 0)
        return Colour::Other;
    static constexpr Colour kByBits[] = {Colour::Black, Colour::Blue,    Colour::Green,  Colour::Cyan,
                                         Colour::Red,   Colour::Magenta, Colour::Yellow, Colour::White};
    return kByBits[r * 4 + g * 2 + b];
}

inline Colour ColourAt(const QImage &image, QPoint at) { return ColourOf(image.pixel(at)); }

inline void PrintTo(Colour colour, std::ostream *out)
{
    static constexpr const char *kNames[] = {"white",  "black",   "red",  "green", "blue",
                                             "yellow", "magenta", "cyan", "other"};
    *out << kNames[int(colour)];
}

inline bool IsInk(QRgb pixel) { return qRed(pixel) < 160 || qGreen(pixel) < 160 || qBlue(pixel) < 160; }

inline bool IsBlack(QRgb pixel) { return qRed(pixel) < 100 && qGreen(pixel) < 100 && qBlue(pixel) < 100; }

// Bounding box of the pixels inside `area` that `ink` accepts (empty when
// there are none).
inline QRect InkBounds(const QImage &image, const QRect &area, bool (*ink)(QRgb) = IsInk)
{
    QRect box;
    const QRect clipped = area & image.rect();
    for (int y = clipped.top(); y <= clipped.bottom(); ++y)
        for (int x = clipped.left(); x <= clipped.right(); ++x)
            if (ink(image.pixel(x, y)))
                box |= QRect(x, y, 1, 1);
    return box;
}

// Whether all the ink of the image lies inside `area`.
inline bool InkOnlyInside(const QImage &image, const QRect &area)
{
    const QRect ink = InkBounds(image, image.rect());
    return ink.isEmpty() || area.contains(ink);
}

} // namespace ralvo::test
