#include "tav/imaging/Bitmaps.h"

#include "imgkit/ImgKit.h"
#include "imgkit/ImgKitGui.h"
#include "tav/imaging/ImageResize.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include <algorithm>
#include <cstdint>

using imgkit::DibHandle;

namespace {

constexpr int kTrueColor = 5;

QImage whiteBitmap(int width, int height)
{
    QImage bitmap(width, height, kBitmapFormat);
    bitmap.fill(Qt::white);
    return bitmap;
}

// Draws the picture at (x, y) at its natural size, as 24-bit colour.
void drawAt(QImage& bitmap, const DibHandle& image, int x, int y)
{
    const DibHandle color = ImgKitConvertColor(image, 24, 1, 0, {}, {});
    if (color)
        ImgKitDisplayHdcXY(&bitmap, color, x, y);
}

}  // namespace

DibHandle BitmapToDib(const QImage& bitmap) { return imgkit::fromQImage(bitmap); }

bool DibToBitmap(const DibHandle& image, QImage& bitmap)
{
    ImageInfo info;
    if (!image || ImgKitImageInfo(image, &info) == 0) {
        bitmap = QImage();
        return false;
    }
    bitmap = whiteBitmap(info.width, info.height);
    drawAt(bitmap, image, 0, 0);
    return !bitmap.isNull();
}

bool ScreenHasPalette()
{
    const QScreen* screen = qobject_cast<QGuiApplication*>(QCoreApplication::instance())
                                ? QGuiApplication::primaryScreen()
                                : nullptr;
    return screen && screen->depth() <= 8;
}

void ReduceBitmapForDisplay(bool onlyOnPaletteScreen, QImage& bitmap)
{
    if (bitmap.format() != kBitmapFormat)
        return;
    if (onlyOnPaletteScreen && !ScreenHasPalette())
        return;
    DibHandle dib = BitmapToDib(bitmap);
    ImageInfo info;
    if (!dib || ImgKitImageInfo(dib, &info) == 0)
        return;
    if (info.colorCode == kTrueColor)
        ImgKitBit24To8(dib, QStringLiteral("案内"), QStringLiteral("減色中です..."));
    DibToBitmap(dib, bitmap);
}

QSize ScaledToFit(int width, int height, int boxWidth, int boxHeight)
{
    if (width <= 0 || height <= 0 || boxWidth <= 0 || boxHeight <= 0)
        return QSize(1, 1);
    const std::int64_t w = width, h = height, bw = boxWidth, bh = boxHeight;
    // boxWidth / width > boxHeight / height: the height decides.
    const bool byHeight = bw * h > bh * w;
    const std::int64_t outW = byHeight ? w * bh / h : bw;
    const std::int64_t outH = byHeight ? bh : h * bw / w;
    return QSize(static_cast<int>(std::max<std::int64_t>(1, outW)),
                 static_cast<int>(std::max<std::int64_t>(1, outH)));
}

void FitImageToBitmap(const DibHandle& image, QImage& bitmap, int cellWidth, int cellHeight, bool highQuality)
{
    bitmap = whiteBitmap(cellWidth, cellHeight);
    ImageInfo info;
    if (!image || ImgKitImageInfo(image, &info) == 0) {
        // The outline of an empty cell: the rectangle from (3, 7) to
        // (cellWidth - 3, cellHeight - 7), its right and bottom edges excluded.
        QPainter painter(&bitmap);
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(Qt::white);
        painter.drawRect(3, 7, cellWidth - 7, cellHeight - 15);
        return;
    }
    int w = info.width;
    int h = info.height;
    DibHandle resized;
    if (cellWidth < w || cellHeight < h) {
        const QSize size = ScaledToFit(w, h, cellWidth, cellHeight);
        w = size.width();
        h = size.height();
        resized = ResizeImage(image, {}, {}, w, h, highQuality);
        if (!resized)
            return;
    }
    drawAt(bitmap, resized ? resized : image, (cellWidth - w) / 2, (cellHeight - h) / 2);
}
