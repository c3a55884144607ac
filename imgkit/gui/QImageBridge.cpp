// Pictures between DibHandle and QImage.
#include "imgkit/ImgKitGui.h"

#include "imgkit/src/Limits.h"
#include "imgkit/src/PixelAccess.h"

#include <QImage>
#include <QPainter>

#include <cstring>

namespace imgkit {

QImage toQImage(const DibHandle& dib)
{
    if (!dib.isUsable())
        return {};
    const int w = dib.width(), h = dib.height();
    const int bits = dib.bitCount();
    if (bits == 1 || bits == 8) {
        QImage image(w, h, bits == 1 ? QImage::Format_Mono : QImage::Format_Indexed8);
        if (image.isNull())
            return {};
        QList<QRgb> table;
        for (int i = 0; i < (1 << bits); ++i) {
            const Bgr c = paletteColor(dib, static_cast<std::uint32_t>(i));
            table.push_back(qRgb(c.r, c.g, c.b));
        }
        image.setColorTable(table);
        const std::size_t bytes = (static_cast<std::size_t>(w) * bits + 7) / 8;
        for (int y = 0; y < h; ++y)
            std::memcpy(image.scanLine(y), dib.row(y), bytes);
        return image;
    }
    QImage image(w, h, QImage::Format_BGR888);
    if (image.isNull())
        return {};
    for (int y = 0; y < h; ++y)
        readRowBgr(dib, y, image.scanLine(y));
    return image;
}

DibHandle fromQImage(const QImage& source)
{
    if (source.isNull() || !sizeAllowed(source.width(), source.height()))
        return {};
    QImage image = source;
    if (image.hasAlphaChannel()) {
        QImage flat(image.size(), QImage::Format_RGB32);
        flat.fill(Qt::white);
        QPainter p(&flat);
        p.drawImage(0, 0, image);
        p.end();
        image = flat;
    }
    image = image.convertToFormat(QImage::Format_BGR888);
    DibHandle dib = DibHandle::create(image.width(), image.height(), 24);
    if (!dib)
        return {};
    for (int y = 0; y < image.height(); ++y)
        std::memcpy(dib.row(y), image.constScanLine(y), static_cast<std::size_t>(image.width()) * 3);
    return dib;
}

}  // namespace imgkit
