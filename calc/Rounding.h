#pragma once

// The two roundings of the layout rules, never interchangeable: round() is to
// the nearest integer with halves to the even neighbour (2.5 → 2, 3.5 → 4),
// trunc() drops the fraction towards zero. Both saturate into int, and NaN
// gives the lowest int, so no result is undefined.

#include <cmath>
#include <limits>

namespace ralvo {

namespace detail {
inline int SaturateToInt(double whole)
{
    if (!(whole >= std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min(); // NaN or too small
    if (whole > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    return static_cast<int>(whole);
}
} // namespace detail

// round(): halves to even under the default rounding mode.
inline int RoundHalfEven(double value) { return detail::SaturateToInt(std::nearbyint(value)); }

// trunc(): towards zero.
inline int TruncToInt(double value) { return detail::SaturateToInt(std::trunc(value)); }

} // namespace ralvo
