// Row kernels of the bicubic enlargement, in a portable and an AVX2 form with
// identical results.
#pragma once

#include "pelcalc/src/AlignedBuffer.h"
#include "pelcalc/src/Dib.h"

#include <cstdint>
#include <vector>

namespace pelcalc::cubic {

// Four taps per target index: the source indices to read (inside the
// picture) and their weights.
struct Taps {
    std::vector<int> index;
    std::vector<double> weight;
};

Taps cubicTaps(int sourceCount, int targetCount);

// Target row r: sum over row taps i, column taps j of
// (value * rowWeight_i) * columnWeight_j, clamped to 0 .. 255 and truncated.
void cubicRowPortable(const Picture& source, const Taps& rows, const Taps& columns, int r, std::uint8_t* out);

// Scratch of the AVX2 kernel, allocated once per band.
struct QuadScratch {
    explicit QuadScratch(int sourceWidth, int targetWidth);
    AlignedDoubles weighted;  // (value * rowWeight) per source value, tap and lane
    std::vector<std::uint32_t> packed;  // one byte per lane for each target value
};

// Target rows r .. r + 3 at once, one row per lane (rows past lastRow repeat
// it and are not written).
void cubicQuadAvx2(const Picture& source, const Taps& rows, const Taps& columns, int r, int lastRow,
                   const Picture& target, QuadScratch& scratch);

}  // namespace pelcalc::cubic
