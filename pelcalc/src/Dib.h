// The packed DIB layout that pelcalc reads and makes: a 40-byte
// BITMAPINFOHEADER, for 24-bit pictures an optional colour table of
// biClrUsed entries, then bottom-up rows padded to 4 bytes.
#pragma once

#include <cstddef>
#include <cstdint>

namespace pelcalc {

inline constexpr std::size_t kHeaderSize = 40;

// The largest block this library makes or accepts: the picture must fit the
// header's 32-bit image size and stay below 2 GiB.
inline constexpr std::uint64_t kMaxBlockBytes = 0x7FFFFFFFu;

struct DibHeader {
    std::uint32_t size = kHeaderSize;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t planes = 1;
    std::uint16_t bitCount = 24;
    std::uint32_t compression = 0;
    std::uint32_t sizeImage = 0;
    std::int32_t xPelsPerMeter = 0;
    std::int32_t yPelsPerMeter = 0;
    std::uint32_t clrUsed = 0;
    std::uint32_t clrImportant = 0;
};
static_assert(sizeof(DibHeader) == kHeaderSize);

// Bytes per stored row: ((width * bitCount + 31) / 32) * 4.
std::uint64_t rowStride(std::int64_t width, int bitCount);

// A 24-bit picture whose header has been checked against its block. Row 0 is
// the first stored row (the bottom of the picture).
struct Picture {
    std::uint8_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    std::size_t stride = 0;

    std::uint8_t* row(int storedRow) const { return pixels + storedRow * stride; }
};

enum class PictureCheck {
    Ok,
    NotTrueColour,  // a readable header with a bit count other than 24
    Unusable,  // absent, or a header that does not describe its block
};

// Checks `block` (a malloc() block or null) and describes it in `picture`.
// The header must be 40 bytes, bottom-up, uncompressed, and the rows it
// describes must lie inside the block.
PictureCheck checkPicture(const void* block, Picture& picture);

// A new 24-bit block of width x height (uninitialised pixels), its header a
// copy of `like` (or the defaults) with the size fields set; null when the
// size is out of range or memory runs out.
void* newPicture(int width, int height, const DibHeader& like = DibHeader{});

DibHeader readHeader(const void* block);

}  // namespace pelcalc
