// The print path's brightness, colour and grayscale adjustment.
#include "tav/printing/AdjustImage.h"
#include "tav/tests/BitmapTestPictures.h"
#include "tav/tests/FakeControls.h"

#include <gtest/gtest.h>

using imgkit::DibHandle;
using namespace testpic;

namespace {

const imgkit::Bgr kGrey{100, 100, 100};
const imgkit::Bgr kOrange{20, 120, 220};

PrintAdjustment adjustment(const char* brightness, const char* r = "0", const char* g = "0",
                           const char* b = "0", bool gray = false)
{
    PrintAdjustment a;
    a.grayscale = gray;
    a.brightness = QString::fromUtf8(brightness);
    a.red = QString::fromUtf8(r);
    a.green = QString::fromUtf8(g);
    a.blue = QString::fromUtf8(b);
    return a;
}

}  // namespace

TEST(AdjustScaling, ExtremesAndTruncation)
{
    EXPECT_EQ(BrightnessLevel(100), 5.0);
    EXPECT_EQ(BrightnessLevel(-100), -5.0);
    EXPECT_EQ(BrightnessLevel(1), 0.05);
    EXPECT_EQ(ColorChange(100), 255);
    EXPECT_EQ(ColorChange(-100), -255);
    EXPECT_EQ(ColorChange(1), 2);
    EXPECT_EQ(ColorChange(-1), -2);
    EXPECT_EQ(ColorChange(40), 102);
    EXPECT_EQ(ColorChange(0.3), 0);
    // Typed beyond the counters' range: held at the limits, never overflowing.
    EXPECT_EQ(ColorChange(1e12), 255);
    EXPECT_EQ(ColorChange(-1e300), -255);
    EXPECT_EQ(BrightnessLevel(400), 5.0);
}

TEST(AdjustScaling, NumbersAsTyped)
{
    EXPECT_EQ(AdjustNumber(QStringLiteral("00")), 0.0);
    EXPECT_EQ(AdjustNumber(QStringLiteral("-12.5")), -12.5);
    EXPECT_EQ(AdjustNumber(QStringLiteral(" +7 ")), 7.0);
    EXPECT_FALSE(AdjustNumber(QStringLiteral("")));
    EXPECT_FALSE(AdjustNumber(QStringLiteral("abc")));
    EXPECT_FALSE(AdjustNumber(QStringLiteral("1,5")));
    EXPECT_FALSE(AdjustNumber(QStringLiteral("inf")));
    EXPECT_FALSE(AdjustNumber(QStringLiteral("nan")));
    EXPECT_TRUE(IsUnchangedText(QStringLiteral("0")));
    EXPECT_FALSE(IsUnchangedText(QStringLiteral("00")));
    EXPECT_FALSE(IsUnchangedText(QStringLiteral(" 0")));
}

TEST(PrintAdjustment, AllZeroLeavesThePictureUntouched)
{
    DibHandle picture = solid(4, 4, kOrange);
    const void* block = picture.get();
    ASSERT_TRUE(ApplyPrintAdjustment(picture, adjustment("0")));
    EXPECT_EQ(picture.get(), block);
    EXPECT_EQ(pixel(picture, 2, 2), kOrange);
}

TEST(PrintAdjustment, NonNumbersFailTheLoadOnlyWhereTheyCount)
{
    DibHandle picture = solid(4, 4, kOrange);
    EXPECT_FALSE(ApplyPrintAdjustment(picture, adjustment("x")));
    EXPECT_FALSE(picture);  // released

    picture = solid(4, 4, kOrange);
    EXPECT_FALSE(ApplyPrintAdjustment(picture, adjustment("0", "0", "", "0")));
    EXPECT_FALSE(picture);

    // Grayscale ignores the other boxes, whatever they hold.
    picture = solid(4, 4, kOrange);
    EXPECT_TRUE(ApplyPrintAdjustment(picture, adjustment("x", "y", "z", "w", true)));
    ASSERT_TRUE(picture);
    const imgkit::Bgr g = pixel(picture, 0, 0);
    EXPECT_TRUE(g.r == g.g && g.g == g.b);
}

TEST(PrintAdjustment, DoubleZeroIsAChangeOfZero)
{
    // "00" calls the brightness change, which at level 0 keeps every value.
    DibHandle picture = solid(4, 4, kGrey);
    ASSERT_TRUE(ApplyPrintAdjustment(picture, adjustment("00")));
    EXPECT_EQ(pixel(picture, 1, 1), kGrey);
    DibHandle broken;
    EXPECT_FALSE(ApplyPrintAdjustment(broken, adjustment("00")));
    EXPECT_TRUE(ApplyPrintAdjustment(broken, adjustment("0")));
}

TEST(PrintAdjustment, ExtremeBrightnessAndColour)
{
    DibHandle white = solid(4, 4, kGrey);
    ASSERT_TRUE(ApplyPrintAdjustment(white, adjustment("100")));
    EXPECT_EQ(pixel(white, 0, 0), kWhite);
    DibHandle black = solid(4, 4, kGrey);
    ASSERT_TRUE(ApplyPrintAdjustment(black, adjustment("-100")));
    EXPECT_EQ(pixel(black, 0, 0), kBlack);

    // Red -100 takes all red away; the other channels move by their own amounts.
    DibHandle colour = solid(4, 4, kOrange);
    ASSERT_TRUE(ApplyPrintAdjustment(colour, adjustment("0", "-100", "10", "100")));
    const imgkit::Bgr c = pixel(colour, 3, 3);
    EXPECT_EQ(c.r, 0);
    EXPECT_EQ(c.g, 120 + 25);
    EXPECT_EQ(c.b, 255);
}

TEST(PrintAdjustment, GrayscaleReplacesAndIgnoresTheRest)
{
    DibHandle a = solid(4, 4, kOrange);
    DibHandle b = solid(4, 4, kOrange);
    ASSERT_TRUE(ApplyPrintAdjustment(a, adjustment("0", "0", "0", "0", true)));
    ASSERT_TRUE(ApplyPrintAdjustment(b, adjustment("100", "-100", "100", "100", true)));
    EXPECT_EQ(pixel(a, 0, 0), pixel(b, 0, 0));
    EXPECT_NE(pixel(a, 0, 0), kWhite);
}

TEST(PrintAdjustment, ReadFromTheTabsControls)
{
    FakeControls controls;
    controls.texts = {{"tx_akarusa", "15"}, {"tx_r", "1"}, {"tx_g", "2"}, {"tx_b", "3"}};
    controls.checks = {{"ch_gurei", true}};
    const PrintAdjustment a = ReadPrintAdjustment(controls);
    EXPECT_TRUE(a.grayscale);
    EXPECT_EQ(a.brightness, QStringLiteral("15"));
    EXPECT_EQ(a.red + a.green + a.blue, QStringLiteral("123"));
}
