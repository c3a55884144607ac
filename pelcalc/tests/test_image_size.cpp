// PcImageSize through the shared library: results, direction rules, refusals.
#include "pelcalc/tests/ReferenceResample.h"

#include "pelcalc/include/Pelcalc.h"
#include "platform/tests/ScriptedPrompt.h"

#include <gtest/gtest.h>

#include <random>

using namespace pelcalc_test;

namespace {

Block resize(const Block& source, int width, int height, int mode)
{
    return Block(PcImageSize(source.get(), nullptr, nullptr, width, height, mode));
}

Pixels resized(const Pixels& source, int width, int height, int mode)
{
    const Block from = makeBlock(source);
    const Block to = resize(from, width, height, mode);
    EXPECT_NE(to, nullptr) << source.width << "x" << source.height << " -> " << width << "x" << height;
    return to ? readBlock(to.get()) : Pixels();
}

}  // namespace

TEST(PcImageSize, AveragesEach2x2BlockAndKeepsAUniformGrey)
{
    EXPECT_TRUE(resized(Pixels(640, 480, 100), 320, 240, 1) == Pixels(320, 240, 100));

    Pixels source = randomPixels(640, 480, 1);
    const Pixels out = resized(source, 320, 240, 1);
    ASSERT_EQ(out.width, 320);
    for (int r : {0, 117, 239})
        for (int c : {0, 200, 319})
            for (int ch = 0; ch < 3; ++ch) {
                const int sum = source.at(2 * r, 2 * c, ch) + source.at(2 * r, 2 * c + 1, ch) +
                                source.at(2 * r + 1, 2 * c, ch) + source.at(2 * r + 1, 2 * c + 1, ch);
                EXPECT_EQ(out.at(r, c, ch), (2 * sum + 4) / 8) << r << "," << c;  // half up
            }
}

TEST(PcImageSize, EqualWidthEnlargesAndMatchesTheReference)
{
    const Pixels source = randomPixels(100, 100, 2);
    EXPECT_TRUE(resized(source, 100, 150, 1) == referenceBicubic(source, 100, 150));
    EXPECT_TRUE(resized(source, 100, 150, 0) == referenceNearest(source, 100, 150));
}

TEST(PcImageSize, RefusesOtherDirectionsSizesAndModes)
{
    const Block source = makeBlock(Pixels(100, 100, 7));
    for (const auto& [w, h] : {std::pair{150, 80},
                               {100, 100},
                               {80, 150},
                               {100, 80},
                               {80, 100},
                               {0, 50},
                               {-5, 50},
                               {50, 0},
                               {150, -1}})
        for (int mode : {0, 1})
            EXPECT_EQ(resize(source, w, h, mode), nullptr) << w << "x" << h << " mode " << mode;
    for (int mode : {-1, 2, 11, 21})
        EXPECT_EQ(resize(source, 50, 50, mode), nullptr) << "mode " << mode;
}

TEST(PcImageSize, EightBitSourceShowsTheAaBoxAndFails)
{
    platform::ScriptedPrompt prompts;
    const Block source = makeBlock(Pixels(16, 16), 8, 256);
    EXPECT_EQ(PcImageSize(source.get(), nullptr, nullptr, 8, 8, 1), nullptr);
    ASSERT_EQ(prompts.shown().size(), 1);
    EXPECT_EQ(prompts.shown()[0].type, platform::PromptRecord::Type::Message);
    EXPECT_EQ(prompts.shown()[0].text, "aa");
    EXPECT_EQ(prompts.shown()[0].caption, "bb");

    // A bad mode is refused before the picture is looked at.
    prompts.clear();
    EXPECT_EQ(PcImageSize(source.get(), nullptr, nullptr, 8, 8, 3), nullptr);
    EXPECT_TRUE(prompts.shown().isEmpty());
}

TEST(PcImageSize, MatchesTheReferenceForRandomSizes)
{
    std::mt19937 random(3);
    for (int run = 0; run < 25; ++run) {
        const int srcW = 2 + random() % 40, srcH = 2 + random() % 40;
        const Pixels source = randomPixels(srcW, srcH, run);
        const int dW = 1 + random() % (srcW - 1), dH = 1 + random() % (srcH - 1);
        EXPECT_TRUE(resized(source, dW, dH, 1) == referenceAreaAverage(source, dW, dH));
        EXPECT_TRUE(resized(source, dW, dH, 0) == referenceNearest(source, dW, dH));
        const int eW = srcW + random() % 30, eH = srcH + 1 + random() % 30;
        EXPECT_TRUE(resized(source, eW, eH, 1) == referenceBicubic(source, eW, eH));
        EXPECT_TRUE(resized(source, eW, eH, 0) == referenceNearest(source, eW, eH));
    }
}

