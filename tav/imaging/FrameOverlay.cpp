#include "tav/imaging/FrameOverlay.h"

#include "imgkit/ImgKit.h"
#include "imgkit/ImgKitGui.h"
#include "tav/imaging/Bitmaps.h"

using imgkit::DibHandle;

namespace {

// The picture reduced to 256 colours with nearest colours only, so that the
// pure white of a frame stays pure white, drawn into a bitmap of its size.
QImage reducedBitmap(const DibHandle& image)
{
    const DibHandle reduced = ImgKitConvertColor(image, 8, 1, 1, {}, {});
    if (!reduced)
        return {};
    QImage bitmap(reduced.width(), reduced.height(), kBitmapFormat);
    bitmap.fill(Qt::white);
    if (!ImgKitDisplayHdc(&bitmap, reduced, bitmap.width(), bitmap.height(), 0))
        return {};
    return bitmap;
}

// `source` stretched to `size` with plain stretching (no smoothing), as RGB32
// so that the raster operations below can work on whole pixels.
QImage stretched(const QImage& source, QSize size)
{
    return source.scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation)
        .convertToFormat(QImage::Format_RGB32);
}

}  // namespace

int MakeFrameMask(const QString& frameFile, QImage& bitmap)
{
    const DibHandle frame = ImgKitFileLoad(frameFile, {}, {});
    if (!frame)
        return 1;
    const QImage scratch = reducedBitmap(frame);
    if (scratch.isNull())
        return 1;
    // Copy, replace white by black, then merge-paint (NOT source OR target):
    // white pixels end black, every other pixel ends white.
    bitmap = QImage(scratch.size(), kBitmapFormat);
    for (int y = 0; y < scratch.height(); ++y) {
        const uchar* in = scratch.constScanLine(y);
        uchar* out = bitmap.scanLine(y);
        for (int x = 0; x < scratch.width() * 3; x += 3) {
            const bool white = in[x] == 0xFF && in[x + 1] == 0xFF && in[x + 2] == 0xFF;
            const uchar v = white ? 0x00 : 0xFF;
            out[x] = out[x + 1] = out[x + 2] = v;
        }
    }
    return 0;
}

DibHandle OverlayFrame(const DibHandle& image, const QString& frameFile)
{
    QImage frame;
    if (!frame.load(frameFile, "BMP"))
        return {};
    QImage work = reducedBitmap(image);
    QImage mask;
    if (work.isNull() || MakeFrameMask(frameFile, mask) != 0)
        return {};
    work = work.convertToFormat(QImage::Format_RGB32);
    const QImage maskOnPhoto = stretched(mask, work.size());
    const QImage frameOnPhoto = stretched(frame, work.size());
    // Source-paint the mask (OR), then source-AND the frame: where the frame
    // is pure white the mask is black and the photo stays; elsewhere the
    // mask whitens the photo and the frame's own colour remains.
    for (int y = 0; y < work.height(); ++y) {
        auto* out = reinterpret_cast<QRgb*>(work.scanLine(y));
        const auto* m = reinterpret_cast<const QRgb*>(maskOnPhoto.constScanLine(y));
        const auto* f = reinterpret_cast<const QRgb*>(frameOnPhoto.constScanLine(y));
        for (int x = 0; x < work.width(); ++x)
            out[x] = ((out[x] | m[x]) & f[x]) | 0xFF000000u;
    }
    return BitmapToDib(work);
}
