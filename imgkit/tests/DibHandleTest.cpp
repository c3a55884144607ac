// Ownership of DibHandle and the layout facts the C boundary relies on.
#include "imgkit/ImgKit.h"
#include "imgkit/tests/TestPictures.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

using imgkit::DibHandle;

TEST(DibHandle, MoveLeavesOneOwnerAndReleaseHandsTheBlockOver)
{
    DibHandle a = DibHandle::create(3, 2, 24);
    void* block = a.get();
    DibHandle b = std::move(a);
    EXPECT_FALSE(a);
    EXPECT_EQ(b.get(), block);
    a = std::move(b);
    EXPECT_EQ(a.get(), block);
    void* raw = a.release();
    EXPECT_FALSE(a);
    EXPECT_EQ(raw, block);
    DibHandle back = DibHandle::adopt(raw);  // freed once, by `back`
    EXPECT_EQ(back.width(), 3);
}

TEST(DibHandle, AcceptsBlocksAllocatedByCCode)
{
    // pelcalc and GV hand over malloc() blocks: adopt one built by hand.
    const std::size_t size = 40 + 4 * 2 + 4;
    auto* block = static_cast<std::uint8_t*>(std::calloc(1, size));
    imgkit::BitmapInfoHeader h{};
    h.size = 40;
    h.width = 1;
    h.height = 2;
    h.planes = 1;
    h.bitCount = 8;
    h.clrUsed = 2;
    std::memcpy(block, &h, 40);
    DibHandle dib = DibHandle::adopt(block);
    ASSERT_TRUE(dib.isUsable());
    EXPECT_EQ(dib.paletteSize(), 2);
    EXPECT_EQ(dib.bitsOffset(), 48u);
    ImgKitMemFree(dib.release());
    ImgKitMemFree(nullptr);
}

TEST(DibHandle, LayoutIsPackedBottomUpWithPaddedRows)
{
    DibHandle dib = DibHandle::create(5, 3, 24);
    EXPECT_EQ(dib.stride(), 16u);
    EXPECT_EQ(dib.bits(), static_cast<std::uint8_t*>(dib.get()) + 40);
    EXPECT_EQ(dib.row(2), dib.bits());  // the bottom row is stored first
    EXPECT_EQ(DibHandle::create(9, 1, 1).stride(), 4u);
    EXPECT_EQ(DibHandle::create(3, 1, 4).bitsOffset(), 40u + 64u);
    EXPECT_EQ(DibHandle::create(1, 1, 8).header().bitCount, 8);
}

TEST(DibHandle, CreateRefusesSizesOutsideTheLimits)
{
    EXPECT_FALSE(DibHandle::create(0, 5, 24));
    EXPECT_FALSE(DibHandle::create(5, -1, 24));
    EXPECT_FALSE(DibHandle::create(70000, 1, 24));
    EXPECT_FALSE(DibHandle::create(20000, 20000, 24));
    EXPECT_FALSE(DibHandle::create(4, 4, 7));
}

TEST(ImageInfo, ColourCodesFollowDepthAndPalette)
{
    ImageInfo info;
    auto code = [&](const DibHandle& d) {
        EXPECT_EQ(ImgKitImageInfo(d, &info), 1);
        return info.colorCode;
    };
    DibHandle grey8 = DibHandle::create(4, 2, 8);
    for (int i = 0; i < 256; ++i)
        grey8.palette()[i] = {std::uint8_t(i), std::uint8_t(i), std::uint8_t(i), 0};
    EXPECT_EQ(code(imgkit::test::indexed(4, 2, 1)), 0);
    EXPECT_EQ(code(imgkit::test::indexed(4, 2, 4)), 2);
    EXPECT_EQ(code(grey8), 3);
    EXPECT_EQ(code(imgkit::test::indexed(4, 2, 8)), 4);
    EXPECT_EQ(code(DibHandle::create(4, 2, 24)), 5);
    EXPECT_EQ(code(DibHandle::create(4, 2, 16)), 6);
    EXPECT_EQ(code(DibHandle::create(4, 2, 32)), 7);
    EXPECT_EQ(info.width, 4);
    EXPECT_EQ(info.height, 2);
    EXPECT_EQ(ImgKitImageInfo(DibHandle{}, &info), 0);
}