TEST(PcImageSize, LargePicturesSplitAcrossWorkersMatchTheReference)
{
    const Pixels big = randomPixels(1203, 901, 4);
    EXPECT_TRUE(resized(big, 701, 487, 1) == referenceAreaAverage(big, 701, 487));
    const Pixels small = randomPixels(301, 203, 5);
    EXPECT_TRUE(resized(small, 1001, 703, 1) == referenceBicubic(small, 1001, 703));
}

TEST(PcImageSize, NarrowOrShortSourcesEnlargeFromInsideThePicture)
{
    // Fewer than four source pixels along an axis: the taps stay inside the
    // picture (edge pixels stand in), so a plain picture stays plain.
    for (const auto& [srcW, srcH, dstW, dstH] :
         {std::array{1, 1, 1, 5}, std::array{2, 2, 7, 9}, std::array{3, 3, 3, 11}, std::array{2, 40, 9, 41},
          std::array{40, 3, 41, 17}}) {
        SCOPED_TRACE(testing::Message() << srcW << "x" << srcH << " -> " << dstW << "x" << dstH);
        const Pixels source = randomPixels(srcW, srcH, srcW * 7 + srcH);
        EXPECT_TRUE(resized(source, dstW, dstH, 1) == referenceBicubic(source, dstW, dstH));
        const Pixels plain = resized(Pixels(srcW, srcH, 200), dstW, dstH, 1);
        for (std::uint8_t v : plain.bytes)
            ASSERT_TRUE(v == 200 || v == 199) << int(v);
    }
}

TEST(PcImageSize, OnePixelWideOrHighTargetsAndSources)
{
    // A one-pixel target takes the middle of the source.
    Pixels source = randomPixels(9, 7, 6);
    const Pixels column = resized(source, 1, 3, 0);
    for (int r = 0; r < 3; ++r)
        for (int ch = 0; ch < 3; ++ch)
            EXPECT_EQ(column.at(r, 0, ch), source.at(r * 3, 4, ch));
    EXPECT_TRUE(resized(source, 1, 1, 0) == referenceNearest(source, 1, 1));
    EXPECT_TRUE(resized(source, 1, 6, 1) == referenceAreaAverage(source, 1, 6));
    EXPECT_TRUE(resized(source, 8, 1, 1) == referenceAreaAverage(source, 8, 1));
    // A one-pixel source copies its value.
    const Pixels dot = randomPixels(1, 1, 7);
    for (int mode : {0, 1}) {
        const Pixels line = resized(dot, 1, 4, mode);
        for (int r = 0; r < 4; ++r)
            for (int ch = 0; ch < 3; ++ch)
                EXPECT_EQ(line.at(r, 0, ch), dot.at(0, 0, ch));
    }
}

TEST(PcImageSize, TargetHeaderKeepsTheSourceFields)
{
    const Pixels source = randomPixels(30, 20, 8);
    const Block from = makeBlock(source, 24, 3);  // a 24-bit picture with a colour table
    const Block to = resize(from, 13, 9, 1);
    ASSERT_NE(to, nullptr);
    EXPECT_EQ(headerField32(to.get(), 0), 40);
    EXPECT_EQ(headerField32(to.get(), 4), 13);
    EXPECT_EQ(headerField32(to.get(), 8), 9);
    EXPECT_EQ(headerField16(to.get(), 12), 1);
    EXPECT_EQ(headerField16(to.get(), 14), 24);
    EXPECT_EQ(headerField32(to.get(), 16), 0);
    EXPECT_EQ(headerField32(to.get(), 20), 9 * 40);
    EXPECT_EQ(headerField32(to.get(), 24), 2835);
    EXPECT_EQ(headerField32(to.get(), 28), 2835);
    EXPECT_EQ(headerField32(to.get(), 32), 0) << "the target has no colour table";
    // The pixels are read after the table.
    EXPECT_TRUE(readBlock(to.get()) == referenceAreaAverage(source, 13, 9));
}

TEST(PcImageSize, RefusesHeadersThatDoNotDescribeTheirBlock)
{
    const Pixels source = randomPixels(20, 20, 9);
    EXPECT_EQ(PcImageSize(nullptr, nullptr, nullptr, 10, 10, 1), nullptr);
    const std::pair<int, std::int32_t> lies[] = {
        {0, 12},  // another header size
        {8, 2000},  // more rows than the block holds
        {4, 1 << 30},  // absurd width
        {8, -20},  // top-down rows
        {4, 0},  // no columns
        {16, 1},  // compressed
        {32, 100000},  // a colour table larger than any palette
    };
    for (const auto& [offset, value] : lies) {
        const Block block = makeBlock(source);
        setHeaderField32(block.get(), offset, value);
        EXPECT_EQ(PcImageSize(block.get(), nullptr, nullptr, 10, 10, 1), nullptr)
            << "field " << offset << " = " << value;
        EXPECT_EQ(PcImageSize(block.get(), nullptr, nullptr, 30, 30, 1), nullptr);
    }
}
