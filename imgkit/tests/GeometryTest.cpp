// Copies, turns and cut-outs at every depth.
#include "imgkit/ImgKit.h"
#include "imgkit/tests/TestPictures.h"

#include <gtest/gtest.h>

using imgkit::DibHandle;
using namespace imgkit::test;

namespace {

// Pixel (x, y) from the top left as blue, green, red.
std::vector<std::uint8_t> at(const DibHandle& dib, int x, int y)
{
    const auto px = bgrPixels(dib);
    const std::size_t i = (std::size_t(y) * dib.width() + x) * 3;
    return {px[i], px[i + 1], px[i + 2]};
}

}  // namespace

TEST(Rotation, QuarterTurnsMoveCornersAtEveryDepth)
{
    for (int bits : {1, 4, 8, 24}) {
        const DibHandle src = bits == 24 ? photo24(7, 3) : indexed(7, 3, bits);
        const DibHandle cw = ImgKitRotation(src, "", "", 1);
        ASSERT_TRUE(cw) << bits;
        EXPECT_EQ(cw.width(), 3);
        EXPECT_EQ(cw.height(), 7);
        EXPECT_EQ(cw.bitCount(), bits);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 7; ++x)
                ASSERT_EQ(at(cw, 2 - y, x), at(src, x, y)) << bits;
        const DibHandle acw = ImgKitRotation(src, "", "", 3);
        EXPECT_EQ(at(acw, 0, 6), at(src, 0, 0));
        const DibHandle half = ImgKitRotation(src, "", "", 2);
        EXPECT_EQ(at(half, 6, 2), at(src, 0, 0));
        EXPECT_EQ(bgrPixels(ImgKitRotation(cw, "", "", 3)), bgrPixels(src));
    }
    EXPECT_FALSE(ImgKitRotation(photo24(2, 2), "", "", 0));
}

TEST(RectCut, CornersAreInclusiveAndKeptInsideThePicture)
{
    const DibHandle src = photo24(10, 8);
    const DibHandle cut = ImgKitRectCut(src, "", "", 2, 1, 5, 3);
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut.width(), 4);
    EXPECT_EQ(cut.height(), 3);
    EXPECT_EQ(at(cut, 0, 0), at(src, 2, 1));
    EXPECT_EQ(at(cut, 3, 2), at(src, 5, 3));

    // A bottom one past the edge (as "height - y0" with y0 = 0 gives) is clamped.
    const DibHandle edge = ImgKitRectCut(src, "", "", 0, 0, 9, 8);
    ASSERT_TRUE(edge);
    EXPECT_EQ(edge.height(), 8);
    EXPECT_EQ(bgrPixels(edge), bgrPixels(src));
    EXPECT_FALSE(ImgKitRectCut(src, "", "", 5, 0, 4, 3));
    EXPECT_FALSE(ImgKitRectCut(src, "", "", 10, 0, 12, 3));

    const DibHandle sixteen = indexed(9, 4, 4);
    const DibHandle odd = ImgKitRectCut(sixteen, "", "", 1, 1, 3, 2);
    EXPECT_EQ(odd.bitCount(), 4);
    EXPECT_EQ(at(odd, 0, 0), at(sixteen, 1, 1));
}

TEST(Copy, IsIndependentOfTheOriginal)
{
    DibHandle src = indexed(6, 6, 8);
    const DibHandle copy = ImgKitCopy(src, "", "");
    ASSERT_TRUE(copy);
    EXPECT_NE(copy.get(), src.get());
    const auto before = bgrPixels(copy);
    ImgKitRGB(src, "", "", 100, 100, 100);
    EXPECT_EQ(bgrPixels(copy), before);
}
