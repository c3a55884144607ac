// IK5SetDeviceMode and IK5ImageOut: pictures onto the printer in physical units.
#include "imgkit/ImgKitGui.h"

#include <QImage>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <atomic>
#include <cmath>

using imgkit::DibHandle;

namespace {
// The print job's drawing mode; the program prints from one thread.
std::atomic<int> g_deviceMode{1};
}  // namespace

int IK5SetDeviceMode(int mode)
{
    if (mode != 0 && mode != 1)
        return 0;
    g_deviceMode = mode;
    return 1;
}

int IK5ImageOut(QPainter& printer, const DibHandle& dib, const ImgKitRect& rect, int)
{
    if (!printer.isActive() || !printer.device() || rect.right <= rect.left || rect.bottom <= rect.top)
        return 0;
    QImage image = imgkit::toPaintImage(dib);
    if (image.isNull())
        return 0;
    // Tenths of a millimetre to device dots: 254 tenths per inch.
    const double dx = printer.device()->logicalDpiX() / 254.0;
    const double dy = printer.device()->logicalDpiY() / 254.0;
    const QRectF target(rect.left * dx, rect.top * dy, (rect.right - rect.left) * dx,
                        (rect.bottom - rect.top) * dy);
    // The printer gets no more pixels than its dots can show: a large photo
    // printed small is reduced first, so the spooled page stays small.
    const QSize dots(std::max(1, int(std::ceil(target.width()))),
                     std::max(1, int(std::ceil(target.height()))));
    const Qt::TransformationMode filtering =
        g_deviceMode == 1 ? Qt::SmoothTransformation : Qt::FastTransformation;
    if (image.width() > dots.width() || image.height() > dots.height())
        image = image.scaled(std::min(image.width(), dots.width()), std::min(image.height(), dots.height()),
                             Qt::IgnoreAspectRatio, filtering);
    printer.save();
    printer.setRenderHint(QPainter::SmoothPixmapTransform, g_deviceMode == 1);
    printer.drawImage(target, image);
    printer.restore();
    return 1;
}
