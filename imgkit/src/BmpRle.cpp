// RLE8 and RLE4 expansion. The stream is a sequence of (count, value) runs
// and escapes: 0 0 end of line, 0 1 end of bitmap, 0 2 dx dy move, 0 n an
// absolute run of n pixels padded to 16 bits. Rows are counted from the
// bottom, as stored.
#include "imgkit/src/DibParser.h"

#include "imgkit/src/PixelAccess.h"

namespace imgkit {

bool decodeBmpRle(const std::uint8_t* data, std::size_t size, DibHandle& dib)
{
    const int bits = dib.bitCount();
    const int width = dib.width();
    const int height = dib.height();
    std::size_t pos = 0;
    int x = 0;
    int y = 0;  // from the bottom
    auto rowAt = [&](int bottomUpY) {
        return dib.bits() + static_cast<std::size_t>(bottomUpY) * dib.stride();
    };

    while (pos + 2 <= size) {
        const std::uint8_t count = data[pos];
        const std::uint8_t value = data[pos + 1];
        pos += 2;
        if (count > 0) {
            if (y >= height || x + count > width)
                return false;
            std::uint8_t* row = rowAt(y);
            for (int i = 0; i < count; ++i) {
                const std::uint32_t v = bits == 8 ? value : ((i & 1) ? (value & 0x0F) : (value >> 4));
                writeRaw(row, x++, bits, v);
            }
            continue;
        }
        switch (value) {
        case 0:  // end of line
            x = 0;
            if (++y > height)
                return false;
            break;
        case 1:  // end of bitmap
            return true;
        case 2: {  // move right and up
            if (pos + 2 > size)
                return false;
            x += data[pos];
            y += data[pos + 1];
            pos += 2;
            if (x > width || y > height || (y == height && x > 0))
                return false;
            break;
        }
        default: {  // absolute run of `value` pixels
            const std::size_t bytes = bits == 8 ? value : (value + 1u) / 2;
            const std::size_t padded = (bytes + 1) & ~std::size_t{1};
            if (pos + padded > size || y >= height || x + value > width)
                return false;
            std::uint8_t* row = rowAt(y);
            for (int i = 0; i < value; ++i) {
                const std::uint8_t b = data[pos + (bits == 8 ? i : i / 2)];
                const std::uint32_t v = bits == 8 ? b : ((i & 1) ? (b & 0x0F) : (b >> 4));
                writeRaw(row, x++, bits, v);
            }
            pos += padded;
        }
        }
    }
    // Some writers stop after the last row's end-of-line without an end-of-bitmap.
    return y >= height;
}

}  // namespace imgkit
