// TIFF: every compression the writer offers, checked with tiffinfo and
// GraphicsMagick, and files of other layouts (tiles, LZW, JPEG, Deflate)
// written by GraphicsMagick read back.
#include "imgkit/ImgKit.h"
#include "imgkit/tests/TestPictures.h"

#include <gtest/gtest.h>

using imgkit::DibHandle;
using namespace imgkit::test;

namespace {

struct Scheme {
    int index;
    const char* tiffinfoName;
};

class TiffCompression : public ::testing::TestWithParam<Scheme> {};

std::string tiffinfo(const QString& path) { return run("tiffinfo '" + path.toStdString() + "' 2>&1"); }

}  // namespace

TEST_P(TiffCompression, TwoColourPicturesRoundTripInEveryScheme)
{
    const Scheme s = GetParam();
    const DibHandle bilevel = ImgKitConvertColor(photo24(61, 23), 1, 0, 1, "", "");
    ASSERT_TRUE(bilevel);
    const QString path = tempPath(QString("bilevel%1.tif").arg(s.index));
    ASSERT_EQ(ImgKitTiffFileSave(path, bilevel, "", "", s.index), 1);

    const std::string info = tiffinfo(path);
    EXPECT_NE(info.find(std::string("Compression Scheme: ") + s.tiffinfoName), std::string::npos) << info;
    EXPECT_NE(info.find("Image Width: 61 Image Length: 23"), std::string::npos) << info;
    EXPECT_EQ(info.find("rror"), std::string::npos) << info;

    const DibHandle loaded = ImgKitFileLoad(path, "", "");
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded.bitCount(), 1);
    EXPECT_EQ(bgrPixels(loaded), bgrPixels(bilevel));
    EXPECT_LT(meanError(decodeWithGm(path), bilevel), 0.01);
}

INSTANTIATE_TEST_SUITE_P(Schemes, TiffCompression,
                         ::testing::Values(Scheme{0, "None"}, Scheme{1, "CCITT RLE"},
                                           Scheme{2, "CCITT Group 3"}, Scheme{3, "CCITT Group 3"},
                                           Scheme{4, "CCITT Group 4"}, Scheme{5, "PackBits"}));

TEST(TiffWriter, Group3TwoDimensionalIsMarkedAsSuch)
{
    const DibHandle bilevel = ImgKitConvertColor(photo24(16, 16), 1, 1, 1, "", "");
    const QString path = tempPath("g3_2d.tif");
    ASSERT_EQ(ImgKitTiffFileSave(path, bilevel, "", "", 3), 1);
    EXPECT_NE(tiffinfo(path).find("2-d encoding"), std::string::npos) << tiffinfo(path);
}

TEST(TiffWriter, FaxSchemesRefuseColourPicturesAndBadIndices)
{
    const DibHandle colour = photo24(8, 8);
    for (int scheme = 1; scheme <= 4; ++scheme)
        EXPECT_EQ(ImgKitTiffFileSave(tempPath("refused.tif"), colour, "", "", scheme), 0) << scheme;
    EXPECT_EQ(ImgKitTiffFileSave(tempPath("refused.tif"), colour, "", "", 6), 0);
    EXPECT_EQ(ImgKitTiffFileSave(tempPath("refused.tif"), colour, "", "", -1), 0);
}

TEST(TiffWriter, PaletteGreyAndColourDepthsRoundTrip)
{
    const DibHandle photo = photo24(50, 20);
    const DibHandle pictures[] = {indexed(50, 20, 4), indexed(50, 20, 8), photo.clone(),
                                  ImgKitSetGray(ImgKitConvertColor(photo, 8, 0, 1, "", ""), "", "")};
    int n = 0;
    for (const DibHandle& original : pictures) {
        for (int scheme : {0, 5}) {
            const QString path = tempPath(QString("depth%1_%2.tif").arg(n).arg(scheme));
            ASSERT_EQ(ImgKitTiffFileSave(path, original, "", "", scheme), 1);
            const DibHandle loaded = ImgKitFileLoad(path, "", "");
            ASSERT_TRUE(loaded) << n;
            EXPECT_EQ(loaded.bitCount(), original.bitCount());
            EXPECT_EQ(bgrPixels(loaded), bgrPixels(original)) << n;
            EXPECT_LT(meanError(decodeWithGm(path), original), 0.01) << n;
            EXPECT_EQ(tiffinfo(path).find("rror"), std::string::npos);
        }
        ++n;
    }
}

TEST(TiffReader, TilesAndOtherCompressionsFromGraphicsMagick)
{
    const QString source = tempPath("tiff_source.bmp");
    ASSERT_EQ(ImgKitBmpFileSave(source, photo24(70, 45), "", "", 0), 1);
    const char* variants[] = {"-compress LZW",
                              "-compress Zip",
                              "-compress JPEG -quality 95",
                              "-define tiff:tile-geometry=16x16 -compress LZW",
                              "-type Grayscale -compress LZW",
                              "-type Palette -compress RLE",
                              "-depth 16"};
    int n = 0;
    for (const char* v : variants) {
        const QString path = tempPath(QString("gm_variant%1.tif").arg(n++));
        int status = 0;
        run("gm convert '" + source.toStdString() + "' " + v + " '" + path.toStdString() + "'", &status);
        ASSERT_EQ(status, 0) << v;
        const DibHandle ours = ImgKitFileLoad(path, "", "");
        ASSERT_TRUE(ours) << v;
        EXPECT_LT(meanError(ours, decodeWithGm(path)), 0.6) << v;
    }
}
