// Colour reduction, grey, brightness, colour balance and resampling.
#include "imgkit/ImgKit.h"
#include "imgkit/src/PixelAccess.h"
#include "imgkit/src/Quantize.h"
#include "imgkit/tests/TestPictures.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>

using imgkit::DibHandle;
using namespace imgkit::test;

namespace {

std::set<std::vector<std::uint8_t>> coloursOf(const DibHandle& dib)
{
    std::set<std::vector<std::uint8_t>> colours;
    const auto px = bgrPixels(dib);
    for (std::size_t i = 0; i < px.size(); i += 3)
        colours.insert({px[i], px[i + 1], px[i + 2]});
    return colours;
}

}  // namespace

TEST(ConvertColor, AdaptivePaletteStaysCloseAndBeatsTheFixedOne)
{
    const DibHandle photo = photo24(160, 120);
    const DibHandle adaptive = ImgKitConvertColor(photo, 8, 1, 1, "", "");
    const DibHandle fixed = ImgKitConvertColor(photo, 8, 1, 0, "", "");
    const DibHandle dithered = ImgKitConvertColor(photo, 8, 0, 1, "", "");
    ASSERT_TRUE(adaptive && fixed && dithered);
    EXPECT_EQ(adaptive.bitCount(), 8);
    EXPECT_LT(meanError(adaptive, photo), 0.75 * meanError(fixed, photo));
    // GraphicsMagick's own 256-colour reduction of the same picture is the yardstick.
    const QString source = tempPath("quantise.bmp"), reference = tempPath("quantise_gm.bmp");
    ASSERT_EQ(ImgKitBmpFileSave(source, photo, "", "", 0), 1);
    int status = 0;
    run("gm convert '" + source.toStdString() + "' +dither -colors 256 '" + reference.toStdString() + "'",
        &status);
    ASSERT_EQ(status, 0);
    const double theirs = meanError(ImgKitFileLoad(reference, "", ""), photo);
    EXPECT_LT(meanError(adaptive, photo), 1.2 * theirs + 0.5) << theirs;
    EXPECT_LT(meanError(dithered, photo), 1.5 * theirs + 1.0) << theirs;
    // The average colour of the dithered picture matches the original's.
    const auto a = bgrPixels(photo), b = bgrPixels(dithered);
    for (int c = 0; c < 3; ++c) {
        double sa = 0, sb = 0;
        for (std::size_t i = c; i < a.size(); i += 3)
            sa += a[i], sb += b[i];
        EXPECT_NEAR(sa / (a.size() / 3), sb / (a.size() / 3), 1.0) << c;
    }
}

TEST(ConvertColor, FewColoursAndPureWhiteAreKeptExactly)
{
    DibHandle frame = photo24(64, 64);
    for (int y = 10; y < 50; ++y)  // a pure white window in the middle
        std::memset(frame.row(y) + 30, 255, 3 * 20);
    const DibHandle mask = ImgKitConvertColor(frame, 8, 1, 1, "", "");
    const auto in = bgrPixels(frame), out = bgrPixels(mask);
    for (std::size_t i = 0; i < in.size(); i += 3) {
        if (in[i] == 255 && in[i + 1] == 255 && in[i + 2] == 255) {
            ASSERT_TRUE(out[i] == 255 && out[i + 1] == 255 && out[i + 2] == 255) << i;
        }
    }

    const DibHandle sixteen = indexed(30, 30, 4);
    const DibHandle as24 = ImgKitConvertColor(sixteen, 24, 0, 0, "", "");
    EXPECT_EQ(as24.bitCount(), 24);
    const DibHandle back = ImgKitConvertColor(as24, 4, 0, 1, "", "");
    EXPECT_EQ(bgrPixels(back), bgrPixels(sixteen));  // 16 colours fit 16 entries
    EXPECT_EQ(bgrPixels(ImgKitConvertColor(sixteen, 8, 0, 1, "", "")), bgrPixels(sixteen));
}

TEST(ConvertColor, SixteenColoursAndTwoColours)
{
    const DibHandle photo = photo24(100, 80);
    const DibHandle sixteen = ImgKitConvertColor(photo, 4, 0, 1, "", "");
    ASSERT_TRUE(sixteen);
    EXPECT_EQ(sixteen.bitCount(), 4);
    EXPECT_LE(coloursOf(sixteen).size(), 16u);
    EXPECT_LT(meanError(sixteen, photo), 24.0);
    const DibHandle mono = ImgKitConvertColor(photo, 1, 0, 1, "", "");
    ASSERT_TRUE(mono);
    EXPECT_EQ(mono.bitCount(), 1);
    EXPECT_EQ(coloursOf(mono).size(), 2u);
    EXPECT_FALSE(ImgKitConvertColor(photo, 7, 0, 1, "", ""));
    EXPECT_FALSE(ImgKitConvertColor(DibHandle{}, 8, 0, 1, "", ""));
}

TEST(Bit24To8, ReducesInPlaceAndLeavesPalettePicturesAlone)
{
    DibHandle photo = photo24(90, 60);
    const DibHandle before = photo.clone();
    ASSERT_EQ(ImgKitBit24To8(photo, "", ""), 1);
    EXPECT_EQ(photo.bitCount(), 8);
    EXPECT_LE(coloursOf(photo).size(), 256u);
    EXPECT_LT(meanError(photo, before), 5.0);
    DibHandle sixteen = indexed(5, 5, 4);
    void* block = sixteen.get();
    EXPECT_EQ(ImgKitBit24To8(sixteen, "", ""), 1);
    EXPECT_EQ(sixteen.get(), block);
}

