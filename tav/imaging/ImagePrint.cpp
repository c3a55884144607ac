#include "tav/imaging/ImagePrint.h"

#include "imgkit/ImgKit.h"
#include "tav/imaging/ImageResize.h"

#include <cmath>

using imgkit::DibHandle;

namespace {
constexpr double kMmPerInch = 25.4;
constexpr int kTrueColor = 5;
}  // namespace

std::optional<QSize> HighQualityPrintSize(int imageWidth, int imageHeight, const ImgKitRect& rect)
{
    const double widthMm = (rect.right - rect.left) / 10.0;
    const double heightMm = (rect.bottom - rect.top) / 10.0;
    if (imageWidth / widthMm * kMmPerInch >= kTargetPrintDpi &&
        imageHeight / heightMm * kMmPerInch >= kTargetPrintDpi)
        return std::nullopt;
    return QSize(static_cast<int>(std::trunc(kTargetPrintDpi / kMmPerInch * widthMm)),
                 static_cast<int>(std::trunc(kTargetPrintDpi / kMmPerInch * heightMm)));
}

int PrintImage(QPainter& printer, const DibHandle& image, bool highQuality, const ImgKitRect& rect)
{
    ImageInfo info;
    if (!image || ImgKitImageInfo(image, &info) == 0)
        return 0;
    // An empty rectangle has no density; the library refuses to print into it.
    const bool emptyRect = rect.right <= rect.left || rect.bottom <= rect.top;
    if (!highQuality || info.colorCode != kTrueColor || emptyRect)
        return IK5ImageOut(printer, image, rect, 0);
    const std::optional<QSize> size = HighQualityPrintSize(info.width, info.height, rect);
    if (!size)
        return IK5ImageOut(printer, image, rect, 0);
    const DibHandle resampled = HighQualityResize(image, size->width(), size->height());
    if (!resampled)
        return 0;
    return IK5ImageOut(printer, resampled, rect, 0);
}
