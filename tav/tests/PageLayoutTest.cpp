// The page geometry as a pure function: a 300 dpi printer (11.81 dots per mm)
// with a 50-dot left and a 60-dot top border it cannot reach, same on the far sides.
#include "tav/printing/PageLayout.h"

#include <gtest/gtest.h>

namespace {

PageLayout a4At300Dpi()
{
    PageLayout layout;
    layout.caps = {300, 2380, 3388, 2480, 3508, 50, 60};
    layout.useMargins = true;
    layout.marginsMm = {10, 10, 10, 10};
    return layout;
}

TEST(PageLayoutTest, TheBottomMarginRoundsUpFromFourTenthsOfADot)
{
    PageLayout layout = a4At300Dpi();
    layout.marginsMm = {3, 3, 3, 3};  // 35.43 dots
    const PageGeometry g = layOutPage(layout).geometry;
    EXPECT_EQ(g.top, 35 - 60);
    EXPECT_EQ(g.left, 35 - 50);
    EXPECT_EQ(g.bottom, 36 + 3388 + 60 - 3508);
    EXPECT_EQ(g.right, 35 + 2380 + 50 - 2480);
    EXPECT_EQ(g.imageAreaHeight, 3388 - g.top - g.bottom);

    layout.toPrinterEdge = {true, false, true, false};
    const PageGeometry edge = layOutPage(layout).geometry;
    EXPECT_EQ(edge.top, 0);
    EXPECT_EQ(edge.bottom, 0);
    EXPECT_EQ(edge.left, g.left);
}

TEST(PageLayoutTest, ASeparatorLineTakesRoomWithoutItsBandAndTheGridDividesByRealCounts)
{
    PageLayout layout = a4At300Dpi();
    layout.headerLineMm = 1.0;
    layout.footerPointSize = 9;  // just under 37.5 dots
    layout.columns = 2.6;
    layout.rows = 1;
    const PageLayoutResult laid = layOutPage(layout);
    ASSERT_EQ(laid.fault, PageLayoutFault::None);
    const PageGeometry& g = laid.geometry;
    EXPECT_EQ(g.headerHeight, 12);
    EXPECT_EQ(g.footerHeight, 37);
    EXPECT_EQ(g.imageAreaTop, g.top + 12);
    EXPECT_EQ(g.columns, 2);
    EXPECT_EQ(g.cellsPerPage, 2);
    EXPECT_EQ(g.cellWidth, int(g.imageAreaWidth / 2.6 + 0.5));
    EXPECT_EQ(g.cropPitchX, g.cellWidth);
}

TEST(PageLayoutTest, APreviewMeasuresFromTheSheetEdgesInScreenPixels)
{
    PageLayout layout = a4At300Dpi();
    const PageGeometry printed = layOutPage(layout).geometry;
    layout.preview = true;
    layout.screenDotsPerMm = 4;
    layout.requestedWidthMm = 50;
    layout.requestedHeightMm = 40;
    const PageLayoutResult laid = layOutPage(layout);
    const double d = 300 / 25.4;
    EXPECT_EQ(laid.geometry.dotsPerMm, 4);
    EXPECT_EQ(laid.geometry.physicalWidth, int(2480 / d * 4));
    EXPECT_EQ(laid.geometry.top, int((printed.top + 60) / d * 4));
    EXPECT_EQ(laid.geometry.bottom, int((printed.bottom + 60) / d * 4));
    EXPECT_EQ(laid.geometry.imageAreaLeft, int((printed.imageAreaLeft + 50) / d * 4));
    EXPECT_EQ(laid.requestedWidth, 200);
    EXPECT_EQ(laid.requestedHeight, 160);
}

TEST(PageLayoutTest, LayoutsThatCannotPrintSayWhy)
{
    PageLayout layout = a4At300Dpi();
    layout.requestedWidthMm = 250;
    layout.requestedHeightMm = 10;
    EXPECT_EQ(layOutPage(layout).fault, PageLayoutFault::RequestedSizeTooLarge);

    layout = a4At300Dpi();
    layout.marginsMm = {10, 100, 10, 100};  // 210 - 200 mm leaves less than 20 mm
    EXPECT_EQ(layOutPage(layout).fault, PageLayoutFault::ImageAreaTooSmall);

    layout = a4At300Dpi();
    layout.columns = layout.rows = 3;
    layout.cropPitchX = 3000;
    layout.cropPitchY = 100;
    EXPECT_EQ(layOutPage(layout).fault, PageLayoutFault::NoWholeCell);
    layout.cropPitchX = 1000;  // two of them fit the 2244-dot width
    const PageGeometry g = layOutPage(layout).geometry;
    EXPECT_EQ(g.columns, 2);
    EXPECT_EQ(g.rows, 3);
    EXPECT_EQ(g.cellWidth, 1000);
}

}  // namespace
