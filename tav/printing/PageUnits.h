// The units the page engine computes in, and its rounding: a value is cut
// toward zero after adding 0.5 where it is rounded.
#pragma once

#include <cmath>

inline constexpr double kMmPerInch = 25.4;
inline constexpr double kMmPerPoint = 0.3527777;

inline int truncToInt(double value) { return static_cast<int>(std::trunc(value)); }
