#pragma once

#include <QColor>
#include <cstdint>

namespace ralvo {

// A colour as the store and every record keep it: 0x00BBGGRR, red in the
// lowest byte (0x0000FF is red, 0xFF0000 blue).
using Colour = std::uint32_t;

constexpr Colour MakeColour(int red, int green, int blue)
{
    return static_cast<Colour>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}

inline QColor ToQColor(Colour c) { return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)); }

inline Colour FromQColor(const QColor &c) { return MakeColour(c.red(), c.green(), c.blue()); }

} // namespace ralvo
