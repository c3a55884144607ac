// TIFF through libtiff. Bilevel, grey and palette pictures of 1, 4 or 8 bits
// keep their depth and 16-bit grey becomes 8-bit grey, from strips or tiles
// alike; everything else (colour, other sample sizes, every compression
// libtiff knows) goes through libtiff's RGBA reader in bands of rows and is
// laid over white into a 24-bit picture. Rows come out as stored; the loader
// applies the Orientation tag.
#include "imgkit/src/ColourProfile.h"
#include "imgkit/src/Limits.h"
#include "imgkit/src/LoadOptions.h"
#include "imgkit/src/PixelAccess.h"
#include "imgkit/src/Progress.h"
#include "imgkit/src/Readers.h"
#include "imgkit/src/TiffStream.h"

#include <cstring>
#include <memory>
#include <vector>

namespace imgkit {
namespace {

struct TiffCloser {
    void operator()(TIFF* tif) const { TIFFClose(tif); }
};
using TiffPtr = std::unique_ptr<TIFF, TiffCloser>;

bool fillPalette(TIFF* tif, DibHandle& dib, std::uint16_t photometric)
{
    const int entries = 1 << dib.bitCount();
    if (photometric == PHOTOMETRIC_PALETTE) {
        std::uint16_t *r, *g, *b;
        if (!TIFFGetField(tif, TIFFTAG_COLORMAP, &r, &g, &b))
            return false;
        // Some writers store 8-bit values in the 16-bit colour map.
        bool eightBit = true;
        for (int i = 0; i < entries && eightBit; ++i)
            eightBit = r[i] < 256 && g[i] < 256 && b[i] < 256;
        const int shift = eightBit ? 0 : 8;
        for (int i = 0; i < entries; ++i)
            dib.palette()[i] = {std::uint8_t(b[i] >> shift), std::uint8_t(g[i] >> shift),
                                std::uint8_t(r[i] >> shift), 0};
        return true;
    }
    setGreyPalette(dib);
    if (photometric == PHOTOMETRIC_MINISWHITE)
        for (int i = 0; i < entries; ++i) {
            RgbQuad& q = dib.palette()[i];
            q.red = q.green = q.blue = std::uint8_t(255 - q.red);
        }
    return true;
}

// Hands every row of the picture, from the top, to `row` as the bytes of one
// scanline, read from strips or from tiles alike.
template <class RowFn>
bool forEachRow(TIFF* tif, int height, Progress* progress, RowFn&& row)
{
    const tmsize_t lineSize = TIFFScanlineSize(tif);
    if (lineSize <= 0)
        return false;
    std::vector<std::uint8_t> line(static_cast<std::size_t>(lineSize));
    if (!TIFFIsTiled(tif)) {
        for (int y = 0; y < height; ++y) {
            if (TIFFReadScanline(tif, line.data(), static_cast<std::uint32_t>(y), 0) < 0)
                return false;
            row(y, line.data());
            if ((y & 255) == 0 && !reportProgress(progress, y, height))
                return false;
        }
        return true;
    }
    std::uint32_t width = 0, tileWidth = 0, tileLength = 0;
    TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &width);
    std::uint16_t bits = 1, samples = 1;
    TIFFGetField(tif, TIFFTAG_TILEWIDTH, &tileWidth);
    TIFFGetField(tif, TIFFTAG_TILELENGTH, &tileLength);
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &samples);
    const std::uint64_t pixelBits = std::uint64_t(bits) * samples;
    const tmsize_t tileSize = TIFFTileSize(tif), tileRowSize = TIFFTileRowSize(tif);
    // A tile's first byte must start a pixel; tiles are whole 16-pixel multiples.
    if (tileWidth == 0 || tileLength == 0 || (tileWidth * pixelBits) % 8 != 0 || tileSize <= 0 ||
        tileRowSize <= 0 || std::uint64_t(tileRowSize) * tileLength > std::uint64_t(tileSize))
        return false;
    const std::size_t bandRows = std::min<std::size_t>(tileLength, std::size_t(height));
    std::vector<std::uint8_t> tile(static_cast<std::size_t>(tileSize));
    std::vector<std::uint8_t> band(bandRows * static_cast<std::size_t>(lineSize));
    for (std::uint32_t top = 0; top < std::uint32_t(height); top += tileLength) {
        const std::size_t rows = std::min<std::size_t>(tileLength, height - top);
        for (std::uint32_t left = 0; left < width; left += tileWidth) {
            if (TIFFReadTile(tif, tile.data(), left, top, 0, 0) < 0)
                return false;
            const std::size_t offset = std::size_t(left * pixelBits / 8);
            if (offset >= std::size_t(lineSize))
                break;
            const std::size_t count = std::min<std::size_t>(tileRowSize, lineSize - offset);
            for (std::size_t r = 0; r < rows; ++r)
                std::memcpy(band.data() + r * lineSize + offset, tile.data() + r * tileRowSize, count);
        }
        for (std::size_t r = 0; r < rows; ++r)
            row(int(top + r), band.data() + r * lineSize);
        if (!reportProgress(progress, top + rows, height))
            return false;
    }
    return true;
}

