// TIFF through libtiff. Bilevel, grey and palette pictures of 1, 4 or 8 bits
// stored in strips keep their depth; everything else (colour, tiles, other
// sample sizes, every compression libtiff knows) goes through libtiff's RGBA
// reader in bands of rows and is laid over white into a 24-bit picture.
#include "Limits.h"
#include "PixelAccess.h"
#include "Progress.h"
#include "Readers.h"
#include "TiffStream.h"

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

DibHandle readIndexed(TIFF* tif, int width, int height, int bits, std::uint16_t photometric,
                      Progress* progress)
{
    DibHandle dib = DibHandle::create(width, height, bits);
    if (!dib || !fillPalette(tif, dib, photometric))
        return {};
    const tmsize_t lineSize = TIFFScanlineSize(tif);
    if (lineSize <= 0 || static_cast<std::size_t>(lineSize) < dibStride(width, bits) - 3)
        return {};
    std::vector<std::uint8_t> line(static_cast<std::size_t>(lineSize));
    const std::size_t copy = std::min(static_cast<std::size_t>(lineSize), dib.stride());
    for (int y = 0; y < height; ++y) {
        if (TIFFReadScanline(tif, line.data(), static_cast<std::uint32_t>(y), 0) < 0)
            return {};
        std::memcpy(dib.row(y), line.data(), copy);
        if ((y & 255) == 0 && !reportProgress(progress, y, height))
            return {};
    }
    return dib;
}

DibHandle readRgba(TIFF* tif, int width, int height, Progress* progress)
{
    char message[1024];
    if (!TIFFRGBAImageOK(tif, message))
        return {};
    TIFFRGBAImage img;
    if (!TIFFRGBAImageBegin(&img, tif, 0, message))
        return {};
    img.req_orientation = ORIENTATION_TOPLEFT;
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
    if (!TIFFGetField(tif.get(), TIFFTAG_IMAGEWIDTH, &width)
        || !TIFFGetField(tif.get(), TIFFTAG_IMAGELENGTH, &height) || !sizeAllowed(width, height))
        return {};
    TIFFGetFieldDefaulted(tif.get(), TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tif.get(), TIFFTAG_SAMPLESPERPIXEL, &samples);
    if (!TIFFGetField(tif.get(), TIFFTAG_PHOTOMETRIC, &photometric))
        photometric = PHOTOMETRIC_MINISWHITE;
    const bool indexed = samples == 1 && (bits == 1 || bits == 4 || bits == 8)
        && (photometric == PHOTOMETRIC_MINISBLACK || photometric == PHOTOMETRIC_MINISWHITE
            || photometric == PHOTOMETRIC_PALETTE)
        && !TIFFIsTiled(tif.get());
    if (indexed)
        return readIndexed(tif.get(), int(width), int(height), bits, photometric, progress);
    return readRgba(tif.get(), int(width), int(height), progress);
}

}  // namespace imgkit
