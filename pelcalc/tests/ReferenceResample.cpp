#include "pelcalc/tests/ReferenceResample.h"

#include <cmath>
#include <vector>

namespace pelcalc_test {

namespace {

int nearestIndex(int i, int sourceCount, int targetCount)
{
    if (targetCount == 1)  // no ratio: the middle of the source
        return static_cast<int>((sourceCount - 1) / 2.0 + 0.5);
    return static_cast<int>(double(i * (sourceCount - 1)) / double(targetCount - 1) + 0.5);
}

// One source row reduced horizontally: the walk with double accumulators.
std::vector<double> reduceRow(const Pixels& source, int row, int dstW)
{
    const int srcW = source.width;
    std::vector<double> out;
    double acc[3] = {0, 0, 0};
    int u = 0;
    for (int s = 0; s < srcW; ++s) {
        if (u + dstW < srcW) {
            for (int c = 0; c < 3; ++c)
                acc[c] = acc[c] + source.at(row, s, c) * dstW;
            u = u + dstW;
        } else {
            for (int c = 0; c < 3; ++c) {
                acc[c] = acc[c] + source.at(row, s, c) * (srcW - u);
                out.push_back(acc[c] / srcW);
                acc[c] = source.at(row, s, c) * (u + dstW - srcW);
            }
            u = u + dstW - srcW;
        }
    }
    return out;
}

double cubic(double d)
{
    if (d < 1)
        return d * d * d - 2 * d * d + 1;
    if (d < 2)
        return -d * d * d + 5 * d * d - 8 * d + 4;
    return 0;
}

struct Tap {
    int index;  // pixel read
    double weight;
};

// The four taps of position i * scale; a source of fewer than four pixels
// takes t - 1 .. t + 2 with edge pixels standing in for the missing ones.
std::vector<Tap> cubicTaps(int i, int srcN, int dstN)
{
    const double scale = dstN > 1 ? double(srcN - 1) / double(dstN - 1) : 0.0;
    const double p = i * scale;
    const int t = int(p);
    int taps[4] = {t - 1, t, t + 1, t + 2};
    if (srcN >= 4) {
        if (t - 1 < 0)
            for (int k = 0; k < 4; ++k)
                taps[k] = t + k;
        while (taps[3] > srcN - 1)
            for (int& tap : taps)
                --tap;
    }
    std::vector<Tap> out;
    for (int tap : taps) {
        const int read = tap < 0 ? 0 : tap > srcN - 1 ? srcN - 1 : tap;
        out.push_back({read, cubic(std::fabs(p - tap))});
    }
    return out;
}

}  // namespace

Pixels referenceNearest(const Pixels& source, int width, int height)
{
    Pixels out(width, height);
    for (int r = 0; r < height; ++r)
        for (int c = 0; c < width; ++c)
            for (int ch = 0; ch < 3; ++ch)
                out.at(r, c, ch) = source.at(nearestIndex(r, source.height, height),
                                             nearestIndex(c, source.width, width), ch);
    return out;
}

Pixels referenceAreaAverage(const Pixels& source, int width, int height)
{
    const int srcH = source.height;
    const int n = 3 * width;
    Pixels out(width, height);
    std::vector<double> acc(n, 0.0);
    int m = 0;
    int target = 0;
    auto emit = [&] {
        for (int i = 0; i < n; ++i) {
            int v = int(acc[i] / srcH + 0.5);
            v = v < 0 ? 0 : v > 255 ? 255 : v;
            out.bytes[std::size_t(target) * n + i] = static_cast<std::uint8_t>(v);
        }
        ++target;
    };
    for (int s = 0; s < srcH; ++s) {
        const std::vector<double> row = reduceRow(source, s, width);
        if (m + height < srcH) {
            for (int i = 0; i < n; ++i)
                acc[i] = acc[i] + row[i] * height;
            m = m + height;
        } else {
            for (int i = 0; i < n; ++i)
                acc[i] = acc[i] + row[i] * (srcH - m);
            emit();
            for (int i = 0; i < n; ++i)
                acc[i] = row[i] * (m + height - srcH);
            m = m + height - srcH;
        }
    }
    return out;
}

Pixels referenceBicubic(const Pixels& source, int width, int height)
{
    Pixels out(width, height);
    for (int r = 0; r < height; ++r) {
        const std::vector<Tap> rows = cubicTaps(r, source.height, height);
        for (int c = 0; c < width; ++c) {
            const std::vector<Tap> columns = cubicTaps(c, source.width, width);
            for (int ch = 0; ch < 3; ++ch) {
                double sum = 0;
                for (const Tap& y : rows)
                    for (const Tap& x : columns)
                        sum = sum + source.at(y.index, x.index, ch) * y.weight * x.weight;
                int v;
                if (sum > 255)
                    v = 255;
                else if (sum >= 0)
                    v = int(sum);
                else
                    v = 0;
                out.at(r, c, ch) = static_cast<std::uint8_t>(v);
            }
        }
    }
    return out;
}

}  // namespace pelcalc_test
