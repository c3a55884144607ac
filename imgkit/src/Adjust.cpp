// ImgKitBright and ImgKitRGB: per-channel tone curves applied in place to the
// colour table of palette pictures or to every pixel of the others.
#include "imgkit/ImgKit.h"

#include "imgkit/src/PixelAccess.h"
#include "imgkit/src/Progress.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace imgkit {
namespace {

using Curve = std::array<std::uint8_t, 256>;

// Applies one curve per channel (red, green, blue).
void applyCurves(DibHandle& dib, const Curve (&curves)[3], Progress& progress)
{
    const Curve& r = curves[0];
    const Curve& g = curves[1];
    const Curve& b = curves[2];
    if (dib.bitCount() <= 8) {
        for (int i = 0; i < dib.paletteSize(); ++i) {
            RgbQuad& q = dib.palette()[i];
            q = {b[q.blue], g[q.green], r[q.red], q.reserved};
        }
        return;
    }
    const int bits = dib.bitCount();
    const bool masked = bits == 16 || dib.header().compression == BI_BITFIELDS;
    const MaskDecoder codec(dib);
    for (int y = 0; y < dib.height(); ++y) {
        std::uint8_t* row = dib.row(y);
        if (masked) {
            for (int x = 0; x < dib.width(); ++x) {
                const Bgr c = codec(readRaw(row, x, bits));
                writeRaw(row, x, bits, codec.encode({b[c.b], g[c.g], r[c.r]}));
            }
        } else {
            const int step = bits / 8;
            for (int x = 0; x < dib.width(); ++x) {
                std::uint8_t* p = row + step * x;
                p[0] = b[p[0]];
                p[1] = g[p[1]];
                p[2] = r[p[2]];
            }
        }
        if ((y & 255) == 0)
            progress.update(y, dib.height());
    }
}

Curve offsetCurve(int delta)
{
    Curve c;
    for (int v = 0; v < 256; ++v)
        c[v] = std::uint8_t(std::clamp(v + delta, 0, 255));
    return c;
}

}  // namespace
}  // namespace imgkit

using imgkit::DibHandle;

int ImgKitBright(DibHandle& dib, const QString& caption, const QString& message, double level)
{
    if (!dib.isUsable() || std::isnan(level))
        return 0;
    imgkit::Progress progress(caption, message);
    // Positive levels move every value towards white, negative ones towards
    // black, by a fifth of the way per level step.
    const double t = std::clamp(level / 5.0, -1.0, 1.0);
    imgkit::Curve curve;
    for (int v = 0; v < 256; ++v) {
        const double out = t >= 0 ? v + (255 - v) * t : v * (1 + t);
        curve[v] = std::uint8_t(std::clamp(std::lround(out), 0L, 255L));
    }
    const imgkit::Curve curves[3] = {curve, curve, curve};
    imgkit::applyCurves(dib, curves, progress);
    return 1;
}

int ImgKitRGB(DibHandle& dib, const QString& caption, const QString& message, int red, int green, int blue)
{
    if (!dib.isUsable())
        return 0;
    imgkit::Progress progress(caption, message);
    const imgkit::Curve curves[3] = {imgkit::offsetCurve(std::clamp(red, -255, 255)),
                                     imgkit::offsetCurve(std::clamp(green, -255, 255)),
                                     imgkit::offsetCurve(std::clamp(blue, -255, 255))};
    imgkit::applyCurves(dib, curves, progress);
    return 1;
}
