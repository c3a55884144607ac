// AVX2 form of the bicubic enlargement: four target rows at once, one per
// lane, so every lane runs exactly the scalar sequence of multiplies and adds
// for its own value (no fused multiply-add, no reordering of the sum).
// value * rowWeight depends only on the source value and the row tap, so it
// is computed once per band of four rows instead of once per target column.
#include "BicubicKernels.h"

#include <algorithm>
#include <immintrin.h>

#define PELCALC_AVX2 __attribute__((target("avx2")))

namespace pelcalc::cubic {

namespace {

// weighted[((x * 3 + ch) * 4 + i) * 4 + lane] = value(row tap i of the lane's
// row, column x, channel ch) * rowWeight_i.
PELCALC_AVX2 void weighRows(const Picture& source, const Taps& rows, const int* lanes,
                            double* weighted)
{
    const std::uint8_t* from[4][4];
    __m256d rowWeight[4];
    for (int i = 0; i < 4; ++i) {
        for (int l = 0; l < 4; ++l)
            from[i][l] = source.row(rows.index[4 * lanes[l] + i]);
        rowWeight[i] = _mm256_setr_pd(rows.weight[4 * lanes[0] + i], rows.weight[4 * lanes[1] + i],
                                      rows.weight[4 * lanes[2] + i], rows.weight[4 * lanes[3] + i]);
    }
    const int n = 3 * source.width;
    for (int q = 0; q < n; ++q) {
        for (int i = 0; i < 4; ++i) {
            const __m128i v = _mm_setr_epi32(from[i][0][q], from[i][1][q], from[i][2][q], from[i][3][q]);
            _mm256_storeu_pd(weighted, _mm256_mul_pd(_mm256_cvtepi32_pd(v), rowWeight[i]));
            weighted += 4;
        }
    }
}

// Writes lane l's byte of each packed value to target row lanes[l].
PELCALC_AVX2 void unpackLanes(const std::uint32_t* packed, int n, const Picture& target,
                              const int* lanes, int laneCount)
{
    std::uint8_t* out[4];
    for (int l = 0; l < laneCount; ++l)
        out[l] = target.row(lanes[l]);
    const __m128i transpose = _mm_setr_epi8(0, 4, 8, 12, 1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15);
    int k = 0;
    for (; k + 4 <= n; k += 4) {
        const __m128i v = _mm_shuffle_epi8(
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(packed + k)), transpose);
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

PELCALC_AVX2 void cubicQuadAvx2(const Picture& source, const Taps& rows, const Taps& columns, int r,
                                int lastRow, const Picture& target, QuadScratch& scratch)
{
    const int lanes[4] = {r, std::min(r + 1, lastRow), std::min(r + 2, lastRow),
                          std::min(r + 3, lastRow)};
    double* weighted = scratch.weighted.data();
    weighRows(source, rows, lanes, weighted);

    const __m256d zero = _mm256_setzero_pd();
    const __m256d top = _mm256_set1_pd(255.0);
    const int width = target.width;
    std::uint32_t* packed = scratch.packed.data();
    for (int c = 0; c < width; ++c) {
        const int* ix = columns.index.data() + 4 * c;
        const double* wx = columns.weight.data() + 4 * c;
        const __m256d w0 = _mm256_broadcast_sd(wx), w1 = _mm256_broadcast_sd(wx + 1),
                      w2 = _mm256_broadcast_sd(wx + 2), w3 = _mm256_broadcast_sd(wx + 3);
        const double* p0 = weighted + ix[0] * 48;
        const double* p1 = weighted + ix[1] * 48;
        const double* p2 = weighted + ix[2] * 48;
        const double* p3 = weighted + ix[3] * 48;
        for (int ch = 0; ch < 3; ++ch) {
            const int o = 16 * ch;
            __m256d s = _mm256_mul_pd(_mm256_loadu_pd(p0 + o), w0);
            s = _mm256_add_pd(s, _mm256_mul_pd(_mm256_loadu_pd(p1 + o), w1));
            s = _mm256_add_pd(s, _mm256_mul_pd(_mm256_loadu_pd(p2 + o), w2));
            s = _mm256_add_pd(s, _mm256_mul_pd(_mm256_loadu_pd(p3 + o), w3));
            for (int i = 1; i < 4; ++i) {
                const int oi = o + 4 * i;
                s = _mm256_add_pd(s, _mm256_mul_pd(_mm256_loadu_pd(p0 + oi), w0));
                s = _mm256_add_pd(s, _mm256_mul_pd(_mm256_loadu_pd(p1 + oi), w1));
                s = _mm256_add_pd(s, _mm256_mul_pd(_mm256_loadu_pd(p2 + oi), w2));
                s = _mm256_add_pd(s, _mm256_mul_pd(_mm256_loadu_pd(p3 + oi), w3));
            }
            // max returns its second operand for NaN, so NaN ends as 0.
            s = _mm256_min_pd(_mm256_max_pd(s, zero), top);
            __m128i v = _mm256_cvttpd_epi32(s);
            v = _mm_packs_epi32(v, v);
            v = _mm_packus_epi16(v, v);
            packed[3 * c + ch] = static_cast<std::uint32_t>(_mm_cvtsi128_si32(v));
        }
    }
    unpackLanes(packed, 3 * width, target, lanes, std::min(4, lastRow - r + 1));
}

}  // namespace pelcalc::cubic
