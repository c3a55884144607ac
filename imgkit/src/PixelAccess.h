// Uniform access to the pixels of every depth a DibHandle may hold.
#pragma once

#include "imgkit/DibHandle.h"

#include <array>
#include <cstdint>

namespace imgkit {

// The packed value of pixel x in a row: a palette index for 1, 4 and 8 bits,
// the raw little-endian pixel for 16, 24 and 32 bits.
inline std::uint32_t readRaw(const std::uint8_t* row, int x, int bitCount)
{
    switch (bitCount) {
    case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1u;
    case 4: return (x & 1) ? (row[x >> 1] & 0x0Fu) : (row[x >> 1] >> 4);
    case 8: return row[x];
    case 16: return row[2 * x] | (row[2 * x + 1] << 8);
    case 24: return row[3 * x] | (row[3 * x + 1] << 8) | (std::uint32_t(row[3 * x + 2]) << 16);
    default:
        return row[4 * x] | (row[4 * x + 1] << 8) | (std::uint32_t(row[4 * x + 2]) << 16) |
               (std::uint32_t(row[4 * x + 3]) << 24);
    }
}

inline void writeRaw(std::uint8_t* row, int x, int bitCount, std::uint32_t v)
{
    switch (bitCount) {
    case 1: {
        const std::uint8_t bit = std::uint8_t(0x80u >> (x & 7));
        row[x >> 3] = (v & 1) ? (row[x >> 3] | bit) : (row[x >> 3] & ~bit);
        break;
    }
    case 4:
        row[x >> 1] = (x & 1) ? std::uint8_t((row[x >> 1] & 0xF0) | (v & 0x0F))
                              : std::uint8_t((row[x >> 1] & 0x0F) | ((v & 0x0F) << 4));
        break;
    case 8: row[x] = std::uint8_t(v); break;
    case 16:
        row[2 * x] = std::uint8_t(v);
        row[2 * x + 1] = std::uint8_t(v >> 8);
        break;
    case 24:
        row[3 * x] = std::uint8_t(v);
        row[3 * x + 1] = std::uint8_t(v >> 8);
        row[3 * x + 2] = std::uint8_t(v >> 16);
        break;
    default:
        for (int i = 0; i < 4; ++i)
            row[4 * x + i] = std::uint8_t(v >> (8 * i));
    }
}

// Decodes a 16- or 32-bit pixel through masks into 8-bit channels.
class MaskDecoder {
public:
    explicit MaskDecoder(const DibHandle& dib);
    // Masks in the order red, green, blue.
    explicit MaskDecoder(const std::uint32_t* masks);
    Bgr operator()(std::uint32_t raw) const;
    // The raw pixel closest to a colour (bits outside the masks are zero).
    std::uint32_t encode(Bgr colour) const;

private:
    struct Channel {
        std::uint32_t mask = 0;
        int shift = 0;
        std::uint32_t max = 0;
    };
    std::array<Channel, 3> m_channels;  // red, green, blue
};

// Every pixel of row y (from the top) as blue, green, red bytes.
void readRowBgr(const DibHandle& dib, int y, std::uint8_t* out);

// A palette entry; indices past the table read as black.
Bgr paletteColor(const DibHandle& dib, std::uint32_t index);

// True when every colour table entry has red == green == blue.
bool hasGreyPalette(const DibHandle& dib);

// True when the colour table is the full ramp from black to white in index
// order (index == grey level scaled to the depth).
bool hasGreyRamp(const DibHandle& dib);

// Fills an 8-bit picture's table with the 256 grey levels.
void setGreyPalette(DibHandle& dib);

}  // namespace imgkit
