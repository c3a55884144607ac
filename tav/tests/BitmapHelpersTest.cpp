// Thumbnail cells, printing into a rectangle (a raster page of a chosen
// density stands in for the printer), bitmap conversions and frame overlays.
#include "imgkit/ImgKit.h"
#include "tav/imaging/Bitmaps.h"
#include "tav/imaging/FrameOverlay.h"
#include "tav/imaging/ImagePrint.h"
#include "tav/tests/BitmapTestPictures.h"

#include <QPainter>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using imgkit::DibHandle;
using namespace testpic;

namespace {

const QRgb kWhiteRgb = qRgb(255, 255, 255);
const QRgb kBlackRgb = qRgb(0, 0, 0);

// A white page of width x height dots at `dpi`, as the printer would be.
QImage page(int width, int height, int dpi)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    image.fill(Qt::white);
    return image;
}

// The bounding box of the pixels that are not white.
QRect inkBox(const QImage& image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != kWhiteRgb)
                box |= QRect(x, y, 1, 1);
    return box;
}

}  // namespace

TEST(FitImageToBitmap, SmallPictureIsCentredUnscaled)
{
    QImage cell;
    for (bool hq : {false, true}) {
        FitImageToBitmap(solid(100, 50, kRed), cell, 120, 90, hq);
        EXPECT_EQ(cell.size(), QSize(120, 90));
        EXPECT_EQ(inkBox(cell), QRect(10, 20, 100, 50)) << hq;
        EXPECT_EQ(cell.pixel(10, 20), rgb(kRed));
    }
}

TEST(FitImageToBitmap, LargePictureIsReducedToFitAndCentred)
{
    QImage cell;
    for (bool hq : {false, true}) {
        FitImageToBitmap(solid(400, 200, kRed), cell, 100, 100, hq);
        EXPECT_EQ(inkBox(cell), QRect(0, 25, 100, 50)) << hq;
        // Taller than the cell only: reduced by the height.
        FitImageToBitmap(solid(50, 300, kRed), cell, 100, 100, hq);
        EXPECT_EQ(inkBox(cell), QRect(42, 0, 16, 100)) << hq;
    }
}

TEST(FitImageToBitmap, DecidingSideFillsTheCellExactly)
{
    EXPECT_EQ(ScaledToFit(440, 330, 120, 90), QSize(120, 90));
    EXPECT_EQ(ScaledToFit(330, 90, 110, 100), QSize(110, 30));
    EXPECT_EQ(ScaledToFit(3000, 1, 100, 100), QSize(100, 1));
    EXPECT_EQ(ScaledToFit(0, 10, 100, 100), QSize(1, 1));
    EXPECT_EQ(ScaledToFit(10, 10, 0, 100), QSize(1, 1));
    QImage cell;
    FitImageToBitmap(solid(330, 990, kRed), cell, 90, 90, false);
    EXPECT_EQ(inkBox(cell), QRect(30, 0, 30, 90));
}

TEST(FitImageToBitmap, CallersPictureIsLeftAlone)
{
    const DibHandle image = solid8(300, 300, kBlue);
    QImage cell;
    FitImageToBitmap(image, cell, 50, 50, true);
    EXPECT_EQ(inkBox(cell), QRect(0, 0, 50, 50));
    EXPECT_EQ(image.width(), 300);
    EXPECT_EQ(image.bitCount(), 8);
}

TEST(FitImageToBitmap, EmptyCellGetsItsOutline)
{
    QImage cell;
    FitImageToBitmap(DibHandle(), cell, 60, 40, false);
    ASSERT_EQ(cell.size(), QSize(60, 40));
    // The rectangle (3, 7) - (57, 33), right and bottom edges excluded.
    EXPECT_EQ(inkBox(cell), QRect(3, 7, 54, 26));
    EXPECT_EQ(cell.pixel(3, 7), kBlackRgb);
    EXPECT_EQ(cell.pixel(56, 32), kBlackRgb);
    EXPECT_EQ(cell.pixel(30, 7), kBlackRgb);
    EXPECT_EQ(cell.pixel(30, 20), kWhiteRgb);
}

TEST(HighQualityPrintSize, TheDensityRule)
{
    // 600 x 400 into 100 x 50 mm: about 152 and 203 pixels per inch.
    EXPECT_FALSE(HighQualityPrintSize(600, 400, {0, 0, 1000, 500}));
    // Into 200 x 100 mm: 76 ppi, resampled to 125 ppi of the rectangle.
    EXPECT_EQ(HighQualityPrintSize(600, 400, {0, 0, 2000, 1000}), QSize(984, 492));
    // Exactly 125 ppi one way is enough; the other way decides.
    EXPECT_FALSE(HighQualityPrintSize(500, 500, {0, 0, 1016, 1016}));
    EXPECT_EQ(HighQualityPrintSize(1000, 100, {0, 0, 1000, 1000}), QSize(492, 492));
}

TEST(PrintImage, PlacesThePictureToTheDot)
{
    // 254 dpi: ten dots per millimetre, one dot per tenth of a millimetre.
    for (bool hq : {false, true}) {
        QImage paper = page(1200, 800, 254);
        QPainter printer(&paper);
        EXPECT_NE(PrintImage(printer, solid(600, 400, kRed), hq, {100, 200, 1100, 700}), 0);
        printer.end();
        EXPECT_EQ(inkBox(paper), QRect(100, 200, 1000, 500)) << hq;
        EXPECT_EQ(paper.pixel(600, 450), rgb(kRed));
    }
}

