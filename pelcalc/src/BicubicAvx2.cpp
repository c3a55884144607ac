// AVX2 form of the bicubic enlargement: four target rows at once, one per
// lane, so every lane runs exactly the scalar sequence of multiplies and adds
// for its own value (no fused multiply-add, no reordering of the sum).
// value * rowWeight depends only on the source value and the row tap, so it
// is computed once per band of four rows instead of once per target column.
#include "pelcalc/src/BicubicKernels.h"

#include <algorithm>
#include <immintrin.h>

#define PELCALC_AVX2 __attribute__((target("avx2")))

namespace pelcalc::cubic {

namespace {

// weighted[((x * 3 + ch) * 4 + i) * 4 + lane] = value(row tap i of the lane's
// row, column x, channel ch) * rowWeight_i.
// Only source columns firstColumn .. endColumn - 1, written from weighted[0].
__attribute__((noinline)) PELCALC_AVX2 void weighRows(const Picture& source, const Taps& rows,
                                                      const int* lanes, int firstColumn, int endColumn,
                                                      double* weighted)
{
    // Four bytes from each lane's row, regrouped value by value: bytes
    // (value 0: lanes 0..3), (value 1: lanes 0..3), ...
    const __m128i byValue = _mm_setr_epi8(0, 4, 8, 12, 1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15);
    const int n = 3 * (endColumn - firstColumn);
    for (int i = 0; i < 4; ++i) {
        const std::uint8_t* from[4];
        for (int l = 0; l < 4; ++l)
            from[l] = source.row(rows.index[4 * lanes[l] + i]) + 3 * firstColumn;
        const __m256d rowWeight =
            _mm256_setr_pd(rows.weight[4 * lanes[0] + i], rows.weight[4 * lanes[1] + i],
                           rows.weight[4 * lanes[2] + i], rows.weight[4 * lanes[3] + i]);
        double* to = weighted + 4 * i;
        int q = 0;
        for (; q + 4 <= n; q += 4) {
            std::uint32_t word[4];
            for (int l = 0; l < 4; ++l)
                __builtin_memcpy(&word[l], from[l] + q, 4);
            const __m128i values =
                _mm_shuffle_epi8(_mm_setr_epi32(static_cast<int>(word[0]), static_cast<int>(word[1]),
                                                static_cast<int>(word[2]), static_cast<int>(word[3])),
                                 byValue);
            const __m128i v1 = _mm_srli_si128(values, 4), v2 = _mm_srli_si128(values, 8),
                          v3 = _mm_srli_si128(values, 12);
            _mm256_storeu_pd(to + 16 * q,
                             _mm256_mul_pd(_mm256_cvtepi32_pd(_mm_cvtepu8_epi32(values)), rowWeight));
            _mm256_storeu_pd(to + 16 * (q + 1),
                             _mm256_mul_pd(_mm256_cvtepi32_pd(_mm_cvtepu8_epi32(v1)), rowWeight));
            _mm256_storeu_pd(to + 16 * (q + 2),
                             _mm256_mul_pd(_mm256_cvtepi32_pd(_mm_cvtepu8_epi32(v2)), rowWeight));
            _mm256_storeu_pd(to + 16 * (q + 3),
                             _mm256_mul_pd(_mm256_cvtepi32_pd(_mm_cvtepu8_epi32(v3)), rowWeight));
        }
        for (; q < n; ++q) {
            const __m128i v = _mm_setr_epi32(from[0][q], from[1][q], from[2][q], from[3][q]);
            _mm256_storeu_pd(to + 16 * q, _mm256_mul_pd(_mm256_cvtepi32_pd(v), rowWeight));
        }
    }
}

// Writes lane l's byte of each packed value to target row lanes[l].
__attribute__((noinline)) PELCALC_AVX2 void
unpackLanes(const std::uint32_t* packed, int n, const Picture& target, const int* lanes, int laneCount)
{
    std::uint8_t* out[4];
    for (int l = 0; l < laneCount; ++l)
        out[l] = target.row(lanes[l]);
    const __m128i transpose = _mm_setr_epi8(0, 4, 8, 12, 1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15);
    int k = 0;
    for (; k + 4 <= n; k += 4) {
        const __m128i v =
            _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(packed + k)), transpose);
        alignas(16) std::uint32_t byLane[4];
        _mm_store_si128(reinterpret_cast<__m128i*>(byLane), v);
        for (int l = 0; l < laneCount; ++l)
            __builtin_memcpy(out[l] + k, &byLane[l], 4);
    }
    for (; k < n; ++k)
        for (int l = 0; l < laneCount; ++l)
            out[l][k] = static_cast<std::uint8_t>(packed[k] >> (8 * l));
}

}  // namespace

