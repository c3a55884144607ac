// Finding what was printed on a page image.
#pragma once

#include <QImage>
#include <QRect>
#include <cstdlib>
#include <functional>

namespace pagetest {

// The smallest rectangle around the pixels that `match`; empty when none do.
inline QRect boundsWhere(const QImage& page, const std::function<bool(QRgb)>& match)
{
    const QImage image = page.convertToFormat(QImage::Format_RGB32);
    int left = image.width(), top = image.height(), right = -1, bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (!match(line[x]))
                continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

// Pixels within a few levels of `colour` (smoothing leaves picture edges a hair off).
inline QRect boundsOf(const QImage& page, QRgb colour)
{
    return boundsWhere(page, [colour](QRgb p) {
        return std::abs(qRed(p) - qRed(colour)) < 8 && std::abs(qGreen(p) - qGreen(colour)) < 8 &&
               std::abs(qBlue(p) - qBlue(colour)) < 8;
    });
}

inline bool contains(const QImage& page, QRgb colour) { return !boundsOf(page, colour).isNull(); }

// Dark grey to black: text and lines.
inline QRect boundsOfDark(const QImage& page)
{
    return boundsWhere(page, [](QRgb p) { return qRed(p) < 128 && qGreen(p) < 128 && qBlue(p) < 128; });
}

}  // namespace pagetest
