// Area-average reduction (operation 11): an exact box filter with integer
// weights. Along one axis each target pixel covers srcN units and each source
// pixel dstN units; walking the source, a pixel that fits adds
// value * dstN, the pixel that reaches the end of a target pixel adds
// value * (srcN - u), closes it and starts the next one with the remaining
// value * (u + dstN - srcN). Rows are reduced horizontally first (each sum
// divided by srcW, kept in double); the reduced rows are then walked the same
// way vertically in double, and each mean is rounded half up and clamped.
#include "pelcalc/src/AlignedBuffer.h"
#include "pelcalc/src/AreaAverageKernels.h"
#include "pelcalc/src/Resampler.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <vector>

namespace pelcalc {

namespace {

// The walk above, once for a whole axis: for each target index the source
// indices it covers (first, first + 1, ...) with their weights, in walk
// order. Weights of zero are left out; they add nothing.
struct BoxTaps {
    std::vector<int> first;
    std::vector<int> begin;  // weights of target t: weights[begin[t] .. begin[t + 1])
    std::vector<std::int32_t> weights;

    int count(int t) const { return begin[t + 1] - begin[t]; }
};

BoxTaps boxTaps(int sourceCount, int targetCount)
{
    BoxTaps taps;
    taps.first.push_back(0);
    taps.begin.push_back(0);
    int filled = 0;
    int target = 0;
    for (int s = 0; s < sourceCount; ++s) {
        if (filled + targetCount < sourceCount) {
            taps.weights.push_back(targetCount);
            filled += targetCount;
            continue;
        }
        taps.weights.push_back(sourceCount - filled);
        filled += targetCount - sourceCount;
        if (++target == targetCount)
            break;
        taps.begin.push_back(static_cast<int>(taps.weights.size()));
        if (filled > 0) {
            taps.first.push_back(s);
            taps.weights.push_back(filled);
        } else {
            taps.first.push_back(s + 1);
        }
    }
    taps.begin.push_back(static_cast<int>(taps.weights.size()));
    return taps;
}

void boxSumsPortable(const std::uint8_t* row, const BoxTaps& columns, int count, std::int64_t* sums)
{
    for (int t = 0; t < count; ++t) {
        const std::uint8_t* p = row + 3 * columns.first[t];
        std::int64_t b = 0, g = 0, r = 0;
        for (int k = columns.begin[t]; k < columns.begin[t + 1]; ++k, p += 3) {
            const std::int32_t w = columns.weights[k];
            b += p[0] * w;
            g += p[1] * w;
            r += p[2] * w;
        }
        sums[3 * t] = b;
        sums[3 * t + 1] = g;
        sums[3 * t + 2] = r;
    }
}

constexpr int kMaxAvx2SourceWidth = 0x7FFFFFFF / 255;
// Widths up to this are checked for the reciprocal means (a few milliseconds
// at most); wider sources divide.
constexpr int kMaxReciprocalCheckWidth = 65535;

// Every horizontal sum lies in 0 .. 255 * srcW, so the division by srcW can be
// replaced by a multiplication once that has been checked for each of those
// values. The check costs about a millisecond for a 6000-pixel-wide source;
// the last width checked is remembered (one resampling runs at a time).
bool reciprocalDivisionWorks(int divisor)
{
    static const bool hasFma = __builtin_cpu_supports("fma");
    static std::mutex mutex;
    static int lastDivisor = 0;
    static bool lastResult = false;
    if (!hasFma || divisor > kMaxReciprocalCheckWidth)
        return false;
    std::lock_guard lock(mutex);
    if (divisor != lastDivisor) {
        lastResult = area::reciprocalDivisionIsExact(divisor, 255 * divisor);
        lastDivisor = divisor;
    }
    return lastResult;
}

class AreaAverage final : public Resampler {
public:
    AreaAverage(const Picture& source, const Picture& target, Kernels kernels)
        : m_source(source), m_target(target), m_columns(boxTaps(source.width, target.width)),
          m_rows(boxTaps(source.height, target.height))
    {
        // vpmaddwd multiplies signed 16-bit words (every weight is at most
        // dstW) and the sums, at most 255 * srcW, are int32.
        m_avx2 = kernels == Kernels::Best && haveAvx2() && target.width <= 32767 &&
                 source.width <= kMaxAvx2SourceWidth;
        if (m_avx2) {
            buildGroups();
            m_reciprocal = reciprocalDivisionWorks(source.width);
        }
    }

    bool run(int firstRow, int endRow, RowSink& sink) const override;

private:
    void buildGroups();
    bool runPortable(int firstRow, int endRow, RowSink& sink) const;
    bool runAvx2(int firstRow, int endRow, RowSink& sink) const;
    const std::uint8_t* readableRow(int s, std::uint8_t* spare) const;

