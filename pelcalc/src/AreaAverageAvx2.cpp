// AVX2 forms of the area-average kernels. The horizontal sums are exact
// integers (byte times integer weight, added up), so computing them in int32
// gives the same values as accumulating them in double; everything after
// that is the same double operation per value as the portable loops, without
// fused multiply-add, except the proven-exact division by multiplication.
#include "pelcalc/src/AreaAverageKernels.h"

#include <immintrin.h>

#include <cstring>

#define PELCALC_AVX2 __attribute__((target("avx2")))
#define PELCALC_AVX2_FMA __attribute__((target("avx2,fma")))

namespace pelcalc::area {

namespace {

// q = a * y, then corrected by the exact remainder a - q * divisor.
PELCALC_AVX2_FMA inline __m256d reciprocalQuotient(__m256d a, __m256d divisor, __m256d reciprocal)
{
    const __m256d q = _mm256_mul_pd(a, reciprocal);
    const __m256d remainder = _mm256_fnmadd_pd(q, divisor, a);
    return _mm256_fmadd_pd(remainder, reciprocal, q);
}

// The horizontal sums of one target column as four int32 (b, g, r, 0).
template <int Groups>
PELCALC_AVX2 inline __m128i columnSums(const std::uint8_t* p, const std::int16_t* weights, int groups)
{
    // Low lane: pixels 0 and 1 of a group as words b0 b1 g0 g1 r0 r1 0 0;
    // high lane: pixels 2 and 3 the same way.
    const __m256i spread = _mm256_setr_epi8(0, -1, 3, -1, 1, -1, 4, -1, 2, -1, 5, -1, -1, -1, -1, -1, 6, -1,
                                            9, -1, 7, -1, 10, -1, 8, -1, 11, -1, -1, -1, -1, -1);
    const int n = Groups > 0 ? Groups : groups;
    __m256i acc = _mm256_setzero_si256();
    for (int g = 0; g < n; ++g) {
        const __m256i bytes =
            _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 12 * g)));
        const __m256i w = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(weights + 16 * g));
        acc = _mm256_add_epi32(acc, _mm256_madd_epi16(_mm256_shuffle_epi8(bytes, spread), w));
    }
    return _mm_add_epi32(_mm256_castsi256_si128(acc), _mm256_extracti128_si256(acc, 1));
}

template <int Groups, bool ByReciprocal>
PELCALC_AVX2_FMA inline __m256d columnMean(const std::uint8_t* row, const std::int16_t* weights, int groups,
                                           __m256d d, __m256d y)
{
    const __m256d a = _mm256_cvtepi32_pd(columnSums<Groups>(row, weights, groups));
    return ByReciprocal ? reciprocalQuotient(a, d, y) : _mm256_div_pd(a, d);
}

// The byte Trunc(acc / h + 0.5) of each channel, clamped to 0 .. 255.
PELCALC_AVX2 inline void finishColumn(__m256d acc, __m256d h, __m256d half, std::uint8_t* out, bool lastInRow)
{
    const __m128i v = _mm256_cvttpd_epi32(_mm256_add_pd(_mm256_div_pd(acc, h), half));
    const __m128i words = _mm_packs_epi32(v, v);
    const auto bytes = static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(words, words)));
    // Four bytes at a time; the fourth is the next column's first.
    std::memcpy(out, &bytes, lastInRow ? 3 : 4);
}

// How far ahead of the columns being reduced their source rows are fetched.
constexpr std::size_t kPrefetchAhead = 1024;

