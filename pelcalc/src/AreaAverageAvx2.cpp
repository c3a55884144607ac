// AVX2 forms of the area-average row kernels. The horizontal sums are exact
// integers (byte times integer weight, added up), so computing them in int32
// gives the same values as accumulating them in double; everything after
// the division is the same double operation per value as the portable loops,
// four values at a time, without fused multiply-add.
#include "AreaAverageKernels.h"

#include <immintrin.h>

#define PELCALC_AVX2 __attribute__((target("avx2")))

namespace pelcalc::area {

namespace {

template <int Groups>
PELCALC_AVX2 inline void boxSumsFixed(const std::uint8_t* row, const ColumnGroups& columns,
                                      int groups, std::int32_t* sums)
{
    // Low lane: pixels 0 and 1 of a group as words b0 b1 g0 g1 r0 r1 0 0;
    // high lane: pixels 2 and 3 the same way.
    const __m256i spread = _mm256_setr_epi8(
        0, -1, 3, -1, 1, -1, 4, -1, 2, -1, 5, -1, -1, -1, -1, -1,
        6, -1, 9, -1, 7, -1, 10, -1, 8, -1, 11, -1, -1, -1, -1, -1);
    const int n = Groups > 0 ? Groups : groups;
    const std::int16_t* weights = columns.weights;
    for (int t = 0; t < columns.count; ++t) {
        const std::uint8_t* p = row + 3 * columns.starts[t];
        __m256i acc = _mm256_setzero_si256();
        for (int g = 0; g < n; ++g) {
            const __m256i bytes = _mm256_broadcastsi128_si256(
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 12 * g)));
            const __m256i words = _mm256_shuffle_epi8(bytes, spread);
            const __m256i w = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(weights));
            acc = _mm256_add_epi32(acc, _mm256_madd_epi16(words, w));
            weights += 16;
        }
        const __m128i sum = _mm_add_epi32(_mm256_castsi256_si128(acc),
                                          _mm256_extracti128_si256(acc, 1));
        // Writes b g r and one spare value that the next column overwrites.
        _mm_storeu_si128(reinterpret_cast<__m128i*>(sums + 3 * t), sum);
    }
}

}  // namespace

PELCALC_AVX2 void boxSumsAvx2(const std::uint8_t* row, const ColumnGroups& columns,
                              std::int32_t* sums)
{
    switch (columns.groups) {
    case 1: boxSumsFixed<1>(row, columns, 1, sums); break;
    case 2: boxSumsFixed<2>(row, columns, 2, sums); break;
    case 3: boxSumsFixed<3>(row, columns, 3, sums); break;
    default: boxSumsFixed<0>(row, columns, columns.groups, sums); break;
    }
}

PELCALC_AVX2 void divideRowAvx2(const std::int32_t* sums, int n, double divisor, double* reduced)
{
    const __m256d d = _mm256_set1_pd(divisor);
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        const __m256d v = _mm256_cvtepi32_pd(_mm_loadu_si128(reinterpret_cast<const __m128i*>(sums + i)));
        _mm256_storeu_pd(reduced + i, _mm256_div_pd(v, d));
    }
    for (; i < n; ++i)
        reduced[i] = static_cast<double>(sums[i]) / divisor;
}

PELCALC_AVX2 void scaleRowAvx2(const double* reduced, int n, double weight, double* acc)
{
    const __m256d w = _mm256_set1_pd(weight);
    int i = 0;
    for (; i + 4 <= n; i += 4)
        _mm256_storeu_pd(acc + i, _mm256_mul_pd(_mm256_loadu_pd(reduced + i), w));
    for (; i < n; ++i)
        acc[i] = reduced[i] * weight;
}

PELCALC_AVX2 void addRowAvx2(const double* reduced, int n, double weight, double* acc)
{
    const __m256d w = _mm256_set1_pd(weight);
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        const __m256d product = _mm256_mul_pd(_mm256_loadu_pd(reduced + i), w);
        _mm256_storeu_pd(acc + i, _mm256_add_pd(_mm256_loadu_pd(acc + i), product));
    }
    for (; i < n; ++i)
        acc[i] = acc[i] + reduced[i] * weight;
}

PELCALC_AVX2 void finishRowAvx2(const double* acc, int n, double divisor, std::uint8_t* out)
{
    const __m256d d = _mm256_set1_pd(divisor);
    const __m256d half = _mm256_set1_pd(0.5);
    int i = 0;
    for (; i + 8 <= n; i += 8) {
        const __m128i a = _mm256_cvttpd_epi32(
            _mm256_add_pd(_mm256_div_pd(_mm256_loadu_pd(acc + i), d), half));
        const __m128i b = _mm256_cvttpd_epi32(
            _mm256_add_pd(_mm256_div_pd(_mm256_loadu_pd(acc + i + 4), d), half));
        const __m128i words = _mm_packs_epi32(a, b);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(words, words));
    }
    for (; i < n; ++i) {
        const int v = static_cast<int>(acc[i] / divisor + 0.5);
        out[i] = static_cast<std::uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
    }
}

}  // namespace pelcalc::area
