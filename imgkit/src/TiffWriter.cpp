// ImgKitTiffFileSave: one-page TIFF files in strips. Two-colour pictures are
// bilevel (white-is-zero for the fax schemes), grey-ramp palettes grey,
// other palettes palette-colour, everything else 24-bit RGB.
#include "imgkit/ImgKit.h"

#include "imgkit/src/FaxG4.h"
#include "imgkit/src/FileBytes.h"
#include "imgkit/src/PixelAccess.h"
#include "imgkit/src/Progress.h"
#include "imgkit/src/TiffStream.h"

#include <algorithm>
#include <memory>
#include <system_error>
#include <thread>
#include <vector>

namespace imgkit {
namespace {

int luminance(Bgr c) { return 299 * c.r + 587 * c.g + 114 * c.b; }

struct Layout {
    std::uint16_t photometric = PHOTOMETRIC_RGB;
    int bits = 8;
    int samples = 3;
    std::uint32_t inkIndex = 1;  // bilevel fax pictures: the index drawn black
};

Layout chooseLayout(const DibHandle& dib, bool fax)
{
    Layout l;
    if (dib.bitCount() > 8)
        return l;
    l.bits = dib.bitCount();
    l.samples = 1;
    if (fax) {
        l.photometric = PHOTOMETRIC_MINISWHITE;
        l.inkIndex = luminance(paletteColor(dib, 1)) < luminance(paletteColor(dib, 0)) ? 1 : 0;
    } else {
        l.photometric = hasGreyRamp(dib) ? PHOTOMETRIC_MINISBLACK : PHOTOMETRIC_PALETTE;
    }
    return l;
}

void fillLine(const DibHandle& dib, const Layout& l, int y, std::vector<std::uint8_t>& line)
{
    const std::uint8_t* row = dib.row(y);
    if (l.photometric == PHOTOMETRIC_MINISWHITE) {
        // Bits of index 1 are set in the row: they are the ink as they stand, or inverted.
        const std::uint8_t flip = l.inkIndex == 1 ? 0x00 : 0xFF;
        for (std::size_t i = 0; i < line.size(); ++i)
            line[i] = row[i] ^ flip;
        if (const int spare = int(line.size() * 8) - dib.width(); spare > 0)
            line.back() &= std::uint8_t(0xFF << spare);
    } else if (l.samples == 1) {
        std::copy(row, row + line.size(), line.begin());
    } else {
        readRowBgr(dib, y, line.data());
        for (std::size_t i = 0; i + 2 < line.size(); i += 3)
            std::swap(line[i], line[i + 2]);
    }
}

struct TiffCloser {
    void operator()(TIFF* tif) const { TIFFClose(tif); }
};

// Group 4 strips through our own coder, which writes what libtiff's would,
// faster; the strips are coded apart from each other, so the first half of
// them is coded on a second thread meanwhile.
bool writeGroup4Strips(TIFF* tif, const DibHandle& dib, const Layout& l, std::uint32_t rowsPerStrip,
                       std::size_t lineBytes, Progress& progress)
{
    const int h = dib.height();
    const int stripRows = int(std::min<std::uint32_t>(rowsPerStrip, std::uint32_t(h)));
    const int strips = (h + stripRows - 1) / stripRows;
    std::vector<std::vector<std::uint8_t>> coded(std::size_t(strips), std::vector<std::uint8_t>{});
    const auto codeStrips = [&](int from, int to, Progress* shown) {
        std::vector<std::uint8_t> lines(lineBytes * std::size_t(stripRows));
        std::vector<std::uint8_t> line(lineBytes);
        for (int strip = from; strip < to; ++strip) {
            const int top = strip * stripRows;
            const int rows = std::min(stripRows, h - top);
            for (int y = 0; y < rows; ++y) {
                fillLine(dib, l, top + y, line);
                std::copy(line.begin(), line.end(), lines.begin() + std::ptrdiff_t(lineBytes) * y);
            }
            encodeG4Strip(lines.data(), lineBytes, dib.width(), rows, coded[std::size_t(strip)]);
            if (shown && (strip & 15) == 0)
                shown->update(strip - from, to - from);
        }
    };
    const int half = strips / 2;
    std::thread firstHalf;
    try {
        firstHalf = std::thread(codeStrips, 0, half, nullptr);
    } catch (const std::system_error&) {
        codeStrips(0, half, nullptr);  // no thread to be had: one after the other
    }
    codeStrips(half, strips, &progress);
    if (firstHalf.joinable())
        firstHalf.join();
    for (int strip = 0; strip < strips; ++strip) {
        std::vector<std::uint8_t>& bytes = coded[std::size_t(strip)];
        if (TIFFWriteRawStrip(tif, std::uint32_t(strip), bytes.data(), tmsize_t(bytes.size())) < 0)
            return false;
        std::vector<std::uint8_t>().swap(bytes);
    }
    return TIFFWriteDirectory(tif) != 0;
}

bool writeTiff(TIFF* tif, const DibHandle& dib, int compression, Progress& progress)
{
    static const std::uint16_t schemes[] = {COMPRESSION_NONE,      COMPRESSION_CCITTRLE,
                                            COMPRESSION_CCITTFAX3, COMPRESSION_CCITTFAX3,
                                            COMPRESSION_CCITTFAX4, COMPRESSION_PACKBITS};
    const bool fax = compression >= 1 && compression <= 4;
    const Layout l = chooseLayout(dib, fax);
    const std::uint32_t w = static_cast<std::uint32_t>(dib.width());
    const std::uint32_t h = static_cast<std::uint32_t>(dib.height());
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, w);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, h);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, l.bits);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, l.samples);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, l.photometric);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, schemes[compression]);
    if (compression == 3)
        TIFFSetField(tif, TIFFTAG_GROUP3OPTIONS, GROUP3OPT_2DENCODING);
    TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
    TIFFSetField(tif, TIFFTAG_XRESOLUTION,
                 float(dib.header().xPelsPerMeter > 0 ? dib.header().xPelsPerMeter * 0.0254 : 96));
    TIFFSetField(tif, TIFFTAG_YRESOLUTION,
                 float(dib.header().yPelsPerMeter > 0 ? dib.header().yPelsPerMeter * 0.0254 : 96));
    const std::uint32_t rowsPerStrip = TIFFDefaultStripSize(tif, 0);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, rowsPerStrip);
    if (l.photometric == PHOTOMETRIC_PALETTE) {
        const int n = 1 << l.bits;
        std::vector<std::uint16_t> r(n), g(n), b(n);
        for (int i = 0; i < n; ++i) {
            const Bgr c = paletteColor(dib, i);
            r[i] = std::uint16_t(c.r * 257);
            g[i] = std::uint16_t(c.g * 257);
            b[i] = std::uint16_t(c.b * 257);
        }
        TIFFSetField(tif, TIFFTAG_COLORMAP, r.data(), g.data(), b.data());
    }
    std::vector<std::uint8_t> line((static_cast<std::size_t>(w) * l.bits * l.samples + 7) / 8);
    if (compression == 4)
        return writeGroup4Strips(tif, dib, l, rowsPerStrip, line.size(), progress);
    for (std::uint32_t y = 0; y < h; ++y) {
        fillLine(dib, l, int(y), line);
        if (TIFFWriteScanline(tif, line.data(), y, 0) < 0)
            return false;
        if ((y & 255) == 0)
            progress.update(y, h);
    }
    return TIFFWriteDirectory(tif) != 0;
}

}  // namespace
}  // namespace imgkit

using imgkit::DibHandle;

int ImgKitTiffFileSave(const QString& file, const DibHandle& dib, const QString& caption,
                       const QString& message, int compression)
{
    if (!dib.isUsable() || compression < 0 || compression > 5)
        return 0;
    if (compression >= 1 && compression <= 4 && dib.bitCount() != 1)
        return 0;  // the fax schemes code two-colour pictures only
    imgkit::Progress progress(caption, message);
    std::vector<std::uint8_t> bytes;
    imgkit::TiffMemory memory;
    memory.writeData = &bytes;
    {
        std::unique_ptr<TIFF, imgkit::TiffCloser> tif(imgkit::openTiffWriter(memory));
        if (!tif || !imgkit::writeTiff(tif.get(), dib, compression, progress))
            return 0;
    }  // closing flushes the last directory into `bytes`
    return imgkit::writeFileBytes(file, bytes.data(), bytes.size()) ? 1 : 0;
}
