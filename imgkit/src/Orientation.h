// Standing a picture upright as its EXIF orientation (1 to 8) asks.
#pragma once

#include "imgkit/DibHandle.h"

namespace imgkit {

// A copy turned and mirrored so that a picture stored with `orientation`
// stands upright; the same picture for 1 or a value out of range. Depth,
// colour table and masks are kept; the resolution follows a quarter turn.
DibHandle orientUpright(const DibHandle& dib, int orientation);

}  // namespace imgkit
