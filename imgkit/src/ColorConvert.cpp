// ImgKitConvertColor, ImgKitBit24To8 and ImgKitSetGray.
#include "imgkit/src/ColorConvert.h"

#include "imgkit/ImgKit.h"
#include "imgkit/src/PixelAccess.h"
#include "imgkit/src/Progress.h"
#include "imgkit/src/Quantize.h"

#include <vector>

namespace imgkit {
namespace {

// A palette picture widened to a deeper palette depth, indices unchanged.
DibHandle widenIndexed(const DibHandle& dib, int bits)
{
    DibHandle out = DibHandle::create(dib.width(), dib.height(), bits);
    if (!out)
        return {};
    for (int i = 0; i < dib.paletteSize(); ++i)
        out.palette()[i] = dib.palette()[i];
    for (int y = 0; y < dib.height(); ++y) {
        const std::uint8_t* src = dib.row(y);
        std::uint8_t* dst = out.row(y);
        for (int x = 0; x < dib.width(); ++x)
            writeRaw(dst, x, bits, readRaw(src, x, dib.bitCount()));
    }
    return out;
}

}  // namespace

DibHandle to24Bit(const DibHandle& dib)
{
    DibHandle out = DibHandle::create(dib.width(), dib.height(), 24);
    if (!out)
        return {};
    out.header().xPelsPerMeter = dib.header().xPelsPerMeter;
    out.header().yPelsPerMeter = dib.header().yPelsPerMeter;
    for (int y = 0; y < dib.height(); ++y)
        readRowBgr(dib, y, out.row(y));
    return out;
}

DibHandle convertColor(const DibHandle& dib, int bits, bool noDither, bool adaptive, Progress* progress)
{
    if (bits == 24)
        return to24Bit(dib);
    if (bits != 1 && bits != 4 && bits != 8)
        return {};
    if (dib.bitCount() == bits)
        return dib.clone();
    if (dib.bitCount() < bits)
        return widenIndexed(dib, bits);
    const DibHandle full = dib.bitCount() == 24 ? DibHandle{} : to24Bit(dib);
    const DibHandle& source = dib.bitCount() == 24 ? dib : full;
    if (!source)
        return {};
    const int colours = 1 << bits;
    std::vector<Bgr> palette;
    if (bits == 1)
        palette = fixedPalette(2);
    else
        palette = adaptive ? adaptivePalette(source, colours) : fixedPalette(colours);
    return mapToPalette(source, palette, bits, !noDither, progress);
}

}  // namespace imgkit

using imgkit::DibHandle;

DibHandle ImgKitConvertColor(const DibHandle& dib, int bits, int a, int b, const QString& caption,
                             const QString& message)
{
    if (!dib.isUsable())
        return {};
    imgkit::Progress progress(caption, message);
    return imgkit::convertColor(dib, bits, a == 1, b == 1, &progress);
}

int ImgKitBit24To8(DibHandle& dib, const QString& caption, const QString& message)
{
    if (!dib.isUsable())
        return 0;
    if (dib.bitCount() <= 8)
        return 1;
    imgkit::Progress progress(caption, message);
    DibHandle reduced = imgkit::convertColor(dib, 8, false, true, &progress);
    if (!reduced)
        return 0;
    dib = std::move(reduced);
    return 1;
}

DibHandle ImgKitSetGray(const DibHandle& dib, const QString& caption, const QString& message)
{
    if (!dib.isUsable())
        return {};
    imgkit::Progress progress(caption, message);
    auto grey = [](std::uint8_t r, std::uint8_t g, std::uint8_t b) {
        return std::uint8_t((299 * r + 587 * g + 114 * b + 500) / 1000);
    };
    if (dib.bitCount() <= 8) {
        DibHandle out = dib.clone();
        if (!out)
            return {};
        for (int i = 0; i < out.paletteSize(); ++i) {
            imgkit::RgbQuad& q = out.palette()[i];
            q.red = q.green = q.blue = grey(q.red, q.green, q.blue);
        }
        return out;
    }
    DibHandle out = imgkit::to24Bit(dib);
    if (!out)
        return {};
    for (int y = 0; y < out.height(); ++y) {
        std::uint8_t* row = out.row(y);
        for (int x = 0; x < out.width(); ++x) {
            std::uint8_t* p = row + 3 * x;
            p[0] = p[1] = p[2] = grey(p[2], p[1], p[0]);
        }
        if ((y & 255) == 0)
            progress.update(y, out.height());
    }
    return out;
}
