// Drawing onto paint devices, printing in physical units, the clipboard.
#include "imgkit/ImgKitGui.h"
#include "imgkit/tests/TestPictures.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

using imgkit::DibHandle;
using namespace imgkit::test;

namespace {

DibHandle solid(int w, int h, std::uint8_t b, std::uint8_t g, std::uint8_t r)
{
    DibHandle dib = DibHandle::create(w, h, 24);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::uint8_t* p = dib.row(y) + 3 * x;
            p[0] = b;
            p[1] = g;
            p[2] = r;
        }
    return dib;
}

QImage canvas(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

}  // namespace

TEST(Display, XYDrawsAtNaturalSizeTopRowFirst)
{
    DibHandle dib = solid(4, 3, 0, 0, 255);
    std::uint8_t* top = dib.row(0);
    top[0] = top[1] = top[2] = 0;  // top-left pixel black
    QImage target = canvas(20, 20);
    ASSERT_EQ(ImgKitDisplayHdcXY(&target, dib, 5, 6), 1);
    EXPECT_EQ(target.pixel(5, 6), qRgb(0, 0, 0));
    EXPECT_EQ(target.pixel(8, 8), qRgb(255, 0, 0));
    EXPECT_EQ(target.pixel(9, 8), qRgb(255, 255, 255));
    EXPECT_EQ(target.pixel(5, 9), qRgb(255, 255, 255));
}

TEST(Display, StretchedAtTheOriginForEveryDepth)
{
    const DibHandle pictures[] = {indexed(3, 3, 1), indexed(3, 3, 4), indexed(3, 3, 8), photo24(3, 3)};
    for (const DibHandle& dib : pictures) {
        QImage target = canvas(30, 30);
        ASSERT_EQ(ImgKitDisplayHdc(&target, dib, 12, 9, 0), 1);
        const auto px = bgrPixels(dib);
        EXPECT_EQ(target.pixel(0, 0), qRgb(px[2], px[1], px[0]));
        EXPECT_EQ(target.pixel(12, 9), qRgb(255, 255, 255));
        const auto last = px.size() - 3;  // bottom-right pixel reaches (11, 8)
        EXPECT_EQ(target.pixel(11, 8), qRgb(px[last + 2], px[last + 1], px[last]));
    }
    QImage target = canvas(5, 5);
    EXPECT_EQ(ImgKitDisplayHdc(&target, DibHandle{}, 5, 5, 0), 0);
}

TEST(Print, RectangleInTenthsOfAMillimetre)
{
    QImage page = canvas(600, 600);
    page.setDotsPerMeterX(11811);  // 300 dpi
    page.setDotsPerMeterY(11811);
    QPainter painter(&page);
    ASSERT_EQ(IK5SetDeviceMode(1), 1);
    // 10 mm to 30 mm across, 5 mm to 15 mm down: 118..354 and 59..177 dots.
    ASSERT_EQ(IK5ImageOut(painter, solid(2, 2, 255, 0, 0), ImgKitRect{100, 50, 300, 150}, 0), 1);
    EXPECT_EQ(IK5ImageOut(painter, solid(2, 2, 255, 0, 0), ImgKitRect{100, 50, 100, 150}, 0), 0);
    painter.end();
    EXPECT_EQ(page.pixel(120, 61), qRgb(0, 0, 255));
    EXPECT_EQ(page.pixel(352, 175), qRgb(0, 0, 255));
    EXPECT_EQ(page.pixel(115, 61), qRgb(255, 255, 255));
    EXPECT_EQ(page.pixel(120, 180), qRgb(255, 255, 255));
    EXPECT_EQ(IK5SetDeviceMode(7), 0);
}

TEST(Clipboard, PictureComesBackAsA24BitHandle)
{
    QImage image(3, 2, QImage::Format_ARGB32);
    image.fill(qRgba(0, 0, 0, 0));
    image.setPixel(0, 0, qRgb(10, 20, 30));
    QGuiApplication::clipboard()->setImage(image);
    const DibHandle dib = ImgKitGetFromClipBrd(nullptr);
    if (!dib)
        GTEST_SKIP() << "this platform has no clipboard";
    EXPECT_EQ(dib.bitCount(), 24);
    EXPECT_EQ(dib.width(), 3);
    const auto px = bgrPixels(dib);
    EXPECT_EQ(px[0], 30);
    EXPECT_EQ(px[2], 10);
    EXPECT_EQ(px[3], 255);  // transparent over white
}

TEST(QImageBridge, RoundTripKeepsPixels)
{
    const DibHandle photo = photo24(17, 9);
    const DibHandle back = imgkit::fromQImage(imgkit::toQImage(photo));
    EXPECT_EQ(bgrPixels(back), bgrPixels(photo));
}
