// Row kernels of the area-average reduction, in a portable and an AVX2 form
// with identical results.
#pragma once

#include <cstdint>

namespace pelcalc::area {

// The horizontal taps of every target column in the form the AVX2 kernel
// reads: groups of four source pixels, each group as 16 int16 weights laid
// out for vpmaddwd (w0 w1 w0 w1 w0 w1 0 0 | w2 w3 w2 w3 w2 w3 0 0).
struct ColumnGroups {
    const int* starts = nullptr;  // first source pixel of each target column
    const std::int16_t* weights = nullptr;
    int groups = 0;  // groups per target column
    int count = 0;   // target columns
};

// Integer box sums of one source row: sums[3 t + c] = sum of pixel * weight
// over the taps of target column t, channel c. `sums` has room for one value
// more than 3 * count.
void boxSumsAvx2(const std::uint8_t* row, const ColumnGroups& columns, std::int32_t* sums);

// reduced[i] = sums[i] / divisor, in double.
void divideRowAvx2(const std::int32_t* sums, int n, double divisor, double* reduced);
// acc[i] = reduced[i] * weight (first) or acc[i] + reduced[i] * weight (add).
void scaleRowAvx2(const double* reduced, int n, double weight, double* acc);
void addRowAvx2(const double* reduced, int n, double weight, double* acc);
// out[i] = Trunc(acc[i] / divisor + 0.5), clamped to 0 .. 255.
void finishRowAvx2(const double* acc, int n, double divisor, std::uint8_t* out);

}  // namespace pelcalc::area
