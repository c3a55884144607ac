#include "imgkit/src/PixelAccess.h"

#include <bit>

namespace imgkit {

namespace {
constexpr std::uint32_t kMasks555[3] = {0x7C00, 0x03E0, 0x001F};
constexpr std::uint32_t kMasks888[3] = {0xFF0000, 0x00FF00, 0x0000FF};
}  // namespace

MaskDecoder::MaskDecoder(const DibHandle& dib)
    : MaskDecoder(dib.header().compression == BI_BITFIELDS ? dib.masks()
                  : dib.bitCount() == 16                   ? kMasks555
                                                           : kMasks888)
{}

MaskDecoder::MaskDecoder(const std::uint32_t* masks)
{
    for (int i = 0; i < 3; ++i) {
        Channel& c = m_channels[i];
        c.mask = masks[i];
        c.shift = masks[i] ? std::countr_zero(masks[i]) : 0;
        c.max = masks[i] >> c.shift;
    }
}

Bgr MaskDecoder::operator()(std::uint32_t raw) const
{
    std::uint8_t v[3];
    for (int i = 0; i < 3; ++i) {
        const Channel& c = m_channels[i];
        if (c.max == 0) {
            v[i] = 0;
            continue;
        }
        const std::uint64_t value = (raw & c.mask) >> c.shift;
        v[i] = std::uint8_t((value * 255 + c.max / 2) / c.max);
    }
    return {v[2], v[1], v[0]};
}

std::uint32_t MaskDecoder::encode(Bgr colour) const
{
    const std::uint8_t v[3] = {colour.r, colour.g, colour.b};
    std::uint32_t raw = 0;
    for (int i = 0; i < 3; ++i) {
        const Channel& c = m_channels[i];
        raw |= static_cast<std::uint32_t>((std::uint64_t{v[i]} * c.max + 127) / 255) << c.shift;
    }
    return raw;
}

Bgr paletteColor(const DibHandle& dib, std::uint32_t index)
{
    if (index >= static_cast<std::uint32_t>(dib.paletteSize()))
        return {};
    const RgbQuad& q = dib.palette()[index];
    return {q.blue, q.green, q.red};
}

void readRowBgr(const DibHandle& dib, int y, std::uint8_t* out)
{
    const std::uint8_t* row = dib.row(y);
    const int w = dib.width();
    const int bits = dib.bitCount();
    if (bits == 24) {
        for (int i = 0; i < w * 3; ++i)
            out[i] = row[i];
        return;
    }
    if (bits <= 8) {
        Bgr table[256];
        for (int i = 0; i < (1 << bits); ++i)
            table[i] = paletteColor(dib, i);
        for (int x = 0; x < w; ++x) {
            const Bgr c = table[readRaw(row, x, bits)];
            out[3 * x] = c.b;
            out[3 * x + 1] = c.g;
            out[3 * x + 2] = c.r;
        }
        return;
    }
    if (bits == 32 && dib.header().compression == BI_RGB) {
        for (int x = 0; x < w; ++x) {
            out[3 * x] = row[4 * x];
            out[3 * x + 1] = row[4 * x + 1];
            out[3 * x + 2] = row[4 * x + 2];
        }
        return;
    }
    const MaskDecoder decode(dib);
    for (int x = 0; x < w; ++x) {
        const Bgr c = decode(readRaw(row, x, bits));
        out[3 * x] = c.b;
        out[3 * x + 1] = c.g;
        out[3 * x + 2] = c.r;
    }
}

bool hasGreyPalette(const DibHandle& dib)
{
    if (dib.bitCount() > 8)
        return false;
    for (int i = 0; i < dib.paletteSize(); ++i) {
        const RgbQuad& q = dib.palette()[i];
        if (q.red != q.green || q.green != q.blue)
            return false;
    }
    return true;
}

bool hasGreyRamp(const DibHandle& dib)
{
    if (dib.bitCount() > 8)
        return false;
    const int n = 1 << dib.bitCount();
    if (dib.paletteSize() != n)
        return false;
    for (int i = 0; i < n; ++i) {
        const RgbQuad& q = dib.palette()[i];
        const int v = i * 255 / (n - 1);
        if (q.red != v || q.green != v || q.blue != v)
            return false;
    }
    return true;
}

void setGreyPalette(DibHandle& dib)
{
    const int n = 1 << dib.bitCount();
    for (int i = 0; i < n; ++i) {
        const std::uint8_t v = std::uint8_t(i * 255 / (n - 1));
        dib.palette()[i] = {v, v, v, 0};
    }
}

}  // namespace imgkit