// Columns t .. t + N - 1 of a target row together, so that the long chains of
// their means overlap.
template <int Groups, bool ByReciprocal, int N>
PELCALC_AVX2_FMA inline void reduceColumns(const RowInputs& in, const ColumnGroups& columns, int t, int width,
                                           __m256d d, __m256d y, __m256d h, std::uint8_t* out)
{
    const std::size_t stride = 16 * static_cast<std::size_t>(columns.groups);
    const std::int16_t* weights[N];
    std::size_t at[N];
    __m256d mean[N], acc[N];
    for (int n = 0; n < N; ++n) {
        weights[n] = columns.weights + (t + n) * stride;
        at[n] = 3 * static_cast<std::size_t>(columns.starts[t + n]);
    }
    for (int n = 0; n < N; ++n) {
        mean[n] =
            in.openingMeans != nullptr
                ? _mm256_load_pd(in.openingMeans + 4 * (t + n))
                : columnMean<Groups, ByReciprocal>(in.rows[0] + at[n], weights[n], columns.groups, d, y);
        acc[n] = _mm256_mul_pd(mean[n], _mm256_set1_pd(in.weights[0]));
    }
    for (int k = 1; k < in.count; ++k) {
        const __m256d w = _mm256_set1_pd(in.weights[k]);
        // Several rows are read at once, which the hardware prefetcher
        // follows less well than one.
        // The address may lie past the picture: a prefetch never faults, and
        // it is formed as a number, not as a pointer past the row.
        if (N > 1)
            _mm_prefetch(reinterpret_cast<const char*>(reinterpret_cast<std::uintptr_t>(in.rows[k]) + at[0] +
                                                       kPrefetchAhead),
                         _MM_HINT_T0);
        for (int n = 0; n < N; ++n) {
            mean[n] = columnMean<Groups, ByReciprocal>(in.rows[k] + at[n], weights[n], columns.groups, d, y);
            acc[n] = _mm256_add_pd(acc[n], _mm256_mul_pd(mean[n], w));
        }
    }
    const __m256d half = _mm256_set1_pd(0.5);
    for (int n = 0; n < N; ++n) {
        if (in.closingMeans != nullptr)
            _mm256_store_pd(in.closingMeans + 4 * (t + n), mean[n]);
        finishColumn(acc[n], h, half, out + 3 * (t + n), t + n == width - 1);
    }
}

template <int Groups, bool ByReciprocal>
PELCALC_AVX2_FMA void reduceRow(const RowInputs& in, const ColumnGroups& columns, int width,
                                double divisorValue, double heightDivisor, std::uint8_t* out)
{
    const __m256d d = _mm256_set1_pd(divisorValue);
    const __m256d y = _mm256_set1_pd(1.0 / divisorValue);
    const __m256d h = _mm256_set1_pd(heightDivisor);
    // Four columns of single-group taps at a time; wider taps need more
    // registers per column.
    constexpr int kColumns = Groups == 1 ? 4 : 2;
    int t = 0;
    for (; t + kColumns <= width; t += kColumns)
        reduceColumns<Groups, ByReciprocal, kColumns>(in, columns, t, width, d, y, h, out);
    for (; t < width; ++t)
        reduceColumns<Groups, ByReciprocal, 1>(in, columns, t, width, d, y, h, out);
}

template <int Groups>
void reduceRowGroups(const RowInputs& in, const ColumnGroups& columns, int width, Divisor divisor,
                     double heightDivisor, std::uint8_t* out)
{
    if (divisor.byReciprocal)
        reduceRow<Groups, true>(in, columns, width, divisor.value, heightDivisor, out);
    else
        reduceRow<Groups, false>(in, columns, width, divisor.value, heightDivisor, out);
}

}  // namespace

void reduceRowAvx2(const RowInputs& in, const ColumnGroups& columns, int width, Divisor divisor,
                   double heightDivisor, std::uint8_t* out)
{
    switch (columns.groups) {
    case 1: reduceRowGroups<1>(in, columns, width, divisor, heightDivisor, out); break;
    case 2: reduceRowGroups<2>(in, columns, width, divisor, heightDivisor, out); break;
    case 3: reduceRowGroups<3>(in, columns, width, divisor, heightDivisor, out); break;
    default: reduceRowGroups<0>(in, columns, width, divisor, heightDivisor, out); break;
    }
}

PELCALC_AVX2_FMA bool reciprocalDivisionIsExact(int divisor, int largest)
{
    const __m256d d = _mm256_set1_pd(divisor);
    const __m256d y = _mm256_set1_pd(1.0 / divisor);
    const __m256d step = _mm256_set1_pd(4.0);
    __m256d a = _mm256_setr_pd(0, 1, 2, 3);
    __m256d wrong = _mm256_setzero_pd();
    for (int i = 0; i <= largest; i += 4) {
        const __m256d fast = reciprocalQuotient(a, d, y);
        wrong = _mm256_or_pd(wrong, _mm256_cmp_pd(fast, _mm256_div_pd(a, d), _CMP_NEQ_UQ));
        a = _mm256_add_pd(a, step);
    }
    return _mm256_movemask_pd(wrong) == 0;
}

}  // namespace pelcalc::area
