#include "pelcalc/tests/TestPictures.h"

#include <cstring>
#include <random>

namespace pelcalc_test {

namespace {

std::size_t strideOf(int width, int bitCount)
{
    return static_cast<std::size_t>((width * bitCount + 31) / 32) * 4;
}

}  // namespace

Pixels randomPixels(int width, int height, std::uint32_t seed)
{
    Pixels pixels(width, height);
    std::mt19937 random(seed);
    for (std::uint8_t& byte : pixels.bytes)
        byte = static_cast<std::uint8_t>(random());
    return pixels;
}

std::int32_t headerField32(const void* block, int offset)
{
    std::int32_t value;
    std::memcpy(&value, static_cast<const char*>(block) + offset, 4);
    return value;
}

std::uint16_t headerField16(const void* block, int offset)
{
    std::uint16_t value;
    std::memcpy(&value, static_cast<const char*>(block) + offset, 2);
    return value;
}

void setHeaderField32(void* block, int offset, std::int32_t value)
{
    std::memcpy(static_cast<char*>(block) + offset, &value, 4);
}

Block makeBlock(const Pixels& pixels, int bitCount, int tableEntries)
{
    const std::size_t stride = strideOf(pixels.width, bitCount);
    const std::size_t table = 4 * static_cast<std::size_t>(tableEntries);
    const std::size_t bytes = 40 + table + stride * pixels.height;
    Block block(std::malloc(bytes));
    std::memset(block.get(), 0, bytes);
    auto* p = static_cast<char*>(block.get());
    setHeaderField32(p, 0, 40);
    setHeaderField32(p, 4, pixels.width);
    setHeaderField32(p, 8, pixels.height);
    const std::uint16_t planes = 1;
    const auto bits = static_cast<std::uint16_t>(bitCount);
    std::memcpy(p + 12, &planes, 2);
    std::memcpy(p + 14, &bits, 2);
    setHeaderField32(p, 20, static_cast<std::int32_t>(stride * pixels.height));
    setHeaderField32(p, 24, 2835);
    setHeaderField32(p, 28, 2835);
    setHeaderField32(p, 32, tableEntries);
    std::memset(p + 40, 0x5A, table);  // a table the pixels must not be read from
    if (bitCount == 24) {
        for (int r = 0; r < pixels.height; ++r)
            std::memcpy(p + 40 + table + r * stride, &pixels.bytes[3 * std::size_t(r) * pixels.width],
                        3 * pixels.width);
    }
    return block;
}

Pixels readBlock(const void* block)
{
    const int width = headerField32(block, 4);
    const int height = headerField32(block, 8);
    Pixels pixels(width, height);
    const std::size_t stride = strideOf(width, 24);
    const auto* p = static_cast<const char*>(block) + 40;
    for (int r = 0; r < height; ++r)
        std::memcpy(&pixels.bytes[3 * std::size_t(r) * width], p + r * stride, 3 * width);
    return pixels;
}

}  // namespace pelcalc_test
