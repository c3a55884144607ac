#include "imgkit/DibHandle.h"

#include "imgkit/src/Limits.h"

#include <cstdlib>
#include <cstring>

#ifdef __linux__
#include <sys/mman.h>
#endif

void ImgKitMemFree(void* block) { std::free(block); }

namespace imgkit {
namespace {

// A zero-filled block that free() releases. Large pictures ask for huge
// pages: faulting in a 12-megapixel picture 4 KB at a time costs more than
// decoding much of a JPEG.
void* allocateZeroed(std::size_t size)
{
#ifdef __linux__
    constexpr std::size_t kHugePage = std::size_t{2} << 20;
    if (size >= 2 * kHugePage) {
        void* block = nullptr;
        if (posix_memalign(&block, kHugePage, size) != 0)
            return nullptr;
        madvise(block, size, MADV_HUGEPAGE);
        std::memset(block, 0, size);
        return block;
    }
#endif
    return std::calloc(1, size);
}

}  // namespace

int DibHandle::paletteSize() const
{
    const BitmapInfoHeader& h = header();
    if (h.bitCount <= 8) {
        const std::uint32_t full = 1u << h.bitCount;
        return static_cast<int>(h.clrUsed != 0 && h.clrUsed < full ? h.clrUsed : full);
    }
    return h.compression == BI_BITFIELDS ? 3 : 0;
}

bool DibHandle::isUsable() const
{
    if (!m_block)
        return false;
    const BitmapInfoHeader& h = header();
    if (h.size != 40 || !sizeAllowed(h.width, h.height))
        return false;
    switch (h.bitCount) {
    case 1:
    case 4:
    case 8:
    case 24: return h.compression == BI_RGB;
    case 16:
    case 32: return h.compression == BI_RGB || h.compression == BI_BITFIELDS;
    default: return false;
    }
}

DibHandle DibHandle::create(int width, int height, int bitCount)
{
    if (!sizeAllowed(width, height))
        return {};
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32)
        return {};
    const std::size_t paletteBytes = bitCount <= 8 ? (std::size_t{1} << bitCount) * 4 : 0;
    const std::size_t imageBytes = dibStride(width, bitCount) * static_cast<std::size_t>(height);
    void* block = allocateZeroed(40 + paletteBytes + imageBytes);
    if (!block)
        return {};
    DibHandle dib = adopt(block);
    BitmapInfoHeader& h = dib.header();
    h.size = 40;
    h.width = width;
    h.height = height;
    h.planes = 1;
    h.bitCount = static_cast<std::uint16_t>(bitCount);
    h.compression = BI_RGB;
    h.sizeImage = static_cast<std::uint32_t>(imageBytes);
    h.xPelsPerMeter = h.yPelsPerMeter = 3780;  // 96 dpi
    return dib;
}

DibHandle DibHandle::createLike(const DibHandle& like, int width, int height)
{
    DibHandle dib = create(width, height, like.bitCount());
    if (!dib)
        return {};
    if (like.header().compression == BI_BITFIELDS) {
        DibHandle withMasks = adopt(std::calloc(1, dib.totalSize() + 12));
        if (!withMasks)
            return {};
        std::memcpy(withMasks.get(), dib.get(), 40);
        withMasks.header().compression = BI_BITFIELDS;
        dib = std::move(withMasks);
    }
    std::memcpy(dib.palette(), like.palette(), static_cast<std::size_t>(like.paletteSize()) * 4);
    dib.header().xPelsPerMeter = like.header().xPelsPerMeter;
    dib.header().yPelsPerMeter = like.header().yPelsPerMeter;
    return dib;
}

DibHandle DibHandle::clone() const
{
    DibHandle copy = createLike(*this, width(), height());
    if (copy)
        std::memcpy(copy.bits(), bits(), stride() * static_cast<std::size_t>(height()));
    return copy;
}

}  // namespace imgkit
