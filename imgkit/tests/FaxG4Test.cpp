// Our Group 4 coder against libtiff's: the same bytes for the same lines,
// and libtiff's decoder giving the lines back.
#include "imgkit/src/FaxG4.h"
#include "imgkit/tests/TestPictures.h"

#include <gtest/gtest.h>
#include <tiffio.h>

#include <random>

using namespace imgkit::test;

namespace {

struct Lines {
    int width = 0;
    int rows = 0;
    std::vector<std::uint8_t> bytes;  // rows of (width + 7) / 8 bytes, 1 = black, spare bits clear

    std::size_t stride() const { return std::size_t(width + 7) / 8; }
    void set(int x, int y)
    {
        bytes[std::size_t(y) * stride() + std::size_t(x) / 8] |= std::uint8_t(0x80 >> (x & 7));
    }
};

Lines blank(int width, int rows)
{
    Lines l;
    l.width = width;
    l.rows = rows;
    l.bytes.assign(l.stride() * std::size_t(rows), 0);
    return l;
}

// Dither-like noise whose density changes from row to row, every other row
// a copy of the one above shifted by up to three pixels (the vertical modes).
Lines noise(int width, int rows)
{
    Lines l = blank(width, rows);
    std::mt19937 random(std::uint32_t(width * 7919 + rows));
    for (int y = 0; y < rows; ++y) {
        const int shift = int(random() % 7) - 3;
        std::bernoulli_distribution ink(double(y % 10 + 1) / 11);
        for (int x = 0; x < width; ++x) {
            const int from = x - shift;
            const bool copied =
                y % 2 == 1 && from >= 0 && from < width &&
                (l.bytes[std::size_t(y - 1) * l.stride() + std::size_t(from) / 8] & (0x80 >> (from & 7)));
            if (y % 2 == 1 ? copied : ink(random))
                l.set(x, y);
        }
    }
    return l;
}

// Every run length from 0 to beyond the longest make-up code, in both colours.
Lines runs(int width)
{
    Lines l = blank(width, 0);
    int x = 0;
    bool black = true;
    std::vector<std::uint8_t> row(l.stride());
    for (int run = 1; run <= std::min(2800, width - 5); run += run < 130 ? 1 : 37) {
        for (int repeat = 0; repeat < 2; ++repeat, black = !black) {
            if (x + run > width) {
                l.bytes.insert(l.bytes.end(), row.begin(), row.end());
                ++l.rows;
                std::fill(row.begin(), row.end(), 0);
                x = run % 5;  // lines start in either colour
            }
            for (int i = 0; black && i < run; ++i)
                row[std::size_t(x + i) / 8] |= std::uint8_t(0x80 >> ((x + i) & 7));
            x += run;
        }
    }
    l.bytes.insert(l.bytes.end(), row.begin(), row.end());
    ++l.rows;
    return l;
}

TIFF* openBilevel(const QString& path, const Lines& l)
{
    TIFF* tif = TIFFOpen(path.toLocal8Bit().constData(), "w");
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, std::uint32_t(l.width));
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, std::uint32_t(l.rows));
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 1);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX4);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, std::uint32_t(l.rows));
    return tif;
}

std::vector<std::uint8_t> codedByLibtiff(const Lines& l)
{
    const QString path = tempPath("libtiff_g4.tif");
    TIFF* out = openBilevel(path, l);
    std::vector<std::uint8_t> lines = l.bytes;
    EXPECT_GE(TIFFWriteEncodedStrip(out, 0, lines.data(), tmsize_t(lines.size())), 0);
    TIFFClose(out);
    TIFF* in = TIFFOpen(path.toLocal8Bit().constData(), "r");
    std::vector<std::uint8_t> raw(std::size_t(TIFFRawStripSize(in, 0)));
    TIFFReadRawStrip(in, 0, raw.data(), tmsize_t(raw.size()));
    TIFFClose(in);
    return raw;
}

std::vector<std::uint8_t> decodedByLibtiff(const Lines& l, std::vector<std::uint8_t> coded)
{
    const QString path = tempPath("ours_g4.tif");
    TIFF* out = openBilevel(path, l);
    EXPECT_GE(TIFFWriteRawStrip(out, 0, coded.data(), tmsize_t(coded.size())), 0);
    TIFFClose(out);
    TIFF* in = TIFFOpen(path.toLocal8Bit().constData(), "r");
    std::vector<std::uint8_t> lines(l.bytes.size());
    EXPECT_EQ(TIFFReadEncodedStrip(in, 0, lines.data(), tmsize_t(lines.size())), tmsize_t(lines.size()));
    TIFFClose(in);
    return lines;
}

}  // namespace

TEST(FaxG4, CodesAsLibtiffDoesAndDecodesBack)
{
    Lines black = blank(77, 5);
    std::fill(black.bytes.begin(), black.bytes.end(), 0xFF);
    for (std::size_t i = black.stride() - 1; i < black.bytes.size(); i += black.stride())
        black.bytes[i] &= 0xF8;  // 77 = 9 * 8 + 5: the spare bits stay clear
    const Lines cases[] = {blank(300, 4), black,          noise(1, 9),     noise(7, 12), noise(64, 10),
                           noise(65, 10), noise(203, 40), noise(3000, 16), runs(6000),   runs(2650)};
    for (const Lines& l : cases) {
        std::vector<std::uint8_t> ours;
        imgkit::encodeG4Strip(l.bytes.data(), l.stride(), l.width, l.rows, ours);
        EXPECT_EQ(ours, codedByLibtiff(l)) << l.width << " x " << l.rows;
        EXPECT_EQ(decodedByLibtiff(l, ours), l.bytes) << l.width << " x " << l.rows;
    }
}

TEST(FaxG4, BitsPastTheWidthAreIgnored)
{
    const Lines l = noise(13, 6);
    std::vector<std::uint8_t> padded;
    for (int y = 0; y < l.rows; ++y) {
        padded.insert(padded.end(), l.bytes.begin() + std::ptrdiff_t(y * l.stride()),
                      l.bytes.begin() + std::ptrdiff_t((y + 1) * l.stride()));
        padded.back() |= 0x07;  // three bits past column 12
        padded.push_back(0xFF);  // and a byte more of stride
    }
    std::vector<std::uint8_t> ours;
    std::vector<std::uint8_t> plain;
    imgkit::encodeG4Strip(padded.data(), l.stride() + 1, l.width, l.rows, ours);
    imgkit::encodeG4Strip(l.bytes.data(), l.stride(), l.width, l.rows, plain);
    EXPECT_EQ(ours, plain);
}
