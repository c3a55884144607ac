// Colour reduction of 24-bit pictures to a palette: an adaptive palette by
// median cut, or a fixed one, and mapping with or without error diffusion.
#pragma once

#include "imgkit/DibHandle.h"

#include <vector>

namespace imgkit {

class Progress;

// Up to `colours` colours that represent the picture: every colour when it
// has no more, otherwise a median cut of its colour histogram that keeps
// pure white and pure black exact when the picture has them.
std::vector<Bgr> adaptivePalette(const DibHandle& picture24, int colours);

// The fixed palettes: 16 display colours, or a 6x6x6 cube with 40 greys.
std::vector<Bgr> fixedPalette(int colours);

// A new `bitCount` (1, 4, 8) picture of `picture24` mapped onto `palette`,
// with Floyd-Steinberg error diffusion when `dither`. Empty when cancelled.
DibHandle mapToPalette(const DibHandle& picture24, const std::vector<Bgr>& palette, int bitCount, bool dither,
                       Progress* progress);

}  // namespace imgkit
