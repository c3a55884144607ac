// Row kernel of the area-average reduction in AVX2, with the same results
// as the portable loops. It makes each target row in one pass over its
// source rows, column by column, so the vertical sums stay in registers.
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

// The source rows of one target row, in walk order, and the means shared
// with the neighbouring target rows.
struct RowInputs {
    const std::uint8_t* const* rows = nullptr;  // count rows (rows[0] unused with openingMeans)
    const double* weights = nullptr;  // each row's vertical weight
    int count = 0;
    // The horizontal means of rows[0], kept from the previous target row.
    const double* openingMeans = nullptr;
    // Where to keep the horizontal means of rows[count - 1] for the next one.
    double* closingMeans = nullptr;
};

// One whole target row, column by column: for each column the horizontal
// means sum / srcW of its source rows, acc = mean0 * w0, acc = acc + mean_k * w_k
// in walk order, and the byte Trunc(acc / srcH + 0.5) clamped to 0 .. 255.
// Means are four doubles per column (blue, green, red, unused).
void reduceRowAvx2(const RowInputs& in, const ColumnGroups& columns, int width, Divisor divisor,
                   double heightDivisor, std::uint8_t* out);

// True when the multiplication form gives exactly sum / divisor for every
// sum 0 .. largest, checked value by value (the processor must have FMA).
bool reciprocalDivisionIsExact(int divisor, int largest);

}  // namespace pelcalc::area
