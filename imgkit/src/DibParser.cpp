#include "imgkit/src/DibParser.h"

#include "imgkit/src/ByteReader.h"
#include "imgkit/src/Limits.h"
#include "imgkit/src/PixelAccess.h"

#include <bit>
#include <cstdlib>
#include <cstring>

namespace imgkit {
namespace {

constexpr std::uint32_t BI_ALPHABITFIELDS = 6;

struct DibLayout {
    std::int64_t width = 0;
    std::int64_t height = 0;  // always positive here
    bool topDown = false;
    int bitCount = 0;
    std::uint32_t compression = BI_RGB;
    std::uint32_t masks[3] = {};
    std::size_t tableOffset = 0;  // colour table start
    int tableEntrySize = 4;  // 3 for core headers
    std::size_t tableEntries = 0;  // as stored
    std::size_t defaultBitsOffset = 0;
};

bool contiguous(std::uint32_t mask)
{
    if (mask == 0)
        return true;
    const std::uint32_t shifted = mask >> std::countr_zero(mask);
    return (shifted & (shifted + 1)) == 0;
}

std::optional<DibLayout> readLayout(const std::uint8_t* data, std::size_t size)
{
    if (size < 12)
        return std::nullopt;
    const std::uint32_t headerSize = le32(data);
    DibLayout l;
    if (headerSize == 12) {  // BITMAPCOREHEADER
        l.width = le16(data + 4);
        l.height = le16(data + 6);
        l.bitCount = le16(data + 10);
        l.tableEntrySize = 3;
        l.tableOffset = 12;
        l.tableEntries = l.bitCount <= 8 ? (std::size_t{1} << l.bitCount) : 0;
    } else if (headerSize >= 40 && headerSize <= 124) {
        if (size < headerSize)
            return std::nullopt;
        l.width = static_cast<std::int32_t>(le32(data + 4));
        std::int64_t h = static_cast<std::int32_t>(le32(data + 8));
        l.topDown = h < 0;
        l.height = h < 0 ? -h : h;
        l.bitCount = le16(data + 14);
        l.compression = le32(data + 16);
        const std::uint32_t clrUsed = le32(data + 32);
        l.tableOffset = headerSize;
        if (l.compression == BI_BITFIELDS || l.compression == BI_ALPHABITFIELDS) {
            if (headerSize >= 52) {
                for (int i = 0; i < 3; ++i)
                    l.masks[i] = le32(data + 40 + 4 * i);
            } else {
                const std::size_t maskBytes = l.compression == BI_ALPHABITFIELDS ? 16 : 12;
                if (size < 40 + maskBytes)
                    return std::nullopt;
                for (int i = 0; i < 3; ++i)
                    l.masks[i] = le32(data + 40 + 4 * i);
                l.tableOffset += maskBytes;
            }
            l.compression = BI_BITFIELDS;
        }
        if (headerSize == 64 && l.compression > BI_RLE4 && l.compression != BI_BITFIELDS)
            return std::nullopt;  // OS/2 2.x Huffman and RLE24
        if (l.bitCount <= 8)
            l.tableEntries = clrUsed ? clrUsed : (std::size_t{1} << l.bitCount);
        else
            l.tableEntries = clrUsed;  // optional table of 16- to 32-bit pictures
    } else {
        return std::nullopt;
    }
    switch (l.bitCount) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32: break;
    default: return std::nullopt;
    }
    if (!sizeAllowed(l.width, l.height))
        return std::nullopt;
    switch (l.compression) {
    case BI_RGB: break;
    case BI_RLE8:
        if (l.bitCount != 8 || l.topDown)
            return std::nullopt;
        break;
    case BI_RLE4:
        if (l.bitCount != 4 || l.topDown)
            return std::nullopt;
        break;
    case BI_BITFIELDS:
        if (l.bitCount != 16 && l.bitCount != 32)
            return std::nullopt;
        for (std::uint32_t m : l.masks)
            if (!contiguous(m) || (l.bitCount == 16 && m > 0xFFFF))
                return std::nullopt;
        break;
    default: return std::nullopt;  // embedded JPEG/PNG and unknown schemes
    }
    if (l.tableEntries > 65536)
        return std::nullopt;
    l.defaultBitsOffset = l.tableOffset + l.tableEntries * l.tableEntrySize;
    return l;
}

bool standardMasks(const DibLayout& l, std::uint32_t r, std::uint32_t g, std::uint32_t b)
{
    return l.masks[0] == r && l.masks[1] == g && l.masks[2] == b;
}

}  // namespace

DibHandle parsePackedDib(const std::uint8_t* data, std::size_t size, std::optional<std::size_t> bitsOffset)
{
    const std::optional<DibLayout> layout = readLayout(data, size);
    if (!layout)
        return {};
    const DibLayout& l = *layout;
    const std::size_t offset = bitsOffset ? *bitsOffset : l.defaultBitsOffset;
    if (offset > size)
        return {};

    // 32-bit pictures with unusual masks become plain 0x00RRGGBB pictures;
    // 16-bit ones keep their masks.
    bool keepMasks = l.compression == BI_BITFIELDS;
    if (keepMasks && l.bitCount == 16 && standardMasks(l, 0x7C00, 0x03E0, 0x001F))
        keepMasks = false;
    const bool remap32 =
        l.compression == BI_BITFIELDS && l.bitCount == 32 && !standardMasks(l, 0xFF0000, 0x00FF00, 0x0000FF);
    if (l.bitCount == 32)
        keepMasks = false;

    DibHandle dib = DibHandle::create(int(l.width), int(l.height), l.bitCount);
    if (!dib)
        return {};
    if (keepMasks) {
        // Room for the three masks between header and rows.
        DibHandle withMasks = DibHandle::adopt(std::calloc(1, dib.totalSize() + 12));
        if (!withMasks)
            return {};
        std::memcpy(withMasks.get(), dib.get(), 40);
        withMasks.header().compression = BI_BITFIELDS;
        std::memcpy(withMasks.palette(), l.masks, 12);
        dib = std::move(withMasks);
    }

    if (l.bitCount <= 8) {
        const std::size_t usable = std::min<std::size_t>(l.tableEntries, std::size_t{1} << l.bitCount);
        if (l.tableOffset + usable * l.tableEntrySize > size)
            return {};
        for (std::size_t i = 0; i < usable; ++i) {
            const std::uint8_t* e = data + l.tableOffset + i * l.tableEntrySize;
            dib.palette()[i] = {e[0], e[1], e[2], 0};
        }
    }

    const std::size_t stride = dib.stride();
    if (l.compression == BI_RLE8 || l.compression == BI_RLE4)
        return decodeBmpRle(data + offset, size - offset, dib) ? std::move(dib) : DibHandle{};

    if (size - offset < stride * static_cast<std::size_t>(l.height))
        return {};  // truncated
    for (std::int64_t y = 0; y < l.height; ++y) {
        const std::uint8_t* src = data + offset + static_cast<std::size_t>(y) * stride;
        const std::int64_t target = l.topDown ? l.height - 1 - y : y;  // bottom-up index
        std::memcpy(dib.bits() + static_cast<std::size_t>(target) * stride, src, stride);
    }
    if (remap32) {
        const MaskDecoder decode(l.masks);
        for (int y = 0; y < dib.height(); ++y) {
            std::uint8_t* row = dib.row(y);
            for (int x = 0; x < dib.width(); ++x) {
                const Bgr c = decode(readRaw(row, x, 32));
                writeRaw(row, x, 32, c.b | (c.g << 8) | (std::uint32_t(c.r) << 16));
            }
        }
    }
    return dib;
}

}  // namespace imgkit