namespace {

// The four column weights of one target column, and where its taps start in
// the weighted values.
struct ColumnTaps {
    __m256d w[4];
    const double* p[4];
};

PELCALC_AVX2 inline ColumnTaps columnTaps(const Taps& columns, int c, int firstColumn, const double* weighted)
{
    ColumnTaps taps;
#pragma GCC unroll 4
    for (int j = 0; j < 4; ++j) {
        taps.w[j] = _mm256_broadcast_sd(&columns.weight[4 * c + j]);
        taps.p[j] = weighted + (columns.index[4 * c + j] - firstColumn) * 48;
    }
    return taps;
}

// One step of the sum for the three channels of a column: tap row i, tap column j.
PELCALC_AVX2 inline void addTap(const ColumnTaps& t, int i, int j, __m256d* s)
{
#pragma GCC unroll 3
    for (int ch = 0; ch < 3; ++ch) {
        const __m256d product = _mm256_mul_pd(_mm256_loadu_pd(t.p[j] + 16 * ch + 4 * i), t.w[j]);
        s[ch] = (i == 0 && j == 0) ? product : _mm256_add_pd(s[ch], product);
    }
}

// Clamped to 0 .. 255 (max returns its second operand for NaN, so NaN ends as
// 0) and truncated.
PELCALC_AVX2 inline __m128i toInt(__m256d s)
{
    const __m256d clamped = _mm256_min_pd(_mm256_max_pd(s, _mm256_setzero_pd()), _mm256_set1_pd(255.0));
    return _mm256_cvttpd_epi32(clamped);
}

}  // namespace

namespace {

// Target columns per chunk: the weighted values of the source columns they
// read (about a quarter as many at a fourfold enlargement) stay in the
// first-level cache.
constexpr int kChunk = 128;

void sumChunk(const Taps& columns, int c0, int c1, int firstColumn, const double* weighted,
              std::uint32_t* packed);

}  // namespace

PELCALC_AVX2 void cubicQuadAvx2(const Picture& source, const Taps& rows, const Taps& columns, int r,
                                int lastRow, const Picture& target, QuadScratch& scratch)
{
    const int lanes[4] = {r, std::min(r + 1, lastRow), std::min(r + 2, lastRow), std::min(r + 3, lastRow)};
    const int width = target.width;
    std::uint32_t* packed = scratch.packed.data();
    for (int c0 = 0; c0 < width; c0 += kChunk) {
        const int c1 = std::min(c0 + kChunk, width);
        // The source columns this chunk's taps read (tap indices never fall
        // as the column grows).
        const int firstColumn = columns.index[4 * c0];
        const int endColumn = columns.index[4 * (c1 - 1) + 3] + 1;
        weighRows(source, rows, lanes, firstColumn, endColumn, scratch.weighted.data());
        sumChunk(columns, c0, c1, firstColumn, scratch.weighted.data(), packed);
    }
    unpackLanes(packed, 3 * width, target, lanes, std::min(4, lastRow - r + 1));
}

namespace {

// Sums of target columns c0 .. c1 - 1 from the values weighted for source
// columns from firstColumn on.
PELCALC_AVX2 void sumChunk(const Taps& columns, int c0, int c1, int firstColumn, const double* weighted,
                           std::uint32_t* packed)
{
    int c = c0;
    // Two columns at a time: six independent sums hide the latency of each
    // sum's chain of additions, which must stay in order. The empty asm
    // statement after each step keeps the compiler from scheduling the six
    // chains one after another, which would leave the multipliers idle while
    // each chain waits on its own additions.
    for (; c + 2 <= c1; c += 2) {
        const ColumnTaps a = columnTaps(columns, c, firstColumn, weighted);
        const ColumnTaps b = columnTaps(columns, c + 1, firstColumn, weighted);
        __m256d sa[3], sb[3];
#pragma GCC unroll 4
        for (int i = 0; i < 4; ++i)
#pragma GCC unroll 4
            for (int j = 0; j < 4; ++j) {
                addTap(a, i, j, sa);
                addTap(b, i, j, sb);
                asm("" : "+x"(sa[0]), "+x"(sa[1]), "+x"(sa[2]), "+x"(sb[0]), "+x"(sb[1]), "+x"(sb[2]));
            }
        const __m128i first = _mm_packus_epi16(_mm_packs_epi32(toInt(sa[0]), toInt(sa[1])),
                                               _mm_packs_epi32(toInt(sa[2]), toInt(sb[0])));
        const __m128i rest = _mm_packs_epi32(toInt(sb[1]), toInt(sb[2]));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(packed + 3 * c), first);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(packed + 3 * c + 4), _mm_packus_epi16(rest, rest));
    }
    for (; c < c1; ++c) {
        const ColumnTaps a = columnTaps(columns, c, firstColumn, weighted);
        __m256d sa[3];
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j < 4; ++j)
                addTap(a, i, j, sa);
        const __m128i v = _mm_packus_epi16(_mm_packs_epi32(toInt(sa[0]), toInt(sa[1])),
                                           _mm_packs_epi32(toInt(sa[2]), toInt(sa[2])));
        alignas(16) std::uint32_t values[4];
        _mm_store_si128(reinterpret_cast<__m128i*>(values), v);
        for (int ch = 0; ch < 3; ++ch)
            packed[3 * c + ch] = values[ch];
    }
}

}  // namespace

}  // namespace pelcalc::cubic
