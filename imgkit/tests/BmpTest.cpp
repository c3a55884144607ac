// BMP: every depth written and read back, checked against GraphicsMagick,
// and the header variants other programs write.
#include "imgkit/ImgKit.h"
#include "imgkit/src/ByteReader.h"
#include "imgkit/src/Readers.h"
#include "imgkit/tests/TestPictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

using imgkit::DibHandle;
using namespace imgkit::test;

namespace {

DibHandle pictureOfDepth(int bits, int w, int h)
{
    if (bits <= 8)
        return indexed(w, h, bits);
    DibHandle photo = photo24(w, h);
    if (bits == 24)
        return photo;
    DibHandle out = DibHandle::create(w, h, bits);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const std::uint8_t* p = photo.row(y) + 3 * x;
            std::uint8_t* q = out.row(y);
            if (bits == 32) {
                std::memcpy(q + 4 * x, p, 3);
            } else {  // 5-5-5, with values that survive the 5-bit round trip
                const std::uint16_t v = std::uint16_t(((p[2] >> 3) << 10) | ((p[1] >> 3) << 5) | (p[0] >> 3));
                imgkit::putLe16(q + 2 * x, v);
            }
        }
    return out;
}

struct Case {
    int bits;
    int rle;
};

class BmpRoundTrip : public ::testing::TestWithParam<Case> {};

}  // namespace

TEST_P(BmpRoundTrip, ReadsBackWhatItWroteAndOthersAgree)
{
    const Case c = GetParam();
    // An odd width exercises row padding and, for RLE4, a half-filled byte.
    const DibHandle original = pictureOfDepth(c.bits, 37, 11);
    const QString path = tempPath(QString("round%1_%2.bmp").arg(c.bits).arg(c.rle));
    ASSERT_EQ(ImgKitBmpFileSave(path, original, "", "", c.rle), 1);

    std::int16_t type = 0;
    ASSERT_EQ(ImgKitFileType(path, &type), 1);
    EXPECT_EQ(type, ImgKitTypeBmp);
    const DibHandle loaded = ImgKitFileLoad(path, "", "");
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded.bitCount(), c.bits);
    EXPECT_EQ(bgrPixels(loaded), bgrPixels(original));

    const std::string info = run("gm identify -format '%w %h' '" + path.toStdString() + "'");
    EXPECT_EQ(info.substr(0, 5), "37 11");
    const DibHandle theirs = decodeWithGm(path);
    ASSERT_TRUE(theirs);
    EXPECT_LT(meanError(theirs, original), c.bits == 16 ? 4.5 : 0.01);
}

INSTANTIATE_TEST_SUITE_P(Depths, BmpRoundTrip,
                         ::testing::Values(Case{1, 0}, Case{4, 0}, Case{4, 1}, Case{8, 0}, Case{8, 1},
                                           Case{16, 0}, Case{24, 0}, Case{32, 0}, Case{24, 1}));

TEST(BmpWriter, RunLengthCodingShrinksFlatPictures)
{
    DibHandle flat = DibHandle::create(200, 50, 8);
    std::memset(flat.bits(), 7, flat.stride() * 50);
    const QString plain = tempPath("flat.bmp"), packed = tempPath("flat_rle.bmp");
    ASSERT_EQ(ImgKitBmpFileSave(plain, flat, "", "", 0), 1);
    ASSERT_EQ(ImgKitBmpFileSave(packed, flat, "", "", 1), 1);
    EXPECT_LT(readBytes(packed).size() * 5, readBytes(plain).size());
    EXPECT_EQ(imgkit::le32(readBytes(packed).data() + 30), imgkit::BI_RLE8);
}

TEST(BmpWriter, RefusesUnwritablePathsAndNoPicture)
{
    EXPECT_EQ(ImgKitBmpFileSave("/nonexistent-folder/x.bmp", photo24(2, 2), "", "", 0), 0);
    EXPECT_EQ(ImgKitBmpFileSave(tempPath("none.bmp"), DibHandle{}, "", "", 0), 0);
}

namespace {

// A BMP file around a hand-made header and body.
std::vector<std::uint8_t> bmpFile(const std::vector<std::uint8_t>& dib, std::uint32_t offBits = 0)
{
    std::vector<std::uint8_t> f(14 + dib.size());
    f[0] = 'B';
    f[1] = 'M';
    imgkit::putLe32(&f[2], std::uint32_t(f.size()));
    imgkit::putLe32(&f[10], offBits);
    std::copy(dib.begin(), dib.end(), f.begin() + 14);
    return f;
}

std::vector<std::uint8_t> infoHeader(std::uint32_t size, int w, int h, int bits, std::uint32_t compression,
                                     std::uint32_t clrUsed = 0)
{
    std::vector<std::uint8_t> d(size);
    imgkit::putLe32(&d[0], size);
    imgkit::putLe32(&d[4], std::uint32_t(w));
    imgkit::putLe32(&d[8], std::uint32_t(h));
    imgkit::putLe16(&d[12], 1);
    imgkit::putLe16(&d[14], std::uint16_t(bits));
    imgkit::putLe32(&d[16], compression);
    imgkit::putLe32(&d[32], clrUsed);
    return d;
}

}  // namespace