TEST(PrintImage, LowDensityPictureIsResampledAndFillsTheRectangle)
{
    QImage paper = page(2100, 1100, 254);
    QPainter printer(&paper);
    EXPECT_NE(PrintImage(printer, solid(600, 400, kBlue), true, {50, 50, 2050, 1050}), 0);
    printer.end();
    EXPECT_EQ(inkBox(paper), QRect(50, 50, 2000, 1000));
}

TEST(PrintImage, HighQualityFailsWhenTheResamplingIsRefused)
{
    const DibHandle thin = solid(1000, 100, kRed);
    QImage paper = page(1100, 1100, 254);
    QPainter printer(&paper);
    EXPECT_EQ(PrintImage(printer, thin, true, {0, 0, 1000, 1000}), 0);
    EXPECT_EQ(inkBox(paper), QRect());
    // Without high quality, and for a 256-colour picture, it prints as it is.
    EXPECT_NE(PrintImage(printer, thin, false, {0, 0, 1000, 1000}), 0);
    EXPECT_NE(PrintImage(printer, solid8(1000, 100, kBlue), true, {0, 0, 1000, 1000}), 0);
    EXPECT_EQ(PrintImage(printer, DibHandle(), false, {0, 0, 1000, 1000}), 0);
    // An empty rectangle is a failure, not a division by zero.
    EXPECT_EQ(PrintImage(printer, thin, true, {10, 10, 10, 500}), 0);
}

TEST(BitmapConversion, DibToBitmapAndBackKeepColours)
{
    const DibHandle image = solid8(7, 5, kBlue);
    QImage bitmap;
    ASSERT_TRUE(DibToBitmap(image, bitmap));
    EXPECT_EQ(bitmap.format(), kBitmapFormat);
    EXPECT_EQ(bitmap.size(), QSize(7, 5));
    EXPECT_EQ(bitmap.pixel(6, 4), rgb(kBlue));
    const DibHandle back = BitmapToDib(bitmap);
    ASSERT_TRUE(back);
    EXPECT_EQ(back.bitCount(), 24);
    EXPECT_EQ(pixel(back, 3, 2), kBlue);
    EXPECT_FALSE(DibToBitmap(DibHandle(), bitmap));
    EXPECT_FALSE(BitmapToDib(QImage()));
}

TEST(BitmapConversion, ReduceForDisplayLeavesAtMost256Colours)
{
    QImage bitmap(64, 64, kBitmapFormat);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            bitmap.setPixel(x, y, qRgb(x * 4, y * 4, (x + y) * 2));
    ReduceBitmapForDisplay(false, bitmap);
    EXPECT_EQ(bitmap.format(), kBitmapFormat);
    QSet<QRgb> colours;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            colours.insert(bitmap.pixel(x, y));
    EXPECT_LE(colours.size(), 256);
    EXPECT_GT(colours.size(), 16);

    // Other formats are left alone; so is everything on a true-colour screen.
    QImage other(4, 4, QImage::Format_RGB32);
    other.fill(qRgb(1, 2, 3));
    ReduceBitmapForDisplay(false, other);
    EXPECT_EQ(other.format(), QImage::Format_RGB32);
}

namespace {

// A 20 x 20 frame: red border of 5, pure white window inside, saved as BMP.
QString writeFrame(const QTemporaryDir& dir)
{
    DibHandle frame = solid(20, 20, kRed);
    for (int y = 5; y < 15; ++y)
        for (int x = 5; x < 15; ++x)
            std::memcpy(frame.row(y) + x * 3, &kWhite, 3);
    const QString path = dir.filePath(QStringLiteral("frame.bmp"));
    EXPECT_NE(ImgKitBmpFileSave(path, frame, {}, {}, 0), 0);
    return path;
}

}  // namespace

TEST(FrameOverlay, MaskIsBlackInTheWindowAndWhiteElsewhere)
{
    QTemporaryDir dir;
    QImage mask;
    ASSERT_EQ(MakeFrameMask(writeFrame(dir), mask), 0);
    ASSERT_EQ(mask.size(), QSize(20, 20));
    EXPECT_EQ(inkBox(mask), QRect(5, 5, 10, 10));
    EXPECT_EQ(mask.pixel(5, 5), kBlackRgb);
    EXPECT_EQ(mask.pixel(4, 5), kWhiteRgb);
    EXPECT_EQ(MakeFrameMask(dir.filePath(QStringLiteral("none.bmp")), mask), 1);
}

TEST(FrameOverlay, PhotoShowsThroughTheScaledWindow)
{
    QTemporaryDir dir;
    const DibHandle photo = solid(40, 60, kBlue);
    const DibHandle out = OverlayFrame(photo, writeFrame(dir));
    ASSERT_TRUE(out);
    EXPECT_EQ(out.width(), 40);
    EXPECT_EQ(out.height(), 60);
    // The frame is stretched twice across and three times down.
    EXPECT_EQ(pixel(out, 0, 0), kRed);
    EXPECT_EQ(pixel(out, 9, 14), kRed);
    EXPECT_EQ(pixel(out, 10, 15), kBlue);
    EXPECT_EQ(pixel(out, 29, 44), kBlue);
    EXPECT_EQ(pixel(out, 30, 45), kRed);
    EXPECT_EQ(pixel(photo, 0, 0), kBlue);
}

TEST(FrameOverlay, MissingFrameOrPhotoGivesNothing)
{
    QTemporaryDir dir;
    EXPECT_FALSE(OverlayFrame(solid(8, 8, kBlue), dir.filePath(QStringLiteral("none.bmp"))));
    EXPECT_FALSE(OverlayFrame(DibHandle(), writeFrame(dir)));
}
