#include "tav/imaging/ImageResize.h"

#include "imgkit/ImgKit.h"
#include "pelcalc/include/Pelcalc.h"

using imgkit::DibHandle;

namespace {
constexpr int kTrueColor = 5;
}

DibHandle HighQualityResize(const DibHandle& image, int width, int height)
{
    if (!image.isUsable())
        return {};
    return DibHandle::adopt(PcImageSize(image.get(), "案内", "高品位な拡大/縮小 処理中", width, height, 1));
}

DibHandle ResizeImage(const DibHandle& image, const QString& caption, const QString& message, int width,
                      int height, bool highQuality)
{
    ImageInfo info;
    if (!image || ImgKitImageInfo(image, &info) == 0)
        return {};
    if (highQuality && info.colorCode == kTrueColor)
        return HighQualityResize(image, width, height);
    return ImgKitImageSize(image, caption, message, width, height);
}