    Picture m_source;
    Picture m_target;
    BoxTaps m_columns;
    BoxTaps m_rows;
    bool m_avx2 = false;
    bool m_reciprocal = false;  // horizontal means by multiplication, proven exact
    std::vector<std::int16_t> m_groupWeights;
    area::ColumnGroups m_groups;
    std::size_t m_readSpan = 0;  // bytes the AVX2 kernel may read from a row's start
};

void AreaAverage::buildGroups()
{
    const int count = m_target.width;
    int most = 0;
    for (int t = 0; t < count; ++t)
        most = std::max(most, m_columns.count(t));
    const int groups = (most + 3) / 4;
    m_groupWeights.assign(static_cast<std::size_t>(count) * groups * 16, 0);
    for (int t = 0; t < count; ++t) {
        std::int16_t* w = m_groupWeights.data() + static_cast<std::size_t>(t) * groups * 16;
        for (int k = 0; k < m_columns.count(t); ++k) {
            const auto weight = static_cast<std::int16_t>(m_columns.weights[m_columns.begin[t] + k]);
            const int slot = (k / 4) * 16 + (k % 4 >= 2 ? 8 : 0) + (k % 2);
            w[slot] = w[slot + 2] = w[slot + 4] = weight;
        }
        m_readSpan = std::max<std::size_t>(m_readSpan, 3 * m_columns.first[t] + 12 * (groups - 1) + 16);
    }
    m_groups = {m_columns.first.data(), m_groupWeights.data(), groups};
}

const std::uint8_t* AreaAverage::readableRow(int s, std::uint8_t* spare) const
{
    // The AVX2 kernel reads whole groups of pixels; near the end of the picture
    // it reads a zero-padded copy of the row instead.
    const std::uint8_t* row = m_source.row(s);
    if (s * m_source.stride + m_readSpan <= m_source.stride * m_source.height)
        return row;
    std::memcpy(spare, row, 3 * m_source.width);
    return spare;
}

bool AreaAverage::run(int firstRow, int endRow, RowSink& sink) const
{
    return m_avx2 ? runAvx2(firstRow, endRow, sink) : runPortable(firstRow, endRow, sink);
}

bool AreaAverage::runPortable(int firstRow, int endRow, RowSink& sink) const
{
    const int n = 3 * m_target.width;
    std::vector<std::int64_t> sums(n);
    std::vector<double> reduced(n);
    std::vector<double> acc(n);
    int reducedRow = -1;
    for (int r = firstRow; r < endRow; ++r) {
        for (int k = 0; k < m_rows.count(r); ++k) {
            const int s = m_rows.first[r] + k;
            const double w = m_rows.weights[m_rows.begin[r] + k];
            // The row that closes target row r also opens row r + 1: reduce it once.
            if (s != reducedRow) {
                boxSumsPortable(m_source.row(s), m_columns, m_target.width, sums.data());
                for (int i = 0; i < n; ++i)
                    reduced[i] = static_cast<double>(sums[i]) / m_source.width;
                reducedRow = s;
            }
            for (int i = 0; i < n; ++i)
                acc[i] = k == 0 ? reduced[i] * w : acc[i] + reduced[i] * w;
        }
        std::uint8_t* out = m_target.row(r);
        for (int i = 0; i < n; ++i) {
            const int v = static_cast<int>(acc[i] / m_source.height + 0.5);
            out[i] = static_cast<std::uint8_t>(std::clamp(v, 0, 255));
        }
        if (!sink.rowFinished())
            return false;
    }
    return true;
}

bool AreaAverage::runAvx2(int firstRow, int endRow, RowSink& sink) const
{
    int most = 0;
    for (int r = firstRow; r < endRow; ++r)
        most = std::max(most, m_rows.count(r));
    std::vector<const std::uint8_t*> rows(most);
    std::vector<double> weights(most);
    // Zero-padded copies of the rows too close to the end of the picture for
    // the kernel's whole-group reads.
    std::vector<std::vector<std::uint8_t>> spares(most, std::vector<std::uint8_t>(m_readSpan, 0));
    // Means of the row that closes one target row and opens the next.
    const auto width = static_cast<std::size_t>(m_target.width);
    AlignedDoubles meansA(4 * width);
    AlignedDoubles meansB(4 * width);
    double* openingMeans = meansA.data();
    double* closingMeans = meansB.data();
    int openingRow = -1;
    const area::Divisor divisor{static_cast<double>(m_source.width), m_reciprocal};
    for (int r = firstRow; r < endRow; ++r) {
        const int first = m_rows.first[r];
        const int count = m_rows.count(r);
        const int last = first + count - 1;
        const bool lastOpensNext = r + 1 < m_target.height && m_rows.first[r + 1] == last;
        for (int k = 0; k < count; ++k) {
            rows[k] = readableRow(first + k, spares[k].data());
            weights[k] = m_rows.weights[m_rows.begin[r] + k];
        }
        area::RowInputs in;
        in.rows = rows.data();
        in.weights = weights.data();
        in.count = count;
        in.openingMeans = first == openingRow ? openingMeans : nullptr;
        in.closingMeans = lastOpensNext ? closingMeans : nullptr;
        area::reduceRowAvx2(in, m_groups, m_target.width, divisor, m_source.height, m_target.row(r));
        if (lastOpensNext) {
            std::swap(openingMeans, closingMeans);
            openingRow = last;
        }
        if (!sink.rowFinished())
            return false;
    }
    return true;
}

}  // namespace

std::unique_ptr<Resampler> makeAreaAverage(const Picture& source, const Picture& target, Kernels kernels)
{
    return std::make_unique<AreaAverage>(source, target, kernels);
}

}  // namespace pelcalc
