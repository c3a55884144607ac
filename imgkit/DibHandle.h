// The picture currency of the whole system: a packed device-independent
// bitmap in one malloc() block (40-byte BITMAPINFOHEADER, colour table, pixel
// rows bottom-up, each padded to 4 bytes, blue-green-red order). The C
// boundary (pelcalc, GV) exchanges the block's address; in C++ the block
// always has exactly one owner, a DibHandle, which frees it once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>

// Frees a block made by this library or by pelcalc (both use malloc()).
// Accepts nullptr.
void ImgKitMemFree(void* block);

namespace imgkit {

#pragma pack(push, 1)
struct BitmapInfoHeader {
    std::uint32_t size;  // 40
    std::int32_t width;
    std::int32_t height;  // positive: rows bottom-up
    std::uint16_t planes;  // 1
    std::uint16_t bitCount;  // 1, 4, 8, 16, 24 or 32
    std::uint32_t compression;  // BI_RGB, or BI_BITFIELDS for 16 and 32 bits
    std::uint32_t sizeImage;
    std::int32_t xPelsPerMeter;
    std::int32_t yPelsPerMeter;
    std::uint32_t clrUsed;
    std::uint32_t clrImportant;
};
#pragma pack(pop)
static_assert(sizeof(BitmapInfoHeader) == 40);

constexpr std::uint32_t BI_RGB = 0;
constexpr std::uint32_t BI_RLE8 = 1;
constexpr std::uint32_t BI_RLE4 = 2;
constexpr std::uint32_t BI_BITFIELDS = 3;

struct Bgr {
    std::uint8_t b = 0, g = 0, r = 0;
    bool operator==(const Bgr&) const = default;
};

// A colour table entry as stored in the block (RGBQUAD).
struct RgbQuad {
    std::uint8_t blue, green, red, reserved;
};

// Bytes of one pixel row of `width` pixels at `bitCount`, padded to 4 bytes.
constexpr std::size_t dibStride(std::int64_t width, int bitCount)
{
    return static_cast<std::size_t>(((width * bitCount + 31) / 32) * 4);
}

class DibHandle {
public:
    DibHandle() = default;
    ~DibHandle() { ImgKitMemFree(m_block); }
    DibHandle(const DibHandle&) = delete;
    DibHandle& operator=(const DibHandle&) = delete;
    DibHandle(DibHandle&& other) noexcept : m_block(std::exchange(other.m_block, nullptr)) {}
    DibHandle& operator=(DibHandle&& other) noexcept
    {
        if (this != &other) {
            ImgKitMemFree(m_block);
            m_block = std::exchange(other.m_block, nullptr);
        }
        return *this;
    }

    // Takes over a block received across the C boundary. The block must be a
    // packed DIB in the layout above, allocated with malloc().
    static DibHandle adopt(void* block)
    {
        DibHandle h;
        h.m_block = block;
        return h;
    }
    // Hands the block to a C caller, who then owns it.
    [[nodiscard]] void* release() { return std::exchange(m_block, nullptr); }
    void reset() { ImgKitMemFree(std::exchange(m_block, nullptr)); }

    // A zero-filled picture; bitCount 1, 4 or 8 gets a colour table of
    // 2^bitCount entries (all black until set), 16 bits are 5-5-5 BI_RGB.
    // Empty when the size is out of the library's limits.
    static DibHandle create(int width, int height, int bitCount);
    // A zero-filled picture of the given size with the depth, colour table
    // or masks and resolution of `like`.
    static DibHandle createLike(const DibHandle& like, int width, int height);
    // A copy of this picture in the library's own layout.
    DibHandle clone() const;

    // True when the block holds a picture this library can work on: a
    // 40-byte header, bottom-up rows, a supported depth and compression, and
    // a size within the limits. Every library function checks this first.
    bool isUsable() const;

    void* get() const { return m_block; }
    explicit operator bool() const { return m_block != nullptr; }

    const BitmapInfoHeader& header() const { return *static_cast<const BitmapInfoHeader*>(m_block); }
    BitmapInfoHeader& header() { return *static_cast<BitmapInfoHeader*>(m_block); }
    int width() const { return header().width; }
    int height() const { return header().height; }
    int bitCount() const { return header().bitCount; }
    std::size_t stride() const { return dibStride(width(), bitCount()); }

    // Colour table entries (1, 4, 8 bits) or the three masks (BI_BITFIELDS).
    int paletteSize() const;
    RgbQuad* palette() { return reinterpret_cast<RgbQuad*>(static_cast<std::uint8_t*>(m_block) + 40); }
    const RgbQuad* palette() const
    {
        return reinterpret_cast<const RgbQuad*>(static_cast<const std::uint8_t*>(m_block) + 40);
    }
    const std::uint32_t* masks() const { return reinterpret_cast<const std::uint32_t*>(palette()); }

    std::uint8_t* bits() { return static_cast<std::uint8_t*>(m_block) + bitsOffset(); }
    const std::uint8_t* bits() const { return static_cast<const std::uint8_t*>(m_block) + bitsOffset(); }
    // Row y counted from the top of the picture.
    std::uint8_t* row(int y) { return bits() + static_cast<std::size_t>(height() - 1 - y) * stride(); }
    const std::uint8_t* row(int y) const
    {
        return bits() + static_cast<std::size_t>(height() - 1 - y) * stride();
    }

    std::size_t bitsOffset() const { return 40 + static_cast<std::size_t>(paletteSize()) * 4; }
    std::size_t totalSize() const { return bitsOffset() + stride() * static_cast<std::size_t>(height()); }

private:
    void* m_block = nullptr;
};

}  // namespace imgkit
