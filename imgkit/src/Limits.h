// Bounds for every picture the library makes or decodes, so that a lying
// header can never make it allocate without limit.
#pragma once

#include <cstdint>

namespace imgkit {

constexpr int kMaxSide = 65535;
constexpr std::int64_t kMaxPixels = 100'000'000;  // 300 MB at 24 bits

inline bool sizeAllowed(std::int64_t width, std::int64_t height)
{
    return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide && width * height <= kMaxPixels;
}

}  // namespace imgkit
