// Depth changes shared by the colour functions and the writers.
#pragma once

#include "imgkit/DibHandle.h"

namespace imgkit {

class Progress;

// A 24-bit copy of any usable picture.
DibHandle to24Bit(const DibHandle& dib);

// The picture at `bits` (1, 4, 8, 24); see ImgKitConvertColor for the flags.
DibHandle convertColor(const DibHandle& dib, int bits, bool noDither, bool adaptive, Progress* progress);

}  // namespace imgkit
