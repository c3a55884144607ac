// Bicubic enlargement (operation 21), cubic convolution with a = -1.
// Along each axis the scale is (srcN - 1) / (dstN - 1) and target index i sits
// at position p = i * scale; with t = Trunc(p) the taps are t - 1 .. t + 2, or
// t .. t + 3 when t - 1 < 0, shifted down by one while the last one lies past
// the picture. A tap at distance d weighs d^3 - 2d^2 + 1 below 1,
// -d^3 + 5d^2 - 8d + 4 below 2, and 0 beyond.
//
// A source of fewer than four pixels along an axis cannot hold four taps:
// shifting would move them below 0, outside the picture. There the taps are
// t - 1 .. t + 2 and a tap outside the picture reads the nearest edge pixel
// (its weight still comes from its true distance), so the weights sum to one
// and a plain picture stays plain. A target of one pixel (only possible from
// a source of one pixel) sits at position 0.
#include "pelcalc/src/BicubicKernels.h"
#include "pelcalc/src/Resampler.h"

#include <algorithm>
#include <cmath>

namespace pelcalc {

namespace cubic {

namespace {

double cubicWeight(double d)
{
    if (d < 1)
        return d * d * d - 2 * d * d + 1;
    if (d < 2)
        return -d * d * d + 5 * d * d - 8 * d + 4;
    return 0;
}

}  // namespace

Taps cubicTaps(int sourceCount, int targetCount)
{
    Taps taps;
    taps.index.resize(4 * static_cast<std::size_t>(targetCount));
    taps.weight.resize(4 * static_cast<std::size_t>(targetCount));
    const double scale =
        targetCount > 1 ? static_cast<double>(sourceCount - 1) / static_cast<double>(targetCount - 1) : 0.0;
    for (int i = 0; i < targetCount; ++i) {
        const double position = i * scale;
        const int t = static_cast<int>(position);
        int first = t - 1;
        if (sourceCount >= 4) {
            if (first < 0)
                first = t;
            while (first + 3 > sourceCount - 1)
                --first;
        }
        for (int k = 0; k < 4; ++k) {
            const int tap = first + k;
            taps.index[4 * i + k] = std::clamp(tap, 0, sourceCount - 1);
            taps.weight[4 * i + k] = cubicWeight(std::fabs(position - tap));
        }
    }
    return taps;
}

void cubicRowPortable(const Picture& source, const Taps& rows, const Taps& columns, int r, std::uint8_t* out)
{
    const int width = static_cast<int>(columns.index.size() / 4);
    for (int c = 0; c < width; ++c) {
        for (int ch = 0; ch < 3; ++ch) {
            double sum = 0;
            for (int i = 0; i < 4; ++i) {
                const std::uint8_t* row = source.row(rows.index[4 * r + i]);
                const double rowWeight = rows.weight[4 * r + i];
                for (int j = 0; j < 4; ++j) {
                    const double value = row[3 * columns.index[4 * c + j] + ch];
                    sum += value * rowWeight * columns.weight[4 * c + j];
                }
            }
            // NaN fails both comparisons and ends as 0.
            out[3 * c + ch] = sum > 255 ? 255 : sum >= 0 ? static_cast<std::uint8_t>(sum) : 0;
        }
    }
}

QuadScratch::QuadScratch(int sourceWidth, int targetWidth)
    : weighted(static_cast<std::size_t>(sourceWidth) * 3 * 16),
      packed(static_cast<std::size_t>(targetWidth) * 3 + 4)
{}

}  // namespace cubic

namespace {

class Bicubic final : public Resampler {
public:
    Bicubic(const Picture& source, const Picture& target, Kernels kernels)
        : m_source(source), m_target(target), m_rows(cubic::cubicTaps(source.height, target.height)),
          m_columns(cubic::cubicTaps(source.width, target.width)),
          m_avx2(kernels == Kernels::Best && haveAvx2())
    {}

    bool run(int firstRow, int endRow, RowSink& sink) const override
    {
        if (!m_avx2) {
            for (int r = firstRow; r < endRow; ++r) {
                cubic::cubicRowPortable(m_source, m_rows, m_columns, r, m_target.row(r));
                if (!sink.rowFinished())
                    return false;
            }
            return true;
        }
        cubic::QuadScratch scratch(m_source.width, m_target.width);
        for (int r = firstRow; r < endRow; r += 4) {
            cubic::cubicQuadAvx2(m_source, m_rows, m_columns, r, endRow - 1, m_target, scratch);
            for (int k = r; k < std::min(r + 4, endRow); ++k)
                if (!sink.rowFinished())
                    return false;
        }
        return true;
    }

private:
    Picture m_source;
    Picture m_target;
    cubic::Taps m_rows;
    cubic::Taps m_columns;
    bool m_avx2;
};

}  // namespace

std::unique_ptr<Resampler> makeBicubic(const Picture& source, const Picture& target, Kernels kernels)
{
    return std::make_unique<Bicubic>(source, target, kernels);
}

}  // namespace pelcalc
