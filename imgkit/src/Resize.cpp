// ImgKitImageSize: separable resampling with a triangle filter whose width
// follows the scale, so reductions average every source pixel they cover
// and enlargements interpolate linearly between neighbours.
#include "imgkit/ImgKit.h"

#include "imgkit/src/ColorConvert.h"
#include "imgkit/src/Limits.h"
#include "imgkit/src/Progress.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace imgkit {
namespace {

struct Taps {
    int first = 0;
    std::vector<float> weights;
};

// For each target position, the source positions it draws on and their weights.
std::vector<Taps> filterTaps(int source, int target)
{
    const double scale = double(target) / source;
    const double support = scale < 1 ? 1 / scale : 1.0;
    std::vector<Taps> taps(target);
    for (int i = 0; i < target; ++i) {
        const double centre = (i + 0.5) / scale - 0.5;
        const int lo = int(std::floor(centre - support)) + 1;
        const int hi = int(std::ceil(centre + support)) - 1;
        Taps& t = taps[i];
        const int first = std::clamp(lo, 0, source - 1);
        const int last = std::clamp(hi, 0, source - 1);
        t.first = first;
        t.weights.assign(last - first + 1, 0.0f);
        double total = 0;
        for (int j = lo; j <= hi; ++j) {
            const double w = std::max(0.0, 1 - std::abs(j - centre) / support);
            t.weights[std::clamp(j, 0, source - 1) - first] += float(w);  // edges repeat
            total += w;
        }
        if (total <= 0) {  // cannot happen for positive sizes, kept for safety of the divide
            t.weights.assign(1, 1.0f);
            t.first = std::clamp(int(centre + 0.5), 0, source - 1);
            continue;
        }
        for (float& w : t.weights)
            w = float(w / total);
    }
    return taps;
}

}  // namespace
}  // namespace imgkit

using imgkit::DibHandle;

DibHandle ImgKitImageSize(const DibHandle& dib, const QString& caption, const QString& message, int width,
                          int height)
{
    if (!dib.isUsable() || !imgkit::sizeAllowed(width, height))
        return {};
    imgkit::Progress progress(caption, message);
    const DibHandle full = dib.bitCount() == 24 ? DibHandle{} : imgkit::to24Bit(dib);
    const DibHandle& src = dib.bitCount() == 24 ? dib : full;
    if (!src)
        return {};
    DibHandle out = DibHandle::create(width, height, 24);
    if (!out)
        return {};
    const int sw = src.width(), sh = src.height();
    const std::vector<imgkit::Taps> across = imgkit::filterTaps(sw, width);
    const std::vector<imgkit::Taps> down = imgkit::filterTaps(sh, height);

    // Each target row: the vertical pass over the source rows it draws on,
    // then the horizontal pass; memory stays one source row wide.
    std::vector<float> column(static_cast<std::size_t>(sw) * 3);
    for (int y = 0; y < height; ++y) {
        const imgkit::Taps& t = down[y];
        std::fill(column.begin(), column.end(), 0.0f);
        for (std::size_t k = 0; k < t.weights.size(); ++k) {
            const std::uint8_t* s = src.row(t.first + int(k));
            const float w = t.weights[k];
            for (int i = 0; i < sw * 3; ++i)
                column[i] += w * s[i];
        }
        std::uint8_t* o = out.row(y);
        for (int x = 0; x < width; ++x) {
            const imgkit::Taps& h = across[x];
            float acc[3] = {0, 0, 0};
            for (std::size_t k = 0; k < h.weights.size(); ++k) {
                const float* p = column.data() + 3 * (h.first + int(k));
                for (int c = 0; c < 3; ++c)
                    acc[c] += h.weights[k] * p[c];
            }
            for (int c = 0; c < 3; ++c)
                o[3 * x + c] = std::uint8_t(std::clamp(acc[c] + 0.5f, 0.0f, 255.0f));
        }
        if ((y & 63) == 0 && !progress.update(y, height))
            return {};
    }
    return out;
}
