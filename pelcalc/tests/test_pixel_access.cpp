// PcGetImageMem, PcGetPx and PcSetPx.
#include "pelcalc/tests/TestPictures.h"

#include "pelcalc/include/Pelcalc.h"

#include <gtest/gtest.h>

using namespace pelcalc_test;

TEST(PcGetImageMem, HeaderFields)
{
    const Block block(PcGetImageMem(5, 3));
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(headerField32(block.get(), 0), 40);
    EXPECT_EQ(headerField32(block.get(), 4), 5);
    EXPECT_EQ(headerField32(block.get(), 8), 3);
    EXPECT_EQ(headerField16(block.get(), 12), 1);
    EXPECT_EQ(headerField16(block.get(), 14), 24);
    EXPECT_EQ(headerField32(block.get(), 16), 0);
    EXPECT_EQ(headerField32(block.get(), 20), 3 * 16);  // stride ((5 * 24 + 31) / 32) * 4 = 16
    for (int offset : {24, 28, 32, 36})
        EXPECT_EQ(headerField32(block.get(), offset), 0);
}

TEST(PcGetImageMem, RefusesEmptyAndAbsurdSizes)
{
    EXPECT_EQ(PcGetImageMem(0, 10), nullptr);
    EXPECT_EQ(PcGetImageMem(10, -1), nullptr);
    EXPECT_EQ(PcGetImageMem(100000, 100000), nullptr);
}

TEST(PcPixels, YZeroIsTheLastStoredRow)
{
    Pixels pixels(4, 3, 0);
    pixels.at(2, 0, 0) = 11;  // last stored row, first column: the top left
    pixels.at(2, 0, 1) = 22;
    pixels.at(2, 0, 2) = 33;
    const Block block = makeBlock(pixels);
    unsigned char b = 0, g = 0, r = 0;
    EXPECT_EQ(PcGetPx(block.get(), 0, 0, &b, &g, &r), 0);
    EXPECT_EQ(b, 11);
    EXPECT_EQ(g, 22);
    EXPECT_EQ(r, 33);

    EXPECT_EQ(PcSetPx(block.get(), 3, 2, 1, 2, 3), 0);  // bottom right = first stored row
    const Pixels after = readBlock(block.get());
    EXPECT_EQ(after.at(0, 3, 0), 1);
    EXPECT_EQ(after.at(0, 3, 1), 2);
    EXPECT_EQ(after.at(0, 3, 2), 3);
    EXPECT_EQ(PcGetPx(block.get(), 3, 2, &b, &g, &r), 0);
    EXPECT_EQ(r, 3);
}

TEST(PcPixels, OutsideAbsentOrNotTrueColourReturnsOne)
{
    const Block block = makeBlock(Pixels(4, 3, 9));
    unsigned char b = 0, g = 0, r = 0;
    for (const auto& [x, y] : {std::pair{4, 0}, {0, 3}, {-1, 0}, {0, -1}}) {
        EXPECT_EQ(PcGetPx(block.get(), x, y, &b, &g, &r), 1) << x << "," << y;
        EXPECT_EQ(PcSetPx(block.get(), x, y, 1, 1, 1), 1) << x << "," << y;
    }
    EXPECT_EQ(PcGetPx(nullptr, 0, 0, &b, &g, &r), 1);
    EXPECT_EQ(PcSetPx(nullptr, 0, 0, 1, 1, 1), 1);
    EXPECT_EQ(PcGetPx(block.get(), 0, 0, nullptr, &g, &r), 1);
    const Block eight = makeBlock(Pixels(4, 3), 8, 256);
    EXPECT_EQ(PcGetPx(eight.get(), 0, 0, &b, &g, &r), 1);
    EXPECT_EQ(PcSetPx(eight.get(), 0, 0, 1, 1, 1), 1);
    EXPECT_TRUE(readBlock(block.get()) == Pixels(4, 3, 9)) << "nothing written";
}
