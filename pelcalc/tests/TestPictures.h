// Pictures for the pelcalc tests: plain pixel arrays in stored row order and
// the packed blocks made from them, built here byte by byte so the tests do
// not lean on the library's own header code.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

namespace pelcalc_test {

struct FreeBlock {
    void operator()(void* block) const { std::free(block); }
};
using Block = std::unique_ptr<void, FreeBlock>;

// width x height pixels, 3 bytes each (b, g, r), row 0 = first stored row.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bytes;

    Pixels() = default;
    Pixels(int w, int h, std::uint8_t fill = 0) : width(w), height(h), bytes(3 * w * h, fill) {}
    std::uint8_t& at(int storedRow, int x, int channel)
    {
        return bytes[(static_cast<std::size_t>(storedRow) * width + x) * 3 + channel];
    }
    std::uint8_t at(int storedRow, int x, int channel) const
    {
        return bytes[(static_cast<std::size_t>(storedRow) * width + x) * 3 + channel];
    }
    bool operator==(const Pixels&) const = default;
};

Pixels randomPixels(int width, int height, std::uint32_t seed);

// A malloc() block: 40-byte header with the given bit count, an optional
// colour table of `tableEntries` entries, rows padded to 4 bytes.
Block makeBlock(const Pixels& pixels, int bitCount = 24, int tableEntries = 0);

// Header fields by byte offset.
std::int32_t headerField32(const void* block, int offset);
std::uint16_t headerField16(const void* block, int offset);
void setHeaderField32(void* block, int offset, std::int32_t value);

// The pixels of a 24-bit block without a colour table.
Pixels readBlock(const void* block);

}  // namespace pelcalc_test
