// AVX2 forms of the area-average kernels. The horizontal sums are exact
// integers (byte times integer weight, added up), so computing them in int32
// gives the same values as accumulating them in double; everything after
// that is the same double operation per value as the portable loops, without
// fused multiply-add, except the proven-exact division by multiplication.
#include "AreaAverageKernels.h"

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
    const __m256i spread = _mm256_setr_epi8(
        0, -1, 3, -1, 1, -1, 4, -1, 2, -1, 5, -1, -1, -1, -1, -1,
        6, -1, 9, -1, 7, -1, 10, -1, 8, -1, 11, -1, -1, -1, -1, -1);
    const int n = Groups > 0 ? Groups : groups;
    __m256i acc = _mm256_setzero_si256();
    for (int g = 0; g < n; ++g) {
        const __m256i bytes = _mm256_broadcastsi128_si256(
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 12 * g)));
        const __m256i w = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(weights + 16 * g));
        acc = _mm256_add_epi32(acc, _mm256_madd_epi16(_mm256_shuffle_epi8(bytes, spread), w));
    }
    return _mm_add_epi32(_mm256_castsi256_si128(acc), _mm256_extracti128_si256(acc, 1));
}

template <int Groups, bool ByReciprocal>
PELCALC_AVX2_FMA void accumulate(const std::uint8_t* row, const ColumnGroups& columns, int first,
                                 int end, double divisorValue, double weight, bool start,
                                 double* acc, double* keep)
{
    const __m256d d = _mm256_set1_pd(divisorValue);
    const __m256d y = _mm256_set1_pd(1.0 / divisorValue);
    const __m256d w = _mm256_set1_pd(weight);
    const int stride = 16 * columns.groups;
    for (int t = first; t < end; ++t, acc += 4) {
        const __m128i sums = columnSums<Groups>(row + 3 * columns.starts[t],
                                                columns.weights + static_cast<std::size_t>(t) * stride,
                                                columns.groups);
        const __m256d a = _mm256_cvtepi32_pd(sums);
        const __m256d mean = ByReciprocal ? reciprocalQuotient(a, d, y) : _mm256_div_pd(a, d);
        if (keep != nullptr) {
            _mm256_storeu_pd(keep, mean);
            keep += 4;
        }
        const __m256d product = _mm256_mul_pd(mean, w);
        _mm256_storeu_pd(acc, start ? product : _mm256_add_pd(_mm256_loadu_pd(acc), product));
    }
}

template <int Groups>
void accumulateGroups(const std::uint8_t* row, const ColumnGroups& columns, int first, int end,
                      Divisor divisor, double weight, bool start, double* acc, double* keep)
{
    if (divisor.byReciprocal)
        accumulate<Groups, true>(row, columns, first, end, divisor.value, weight, start, acc, keep);
    else
        accumulate<Groups, false>(row, columns, first, end, divisor.value, weight, start, acc, keep);
}

}  // namespace

void accumulateRowAvx2(const std::uint8_t* row, const ColumnGroups& columns, int first, int end,
                       Divisor divisor, double weight, bool start, double* acc, double* keep)
{
    switch (columns.groups) {
    case 1: accumulateGroups<1>(row, columns, first, end, divisor, weight, start, acc, keep); break;
    case 2: accumulateGroups<2>(row, columns, first, end, divisor, weight, start, acc, keep); break;
    case 3: accumulateGroups<3>(row, columns, first, end, divisor, weight, start, acc, keep); break;
    default: accumulateGroups<0>(row, columns, first, end, divisor, weight, start, acc, keep); break;
    }
}

PELCALC_AVX2 void startFromMeansAvx2(const double* means, int count, double weight, double* acc)
{
    const __m256d w = _mm256_set1_pd(weight);
    for (int i = 0; i < 4 * count; i += 4)
        _mm256_storeu_pd(acc + i, _mm256_mul_pd(_mm256_loadu_pd(means + i), w));
}

PELCALC_AVX2 void finishBlockAvx2(const double* acc, int count, double divisor, bool lastInRow,
                                  std::uint8_t* out)
{
    const __m256d d = _mm256_set1_pd(divisor);
    const __m256d half = _mm256_set1_pd(0.5);
    for (int t = 0; t < count; ++t) {
        const __m128i v = _mm256_cvttpd_epi32(
            _mm256_add_pd(_mm256_div_pd(_mm256_loadu_pd(acc + 4 * t), d), half));
        const __m128i words = _mm_packs_epi32(v, v);
        const std::uint32_t bytes = static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(words, words)));
        // Four bytes at a time; the fourth is the next column's first.
        std::memcpy(out + 3 * t, &bytes, lastInRow && t == count - 1 ? 3 : 4);
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
