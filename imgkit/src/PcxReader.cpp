// PCX files: a 128-byte header, run-length coded scan lines (a byte with the
// two top bits set repeats the next byte up to 63 times), each scan line
// holding every colour plane in turn, and for 256-colour pictures a palette
// of 768 bytes after the marker 0x0C at the end of the file.
#include "imgkit/src/ByteReader.h"
#include "imgkit/src/Limits.h"
#include "imgkit/src/PixelAccess.h"
#include "imgkit/src/Readers.h"

#include <cstring>
#include <vector>

namespace imgkit {
namespace {

constexpr std::size_t kHeader = 128;

// The sixteen colours a header without its own palette stands for.
constexpr std::uint8_t kDefaultEga[16][3] = {{0, 0, 0},     {0, 0, 170},    {0, 170, 0},    {0, 170, 170},
                                             {170, 0, 0},   {170, 0, 170},  {170, 85, 0},   {170, 170, 170},
                                             {85, 85, 85},  {85, 85, 255},  {85, 255, 85},  {85, 255, 255},
                                             {255, 85, 85}, {255, 85, 255}, {255, 255, 85}, {255, 255, 255}};

// Reads the run-length stream one scan line at a time; a run may carry on
// into the next line, as some writers do.
class ScanLineDecoder {
public:
    ScanLineDecoder(const std::uint8_t* data, std::size_t size, bool encoded)
        : m_data(data), m_size(size), m_encoded(encoded)
    {}

    bool next(std::uint8_t* out, std::size_t length)
    {
        std::size_t filled = 0;
        while (filled < length) {
            if (m_repeat > 0) {
                const std::size_t n = std::min<std::size_t>(m_repeat, length - filled);
                std::memset(out + filled, m_value, n);
                filled += n;
                m_repeat -= n;
                continue;
            }
            if (m_pos >= m_size)
                return false;
            const std::uint8_t b = m_data[m_pos++];
            if (m_encoded && (b & 0xC0) == 0xC0) {
                if (m_pos >= m_size)
                    return false;
                m_repeat = b & 0x3F;
                m_value = m_data[m_pos++];
            } else {
                out[filled++] = b;
            }
        }
        return true;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    bool m_encoded;
    std::size_t m_pos = 0;
    std::size_t m_repeat = 0;
    std::uint8_t m_value = 0;
};

int dibDepth(int bitsPerPixel, int planes)
{
    if (planes == 1 && bitsPerPixel == 1)
        return 1;
    if ((planes == 1 && (bitsPerPixel == 2 || bitsPerPixel == 4)) ||
        (bitsPerPixel == 1 && planes >= 2 && planes <= 4))
        return 4;
    if (bitsPerPixel == 8 && planes == 1)
        return 8;
    if (bitsPerPixel == 8 && (planes == 3 || planes == 4))
        return 24;
    return 0;
}

void setPalette(DibHandle& dib, const std::uint8_t* data, std::size_t size, int version)
{
    if (dib.bitCount() == 1) {
        dib.palette()[1] = {255, 255, 255, 0};
    } else if (dib.bitCount() == 4) {
        for (int i = 0; i < 16; ++i) {
            const std::uint8_t* c = version == 3 ? kDefaultEga[i] : data + 16 + 3 * i;
            dib.palette()[i] = {c[2], c[1], c[0], 0};
        }
    } else if (dib.bitCount() == 8) {
        if (size >= kHeader + 769 && data[size - 769] == 0x0C) {
            const std::uint8_t* p = data + size - 768;
            for (int i = 0; i < 256; ++i)
                dib.palette()[i] = {p[3 * i + 2], p[3 * i + 1], p[3 * i], 0};
        } else {
            setGreyPalette(dib);
        }
    }
}

void storeLine(const std::uint8_t* line, std::size_t bytesPerLine, int bitsPerPixel, int planes,
               std::uint8_t* row, int width, std::size_t stride)
{
    if (planes == 1 && bitsPerPixel != 2) {
        std::memcpy(row, line, std::min(bytesPerLine, stride));
    } else if (planes == 1) {  // 2 bits per pixel become 4-bit indices
        for (int x = 0; x < width; ++x)
            writeRaw(row, x, 4, (line[x >> 2] >> (6 - 2 * (x & 3))) & 3u);
    } else if (bitsPerPixel == 1) {  // one bit of the index per plane
        for (int x = 0; x < width; ++x) {
            std::uint32_t index = 0;
            for (int p = 0; p < planes; ++p)
                index |= ((line[p * bytesPerLine + (x >> 3)] >> (7 - (x & 7))) & 1u) << p;
            writeRaw(row, x, 4, index);
        }
    } else {  // red, green, blue (and an ignored alpha) planes
        for (int x = 0; x < width; ++x) {
            row[3 * x] = line[2 * bytesPerLine + x];
            row[3 * x + 1] = line[bytesPerLine + x];
            row[3 * x + 2] = line[x];
        }
    }
}

}  // namespace

DibHandle readPcx(const std::uint8_t* data, std::size_t size)
{
    if (size < kHeader || data[0] != 0x0A || data[2] > 1)
        return {};
    const int version = data[1];
    const int bitsPerPixel = data[3];
    const int xMin = le16(data + 4), yMin = le16(data + 6);
    const int xMax = le16(data + 8), yMax = le16(data + 10);
    const int planes = data[65];
    const std::size_t bytesPerLine = le16(data + 66);
    if (xMax < xMin || yMax < yMin)
        return {};
    const int width = xMax - xMin + 1;
    const int height = yMax - yMin + 1;
    const int depth = dibDepth(bitsPerPixel, planes);
    if (depth == 0 || !sizeAllowed(width, height))
        return {};
    if (bytesPerLine * 8 < static_cast<std::size_t>(width) * bitsPerPixel)
        return {};
    // Each stored byte yields at most 63 (a run of two bytes), so a header
    // claiming more than that is lying about the size.
    const std::size_t lineBytes = bytesPerLine * planes;
    const std::size_t body = size - kHeader;
    if (lineBytes * static_cast<std::size_t>(height) > body * 32)
        return {};

    DibHandle dib = DibHandle::create(width, height, depth);
    if (!dib)
        return {};
    setPalette(dib, data, size, version);
    std::vector<std::uint8_t> line(lineBytes);
    ScanLineDecoder decoder(data + kHeader, body, data[2] == 1);
    for (int y = 0; y < height; ++y) {
        if (!decoder.next(line.data(), lineBytes))
            return {};  // truncated
        storeLine(line.data(), bytesPerLine, bitsPerPixel, planes, dib.row(y), width, dib.stride());
    }
    return dib;
}

}  // namespace imgkit
