// ImgKitDisplayHdc and ImgKitDisplayHdcXY.
#include "imgkit/ImgKitGui.h"

#include <QImage>
#include <QPainter>

using imgkit::DibHandle;

int ImgKitDisplayHdc(QPainter& dc, const DibHandle& dib, int width, int height, int mode)
{
    if (!dc.isActive() || width <= 0 || height <= 0)
        return 0;
    const QImage image = imgkit::toQImage(dib);
    if (image.isNull())
        return 0;
    dc.save();
    dc.setRenderHint(QPainter::SmoothPixmapTransform, mode == -1);
    dc.drawImage(QRect(0, 0, width, height), image);
    dc.restore();
    return 1;
}

int ImgKitDisplayHdc(QPaintDevice* dc, const DibHandle& dib, int width, int height, int mode)
{
    if (!dc)
        return 0;
    QPainter painter(dc);
    return ImgKitDisplayHdc(painter, dib, width, height, mode);
}

int ImgKitDisplayHdcXY(QPainter& dc, const DibHandle& dib, int x, int y)
{
    if (!dc.isActive())
        return 0;
    const QImage image = imgkit::toQImage(dib);
    if (image.isNull())
        return 0;
    dc.drawImage(x, y, image);
    return 1;
}

int ImgKitDisplayHdcXY(QPaintDevice* dc, const DibHandle& dib, int x, int y)
{
    if (!dc)
        return 0;
    QPainter painter(dc);
    return ImgKitDisplayHdcXY(painter, dib, x, y);
}
