// PCX: hand-made files of every layout the reader knows, and files written by
// GraphicsMagick compared with its own decoding.
#include "imgkit/ImgKit.h"
#include "imgkit/src/ByteReader.h"
#include "imgkit/src/Readers.h"
#include "imgkit/tests/TestPictures.h"

#include <gtest/gtest.h>

using imgkit::DibHandle;
using namespace imgkit::test;

namespace {

// A PCX file from raw scan lines (all planes of a line in turn), run-length
// coded the usual way.
std::vector<std::uint8_t> pcxFile(int w, int h, int bitsPerPixel, int planes, int bytesPerLine,
                                  const std::vector<std::uint8_t>& lines, bool palette256 = false)
{
    std::vector<std::uint8_t> f(128);
    f[0] = 0x0A;
    f[1] = 5;
    f[2] = 1;
    f[3] = std::uint8_t(bitsPerPixel);
    imgkit::putLe16(&f[8], std::uint16_t(w - 1));
    imgkit::putLe16(&f[10], std::uint16_t(h - 1));
    for (int i = 0; i < 16; ++i) {  // header palette: entry i = (i*16, 0, 255-i*16)
        f[16 + 3 * i] = std::uint8_t(i * 16);
        f[18 + 3 * i] = std::uint8_t(255 - i * 16);
    }
    f[65] = std::uint8_t(planes);
    imgkit::putLe16(&f[66], std::uint16_t(bytesPerLine));
    for (std::size_t i = 0; i < lines.size();) {
        std::size_t run = 1;
        while (i + run < lines.size() && run < 63 && lines[i + run] == lines[i])
            ++run;
        if (run > 1 || (lines[i] & 0xC0) == 0xC0) {
            f.push_back(std::uint8_t(0xC0 | run));
        }
        f.push_back(lines[i]);
        i += run;
    }
    if (palette256) {
        f.push_back(0x0C);
        for (int i = 0; i < 256; ++i) {
            f.push_back(std::uint8_t(i));
            f.push_back(std::uint8_t(255 - i));
            f.push_back(7);
        }
    }
    return f;
}

}  // namespace

TEST(PcxReader, MonochromeIsTwoColours)
{
    const auto f = pcxFile(10, 2, 1, 1, 2, {0xFF, 0xC0, 0x00, 0x00});
    const DibHandle dib = imgkit::readPcx(f.data(), f.size());
    ASSERT_TRUE(dib);
    EXPECT_EQ(dib.bitCount(), 1);
    const auto px = bgrPixels(dib);
    ASSERT_EQ(px.size(), 60u);
    EXPECT_EQ(px[0], 255);  // the top row is white
    EXPECT_EQ(px[3 * 9], 255);
    EXPECT_EQ(px[3 * 10], 0);  // the second row black
}

TEST(PcxReader, FourPlanesGiveSixteenColourIndices)
{
    // One line of 8 pixels: plane p has bit x set when bit p of x is set.
    std::vector<std::uint8_t> line;
    for (int p = 0; p < 4; ++p) {
        std::uint8_t b = 0;
        for (int x = 0; x < 8; ++x)
            if (x & (1 << p))
                b |= std::uint8_t(0x80 >> x);
        line.push_back(b);
        line.push_back(0);
    }
    const auto f = pcxFile(8, 1, 1, 4, 2, line);
    const DibHandle dib = imgkit::readPcx(f.data(), f.size());
    ASSERT_TRUE(dib);
    ASSERT_EQ(dib.bitCount(), 4);
    const auto px = bgrPixels(dib);
    for (int x = 0; x < 8; ++x) {
        EXPECT_EQ(px[3 * x + 2], x * 16) << x;  // red of header entry x
        EXPECT_EQ(px[3 * x], 255 - x * 16) << x;
    }
}

TEST(PcxReader, PaletteAtTheEndAndRunsAcrossLines)
{
    // 3 x 2 pixels, all index 9: the encoder makes one run over both lines
    // (4 bytes per line).
    const auto f = pcxFile(3, 2, 8, 1, 4, std::vector<std::uint8_t>(8, 9), true);
    ASSERT_EQ(f[128], 0xC8);
    const DibHandle dib = imgkit::readPcx(f.data(), f.size());
    ASSERT_TRUE(dib);
    std::vector<std::uint8_t> expected;
    for (int i = 0; i < 6; ++i)
        expected.insert(expected.end(), {7, 246, 9});
    EXPECT_EQ(bgrPixels(dib), expected);
}

TEST(PcxReader, ThreePlanesAreTrueColour)
{
    const auto f = pcxFile(2, 1, 8, 3, 2, {10, 11, 20, 21, 30, 31});
    const DibHandle dib = imgkit::readPcx(f.data(), f.size());
    ASSERT_TRUE(dib);
    EXPECT_EQ(dib.bitCount(), 24);
    EXPECT_EQ(bgrPixels(dib), (std::vector<std::uint8_t>{30, 20, 10, 31, 21, 11}));
}

TEST(PcxReader, FilesWrittenByGraphicsMagickMatchItsDecoding)
{
    const QString bmp = tempPath("pcxsource.bmp");
    ASSERT_EQ(ImgKitBmpFileSave(bmp, photo24(45, 17), "", "", 0), 1);
    for (const char* type : {"TrueColor", "Palette", "Grayscale", "Bilevel"}) {
        const QString pcx = tempPath(QString("gm_%1.pcx").arg(type));
        int status = 0;
        run("gm convert '" + bmp.toStdString() + "' -type " + type + " '" + pcx.toStdString() + "'", &status);
        ASSERT_EQ(status, 0) << type;
        const DibHandle ours = IK5FileLoad(pcx, 0, 0, "", "", "");
        ASSERT_TRUE(ours) << type;
        const DibHandle theirs = decodeWithGm(pcx);
        ASSERT_TRUE(theirs);
        EXPECT_LT(meanError(ours, theirs), 0.01) << type;
    }
}
