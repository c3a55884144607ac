#include "tav/printing/PreviewZoom.h"

#include <gtest/gtest.h>

#include <limits>

TEST(PreviewZoomTest, StepsStopAtBothEnds)
{
    double zoom = 1.0;
    for (int i = 0; i < 5; ++i)
        zoom = EnlargedPreviewZoom(zoom);
    EXPECT_DOUBLE_EQ(zoom, 2.0);
    EXPECT_EQ(PreviewCaption(zoom).toStdString(), "印刷ﾌﾟﾚﾋﾞｭｰ (200%)");

    zoom = 1.0;
    for (int i = 0; i < 4; ++i)
        zoom = ReducedPreviewZoom(zoom);
    EXPECT_DOUBLE_EQ(zoom, 0.25);
    EXPECT_EQ(PreviewCaption(zoom).toStdString(), "印刷ﾌﾟﾚﾋﾞｭｰ (25%)");

    // A zoom between the steps of the menu (from the settings file) is not
    // pushed below the smallest step.
    EXPECT_DOUBLE_EQ(ReducedPreviewZoom(0.4), 0.25);
    EXPECT_EQ(PreviewCaption(EnlargedPreviewZoom(1.0)).toStdString(), "印刷ﾌﾟﾚﾋﾞｭｰ (125%)");
}

TEST(PreviewZoomTest, PercentOfAZoomReadBackFromItsPercent)
{
    for (int percent = 25; percent <= 200; ++percent)
        EXPECT_EQ(PreviewZoomPercent(percent / 100.0), percent) << percent;
}

TEST(PreviewZoomTest, UnusableZoomsAreBroughtIntoRange)
{
    EXPECT_DOUBLE_EQ(UsablePreviewZoom(0.33), 0.33);
    EXPECT_DOUBLE_EQ(UsablePreviewZoom(0.01), 0.25);
    EXPECT_DOUBLE_EQ(UsablePreviewZoom(1000.0), 2.0);
    EXPECT_DOUBLE_EQ(UsablePreviewZoom(std::numeric_limits<double>::quiet_NaN()), 1.0);
    EXPECT_DOUBLE_EQ(UsablePreviewZoom(std::numeric_limits<double>::infinity()), 1.0);
}

TEST(PreviewZoomTest, ZoomedSizeTruncatesAndNeverVanishes)
{
    EXPECT_EQ(ZoomedPageSize(QSize(794, 1123), 1.25), QSize(992, 1403));
    EXPECT_EQ(ZoomedPageSize(QSize(3, 1), 0.25), QSize(1, 1));
    EXPECT_EQ(ZoomedPageSize(QSize(290, 100), 0.29), QSize(84, 29));
}

TEST(PreviewZoomTest, FitShowsTheWholePageWithinTheSteps)
{
    EXPECT_DOUBLE_EQ(FitPreviewZoom(QSize(794, 1123), QSize(1280, 950)), 950.0 / 1123);
    EXPECT_DOUBLE_EQ(FitPreviewZoom(QSize(100, 100), QSize(1280, 950)), 2.0);
    EXPECT_DOUBLE_EQ(FitPreviewZoom(QSize(10000, 10000), QSize(1280, 950)), 0.25);
}
