// Row kernels of the area-average reduction in AVX2, with the same results
// as the portable loops. They work on blocks of target columns so that the
// accumulators of a block stay in the first-level cache while every source
// row of a target row is added in; each target column takes four doubles
// (blue, green, red and one unused lane).
#pragma once

#include <cstdint>

namespace pelcalc::area {

// The horizontal taps of every target column in the form the kernel reads:
// groups of four source pixels, each group as 16 int16 weights laid out for
// vpmaddwd (w0 w1 w0 w1 w0 w1 0 0 | w2 w3 w2 w3 w2 w3 0 0).
struct ColumnGroups {
    const int* starts = nullptr;  // first source pixel of each target column
    const std::int16_t* weights = nullptr;
    int groups = 0;  // groups per target column
};

// How the horizontal sums become means: by division, or by the proven-exact
// multiplication (see reciprocalDivisionIsExact).
struct Divisor {
    double value;
    bool byReciprocal;
};

// For target columns first .. end - 1 of one source row: the horizontal
// means sum / srcW, multiplied by `weight` and stored into acc (start) or
// added to it; the means themselves are also stored in `keep` when not null.
// acc and keep are indexed from the block's first column.
void accumulateRowAvx2(const std::uint8_t* row, const ColumnGroups& columns, int first, int end,
                       Divisor divisor, double weight, bool start, double* acc, double* keep);

// acc = means * weight, from means kept by accumulateRowAvx2.
void startFromMeansAvx2(const double* means, int count, double weight, double* acc);

// out[3 t + c] = Trunc(acc / divisor + 0.5) clamped to 0 .. 255, for the
// block's `count` columns; `lastInRow` says the block ends the row (its last
// column is then written without touching the byte after it).
void finishBlockAvx2(const double* acc, int count, double divisor, bool lastInRow, std::uint8_t* out);

// True when the multiplication form gives exactly sum / divisor for every
// sum 0 .. largest, checked value by value (the processor must have FMA).
bool reciprocalDivisionIsExact(int divisor, int largest);

}  // namespace pelcalc::area