TEST(SetGray, GreysEveryDepthAndKeepsIt)
{
    const DibHandle originals[] = {photo24(20, 10), indexed(20, 10, 8), indexed(20, 10, 4)};
    for (const DibHandle& original : originals) {
        const DibHandle grey = ImgKitSetGray(original, "", "");
        ASSERT_TRUE(grey);
        EXPECT_EQ(grey.bitCount(), original.bitCount());
        const auto px = bgrPixels(grey), src = bgrPixels(original);
        for (std::size_t i = 0; i < px.size(); i += 3) {
            ASSERT_TRUE(px[i] == px[i + 1] && px[i + 1] == px[i + 2]);
            EXPECT_NEAR(px[i], 0.299 * src[i + 2] + 0.587 * src[i + 1] + 0.114 * src[i], 1.0);
        }
    }
}

TEST(Bright, IdentityAtZeroWhiteAndBlackAtTheLimits)
{
    const DibHandle originals[] = {photo24(30, 20), indexed(30, 20, 8), DibHandle::create(30, 20, 16)};
    for (const DibHandle& original : originals) {
        DibHandle same = original.clone();
        ASSERT_EQ(ImgKitBright(same, "", "", 0.0), 1);
        EXPECT_EQ(bgrPixels(same), bgrPixels(original));

        DibHandle white = original.clone();
        ImgKitBright(white, "", "", 5.0);
        for (std::uint8_t v : bgrPixels(white))
            ASSERT_GE(v, 250);  // 16-bit channels top out at 255 too
        DibHandle black = original.clone();
        ImgKitBright(black, "", "", -5.0);
        for (std::uint8_t v : bgrPixels(black))
            ASSERT_EQ(v, 0);
    }
    DibHandle photo = photo24(30, 20);
    const DibHandle before = photo.clone();
    ImgKitBright(photo, "", "", 1.0);  // +20%: lighter, but not flat
    const auto a = bgrPixels(before), b = bgrPixels(photo);
    for (std::size_t i = 0; i < a.size(); ++i)
        ASSERT_GE(b[i], a[i]);
    EXPECT_GT(coloursOf(photo).size(), 100u);
}

TEST(RGB, OffsetsClampAndZeroIsIdentity)
{
    DibHandle photo = photo24(40, 20);
    const DibHandle before = photo.clone();
    ASSERT_EQ(ImgKitRGB(photo, "", "", 0, 0, 0), 1);
    EXPECT_EQ(bgrPixels(photo), bgrPixels(before));
    ImgKitRGB(photo, "", "", 255, -255, 30);
    const auto a = bgrPixels(before), b = bgrPixels(photo);
    for (std::size_t i = 0; i < a.size(); i += 3) {
        ASSERT_EQ(b[i + 2], 255);
        ASSERT_EQ(b[i + 1], 0);
        ASSERT_EQ(b[i], std::min(255, a[i] + 30));
    }
    DibHandle palette = indexed(4, 4, 8);
    ImgKitRGB(palette, "", "", -255, 0, 0);
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(palette.palette()[i].red, 0);
}

TEST(ImageSize, ExactSizeAveragingAndFlatColoursStayFlat)
{
    DibHandle two = DibHandle::create(2, 2, 24);
    const std::uint8_t values[4] = {0, 100, 200, 60};
    for (int i = 0; i < 4; ++i)
        std::memset(two.row(i / 2) + 3 * (i % 2), values[i], 3);
    const DibHandle one = ImgKitImageSize(two, "", "", 1, 1);
    ASSERT_TRUE(one);
    EXPECT_EQ(one.row(0)[0], 90);  // (0 + 100 + 200 + 60) / 4

    DibHandle flat = DibHandle::create(37, 23, 24);
    std::memset(flat.bits(), 77, flat.stride() * 23);
    for (auto [w, h] : {std::pair{100, 7}, std::pair{5, 60}, std::pair{1, 1}, std::pair{37, 23}}) {
        const DibHandle r = ImgKitImageSize(flat, "", "", w, h);
        ASSERT_TRUE(r);
        EXPECT_EQ(r.width(), w);
        EXPECT_EQ(r.height(), h);
        for (std::uint8_t v : bgrPixels(r))
            ASSERT_EQ(v, 77);
    }
    const DibHandle photo = photo24(200, 100);
    const DibHandle half = ImgKitImageSize(photo, "", "", 100, 50);
    EXPECT_LT(meanError(ImgKitImageSize(half, "", "", 200, 100), photo), 3.0);
    EXPECT_EQ(ImgKitImageSize(indexed(10, 10, 4), "", "", 20, 20).bitCount(), 24);
    EXPECT_FALSE(ImgKitImageSize(photo, "", "", 0, 10));
    EXPECT_FALSE(ImgKitImageSize(photo, "", "", 100000, 10));
}

// The black-and-white pass makes exactly the choices of the general palette
// loop (run here at 4 bits, where it is the only way), dithered or not.
TEST(ColourTest, BlackAndWhitePassChoosesAsTheGeneralLoop)
{
    const DibHandle photo = photo24(67, 23);
    const std::vector<imgkit::Bgr> blackWhite = imgkit::fixedPalette(2);
    for (const bool dither : {true, false}) {
        const DibHandle one = imgkit::mapToPalette(photo, blackWhite, 1, dither, nullptr);
        const DibHandle four = imgkit::mapToPalette(photo, blackWhite, 4, dither, nullptr);
        ASSERT_TRUE(one && four);
        int differing = 0;
        for (int y = 0; y < photo.height(); ++y)
            for (int x = 0; x < photo.width(); ++x)
                differing += imgkit::readRaw(one.row(y), x, 1) != imgkit::readRaw(four.row(y), x, 4);
        EXPECT_EQ(differing, 0) << dither;
    }
}