TEST(BmpReader, TopDownRowsAreTurnedBottomUp)
{
    std::vector<std::uint8_t> d = infoHeader(40, 1, 2, 24, 0);
    const std::uint8_t rows[] = {1, 2, 3, 0, 4, 5, 6, 0};  // top row first
    d.insert(d.end(), rows, rows + 8);
    imgkit::putLe32(&d[8], std::uint32_t(-2));
    const std::vector<std::uint8_t> f = bmpFile(d);
    const DibHandle dib = imgkit::readBmp(f.data(), f.size());
    ASSERT_TRUE(dib);
    EXPECT_EQ(dib.height(), 2);
    EXPECT_EQ(dib.row(0)[0], 1);
    EXPECT_EQ(dib.row(1)[0], 4);
}

TEST(BmpReader, V5HeaderWith565MasksAndAGapBeforeThePixels)
{
    std::vector<std::uint8_t> d = infoHeader(124, 2, 1, 16, imgkit::BI_BITFIELDS);
    imgkit::putLe32(&d[40], 0xF800);
    imgkit::putLe32(&d[44], 0x07E0);
    imgkit::putLe32(&d[48], 0x001F);
    d.resize(d.size() + 6, 0xEE);  // a gap the file header's offset skips
    const std::uint8_t px[] = {0x00, 0xF8, 0x1F, 0x00};  // pure red, pure blue
    d.insert(d.end(), px, px + 4);
    const std::vector<std::uint8_t> f = bmpFile(d, 14 + 124 + 6);
    const DibHandle dib = imgkit::readBmp(f.data(), f.size());
    ASSERT_TRUE(dib);
    const std::vector<std::uint8_t> bgr = bgrPixels(dib);
    EXPECT_EQ(bgr, (std::vector<std::uint8_t>{0, 0, 255, 255, 0, 0}));
}

TEST(BmpReader, CoreHeaderWithThreeByteColourTable)
{
    std::vector<std::uint8_t> d(12);
    imgkit::putLe32(&d[0], 12);
    imgkit::putLe16(&d[4], 2);
    imgkit::putLe16(&d[6], 1);
    imgkit::putLe16(&d[8], 1);
    imgkit::putLe16(&d[10], 1);
    const std::uint8_t table[] = {10, 20, 30, 40, 50, 60};
    d.insert(d.end(), table, table + 6);
    const std::uint8_t row[] = {0x40, 0, 0, 0};  // pixels 0, 1
    d.insert(d.end(), row, row + 4);
    const std::vector<std::uint8_t> f = bmpFile(d);
    const DibHandle dib = imgkit::readBmp(f.data(), f.size());
    ASSERT_TRUE(dib);
    EXPECT_EQ(bgrPixels(dib), (std::vector<std::uint8_t>{10, 20, 30, 40, 50, 60}));
}

TEST(BmpReader, Rle8WithDeltaAndAbsoluteRuns)
{
    std::vector<std::uint8_t> d = infoHeader(40, 4, 2, 8, imgkit::BI_RLE8, 4);
    for (int i = 0; i < 4; ++i) {
        const std::uint8_t e[] = {std::uint8_t(i * 60), std::uint8_t(i * 60), std::uint8_t(i * 60), 0};
        d.insert(d.end(), e, e + 4);
    }
    // Bottom row: absolute 1 2 3, then one 1; top row: skip two, run of two 3s.
    const std::uint8_t body[] = {0, 3, 1, 2, 3, 0, 1, 1, 0, 0, 0, 2, 2, 0, 2, 3, 0, 1};
    d.insert(d.end(), body, body + sizeof body);
    const std::vector<std::uint8_t> f = bmpFile(d);
    const DibHandle dib = imgkit::readBmp(f.data(), f.size());
    ASSERT_TRUE(dib);
    EXPECT_EQ(std::vector<std::uint8_t>(dib.row(1), dib.row(1) + 4), (std::vector<std::uint8_t>{1, 2, 3, 1}));
    EXPECT_EQ(std::vector<std::uint8_t>(dib.row(0), dib.row(0) + 4), (std::vector<std::uint8_t>{0, 0, 3, 3}));
}
