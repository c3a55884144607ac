// The resampling arithmetic written out as plainly as it reads, one value at
// a time, as the yardstick the library must match byte for byte.
#pragma once

#include "pelcalc/tests/TestPictures.h"

namespace pelcalc_test {

Pixels referenceNearest(const Pixels& source, int width, int height);
Pixels referenceAreaAverage(const Pixels& source, int width, int height);
Pixels referenceBicubic(const Pixels& source, int width, int height);

}  // namespace pelcalc_test