// Bilevel, grey and palette pictures of 1, 4 or 8 bits keep their depth;
// 16-bit grey becomes 8-bit grey, each sample scaled to 0..255.
DibHandle readIndexed(TIFF* tif, int width, int height, int bits, std::uint16_t photometric,
                      Progress* progress)
{
    const int dibBits = bits == 16 ? 8 : bits;
    DibHandle dib = DibHandle::create(width, height, dibBits);
    if (!dib || !fillPalette(tif, dib, photometric))
        return {};
    const tmsize_t lineSize = TIFFScanlineSize(tif);
    const std::size_t needed = bits == 16 ? std::size_t(width) * 2 : dibStride(width, bits) - 3;
    if (lineSize <= 0 || static_cast<std::size_t>(lineSize) < needed)
        return {};
    const std::size_t copy = std::min(static_cast<std::size_t>(lineSize), dib.stride());
    const bool ok = forEachRow(tif, height, progress, [&](int y, const std::uint8_t* line) {
        std::uint8_t* out = dib.row(y);
        if (bits != 16) {
            std::memcpy(out, line, copy);
            return;
        }
        // libtiff hands 16-bit samples over in this machine's byte order.
        const auto* samples = reinterpret_cast<const std::uint16_t*>(line);
        for (int x = 0; x < width; ++x) {
            std::uint16_t v;
            std::memcpy(&v, samples + x, 2);
            out[x] = std::uint8_t((v * 255u + 32767u) / 65535u);
        }
    });
    return ok ? std::move(dib) : DibHandle{};
}

DibHandle readRgba(TIFF* tif, int width, int height, Progress* progress)
{
    char message[1024];
    if (!TIFFRGBAImageOK(tif, message))
        return {};
    TIFFRGBAImage img;
    if (!TIFFRGBAImageBegin(&img, tif, 0, message))
        return {};
    // Rows in the order stored: the loader stands the picture upright for
    // all eight orientations, as for the other formats.
    img.req_orientation = img.orientation;
    DibHandle dib = DibHandle::create(width, height, 24);
    const int band = 256;
    std::vector<std::uint32_t> raster;
    bool ok = static_cast<bool>(dib);
    if (ok)
        raster.resize(static_cast<std::size_t>(width) * band);
    for (int y = 0; ok && y < height; y += band) {
        const int rows = std::min(band, height - y);
        img.row_offset = y;
        img.col_offset = 0;
        if (!TIFFRGBAImageGet(&img, raster.data(), static_cast<std::uint32_t>(width),
                              static_cast<std::uint32_t>(rows))) {
            ok = false;
            break;
        }
        for (int r = 0; r < rows; ++r) {
            const std::uint32_t* src = raster.data() + static_cast<std::size_t>(r) * width;
            std::uint8_t* out = dib.row(y + r);
            for (int x = 0; x < width; ++x) {
                const std::uint32_t p = src[x];
                const unsigned a = TIFFGetA(p);
                // Pixels are premultiplied by libtiff, so white shows through as (255 - a).
                out[3 * x] = std::uint8_t(std::min(255u, TIFFGetB(p) + 255 - a));
                out[3 * x + 1] = std::uint8_t(std::min(255u, TIFFGetG(p) + 255 - a));
                out[3 * x + 2] = std::uint8_t(std::min(255u, TIFFGetR(p) + 255 - a));
            }
        }
        ok = reportProgress(progress, y + rows, height);
    }
    TIFFRGBAImageEnd(&img);
    return ok ? std::move(dib) : DibHandle{};
}

}  // namespace

DibHandle readTiff(const std::uint8_t* data, std::size_t size, Progress* progress)
{
    if (size < 8 || !((data[0] == 'I' && data[1] == 'I') || (data[0] == 'M' && data[1] == 'M')))
        return {};
    TiffMemory memory;
    memory.readData = data;
    memory.size = size;
    TiffPtr tif(openTiffReader(memory));
    if (!tif)
        return {};
    std::uint32_t width = 0, height = 0;
    std::uint16_t bits = 1, samples = 1, photometric = PHOTOMETRIC_MINISWHITE;
    if (!TIFFGetField(tif.get(), TIFFTAG_IMAGEWIDTH, &width) ||
        !TIFFGetField(tif.get(), TIFFTAG_IMAGELENGTH, &height) || !sizeAllowed(width, height))
        return {};
    TIFFGetFieldDefaulted(tif.get(), TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tif.get(), TIFFTAG_SAMPLESPERPIXEL, &samples);
    if (!TIFFGetField(tif.get(), TIFFTAG_PHOTOMETRIC, &photometric))
        photometric = PHOTOMETRIC_MINISWHITE;
    const bool grey = photometric == PHOTOMETRIC_MINISBLACK || photometric == PHOTOMETRIC_MINISWHITE;
    const bool indexed =
        samples == 1 &&
        (((bits == 1 || bits == 4 || bits == 8) && (grey || photometric == PHOTOMETRIC_PALETTE)) ||
         (bits == 16 && grey));
    if (indexed)
        return readIndexed(tif.get(), int(width), int(height), bits, photometric, progress);
    DibHandle dib = readRgba(tif.get(), int(width), int(height), progress);
    std::uint32_t profileSize = 0;
    const std::uint8_t* profile = nullptr;
    if (dib && colourProfilesOnLoad() &&
        (photometric == PHOTOMETRIC_RGB || photometric == PHOTOMETRIC_YCBCR) &&
        TIFFGetField(tif.get(), TIFFTAG_ICCPROFILE, &profileSize, &profile))
        convertToSrgb(dib, profile, profileSize);
    return dib;
}

}  // namespace imgkit
