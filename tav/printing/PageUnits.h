// The units the page engine computes in, and its rounding: a value is cut
// toward zero after adding 0.5 where it is rounded.
#pragma once

#include <cmath>
#include <cstdlib>

inline constexpr double kMmPerInch = 25.4;
inline constexpr double kMmPerPoint = 0.3527777;

inline int truncToInt(double value) { return static_cast<int>(std::trunc(value)); }

// The height in dots of a font of `pointSize` points (a negative size counts
// by its absolute value) on a target of dotsPerMm.
inline int FontHeightDots(int pointSize, double dotsPerMm)
{
    return static_cast<int>(std::lround(std::abs(pointSize) * dotsPerMm * kMmPerInch / 72.0));
}
