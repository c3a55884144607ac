// Pictures between DibHandle and QImage.
#include "imgkit/ImgKitGui.h"

#include "imgkit/src/Limits.h"
#include "imgkit/src/PixelAccess.h"

#include <QImage>
#include <QPainter>
#include <QtEndian>

#include <cstring>
#include <vector>

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

QImage toPaintImage(const DibHandle& dib)
{
    if (!dib.isUsable() || dib.bitCount() == 1 || dib.bitCount() == 8)
        return toQImage(dib);
    const int w = dib.width(), h = dib.height();
    QImage image(w, h, QImage::Format_RGB32);
    if (image.isNull())
        return {};
    std::vector<std::uint8_t> bgr(dib.bitCount() == 24 ? 0 : std::size_t(w) * 3);
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* from = dib.row(y);
        if (!bgr.empty()) {
            readRowBgr(dib, y, bgr.data());
            from = bgr.data();
        }
        auto* to = reinterpret_cast<QRgb*>(image.scanLine(y));
        // Blue, green and red of a pixel and the next pixel's blue read as one
        // little-endian word: the first three are 0xRRGGBB; the last pixel,
        // whose fourth byte may lie past the row, is read bytewise.
        for (int x = 0; x + 1 < w; ++x, from += 3) {
            std::uint32_t word;
            std::memcpy(&word, from, sizeof word);
            to[x] = qToLittleEndian(word) | 0xFF000000u;
        }
        to[w - 1] = qRgb(from[2], from[1], from[0]);
    }
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
