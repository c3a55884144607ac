#include "pelcalc/src/Dib.h"

#include <cstdlib>
#include <cstring>
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

namespace pelcalc {

namespace {

// A 24-bit DIB may carry a colour table (an optimisation hint for palette
// displays); more entries than a palette display has would be a lying header.
constexpr std::uint32_t kMaxColourTable = 256;

// Large pictures are written once from end to end; huge pages spare the
// thousands of page faults their first touch would otherwise take.
constexpr std::uint64_t kHugePageWorthwhile = 4u << 20;

void adviseHugePages(void* block, std::uint64_t bytes)
{
    if (bytes < kHugePageWorthwhile)
        return;
    const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const auto begin = (reinterpret_cast<std::uintptr_t>(block) + page - 1) & ~(page - 1);
    const auto end = (reinterpret_cast<std::uintptr_t>(block) + bytes) & ~(page - 1);
    if (end > begin)
        madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
}

}  // namespace

std::uint64_t rowStride(std::int64_t width, int bitCount)
{
    return static_cast<std::uint64_t>((width * bitCount + 31) / 32) * 4;
}

DibHeader readHeader(const void* block)
{
    DibHeader header;
    std::memcpy(&header, block, sizeof header);
    return header;
}

PictureCheck checkPicture(const void* block, Picture& picture)
{
    // Handles are malloc() blocks, so the allocator knows how many bytes may be
    // read: a header that claims more rows than the block holds is refused
    // instead of being read past its end.
    if (block == nullptr)
        return PictureCheck::Unusable;
    const std::size_t blockBytes = malloc_usable_size(const_cast<void*>(block));
    if (blockBytes < kHeaderSize)
        return PictureCheck::Unusable;
    const DibHeader header = readHeader(block);
    if (header.size != kHeaderSize)
        return PictureCheck::Unusable;
    if (header.bitCount != 24)
        return PictureCheck::NotTrueColour;
    if (header.width < 1 || header.height < 1 || header.compression != 0 || header.clrUsed > kMaxColourTable)
        return PictureCheck::Unusable;
    const std::uint64_t stride = rowStride(header.width, 24);
    const std::uint64_t offset = kHeaderSize + 4ull * header.clrUsed;
    const std::uint64_t total = offset + stride * static_cast<std::uint64_t>(header.height);
    if (total > kMaxBlockBytes || total > blockBytes)
        return PictureCheck::Unusable;
    picture.pixels = static_cast<std::uint8_t*>(const_cast<void*>(block)) + offset;
    picture.width = header.width;
    picture.height = header.height;
    picture.stride = static_cast<std::size_t>(stride);
    return PictureCheck::Ok;
}

void* newPicture(int width, int height, const DibHeader& like)
{
    if (width < 1 || height < 1)
        return nullptr;
    const std::uint64_t stride = rowStride(width, 24);
    const std::uint64_t pixelBytes = stride * static_cast<std::uint64_t>(height);
    if (kHeaderSize + pixelBytes > kMaxBlockBytes)
        return nullptr;
    void* block = std::malloc(kHeaderSize + pixelBytes);
    if (block == nullptr)
        return nullptr;
    adviseHugePages(block, kHeaderSize + pixelBytes);
    DibHeader header = like;
    header.size = kHeaderSize;
    header.width = width;
    header.height = height;
    header.bitCount = 24;
    header.compression = 0;
    header.sizeImage = static_cast<std::uint32_t>(pixelBytes);
    std::memcpy(block, &header, sizeof header);
    return block;
}

}  // namespace pelcalc
