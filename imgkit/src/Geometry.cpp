// ImgKitCopy, ImgKitRotation, ImgKitOrient and ImgKitRectCut: pictures
// rearranged at their own depth, colour table and masks kept.
#include "imgkit/ImgKit.h"

#include "imgkit/src/Orientation.h"
#include "imgkit/src/PixelAccess.h"
#include "imgkit/src/Progress.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace imgkit {
namespace {

// Copies pixel (sx, sy) of `src` to (dx, dy) of `dst`, both of one depth.
class PixelMover {
public:
    PixelMover(const DibHandle& src, DibHandle& dst)
        : m_src(src), m_dst(dst), m_bits(src.bitCount()), m_bytes(m_bits / 8)
    {}

    void move(int sx, int sy, int dx, int dy)
    {
        const std::uint8_t* s = m_src.row(sy);
        std::uint8_t* d = m_dst.row(dy);
        if (m_bytes > 0)
            std::memcpy(d + dx * m_bytes, s + sx * m_bytes, m_bytes);
        else
            writeRaw(d, dx, m_bits, readRaw(s, sx, m_bits));
    }

private:
    const DibHandle& m_src;
    DibHandle& m_dst;
    int m_bits;
    int m_bytes;
};

// Where pixel (x, y) of a w x h picture stored with EXIF `orientation` lies
// in the upright picture.
void uprightPosition(int orientation, int x, int y, int w, int h, int& dx, int& dy)
{
    switch (orientation) {
    case 2:
        dx = w - 1 - x;
        dy = y;
        break;  // mirrored left to right
    case 3:
        dx = w - 1 - x;
        dy = h - 1 - y;
        break;  // upside down
    case 4:
        dx = x;
        dy = h - 1 - y;
        break;  // mirrored top to bottom
    case 5:
        dx = y;
        dy = x;
        break;  // first row on the left, first column at the top
    case 6:
        dx = h - 1 - y;
        dy = x;
        break;  // first row on the right: turned clockwise
    case 7:
        dx = h - 1 - y;
        dy = w - 1 - x;
        break;
    case 8:
        dx = y;
        dy = w - 1 - x;
        break;  // first row on the left: turned anticlockwise
    default:
        dx = x;
        dy = y;
        break;
    }
}

}  // namespace

DibHandle orientUpright(const DibHandle& dib, int orientation)
{
    if (orientation < 2 || orientation > 8)
        return dib.clone();
    const int w = dib.width(), h = dib.height();
    const bool transposed = orientation >= 5;
    DibHandle out = DibHandle::createLike(dib, transposed ? h : w, transposed ? w : h);
    if (!out)
        return {};
    if (transposed)
        std::swap(out.header().xPelsPerMeter, out.header().yPelsPerMeter);
    const int bits = dib.bitCount(), bytes = bits / 8;
    // Row addresses once: a camera picture has millions of pixels to move.
    std::vector<std::uint8_t*> rows(static_cast<std::size_t>(out.height()));
    for (int y = 0; y < out.height(); ++y)
        rows[static_cast<std::size_t>(y)] = out.row(y);
    int dx = 0, dy = 0;
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* src = dib.row(y);
        for (int x = 0; x < w; ++x) {
            uprightPosition(orientation, x, y, w, h, dx, dy);
            std::uint8_t* dst = rows[static_cast<std::size_t>(dy)];
            if (bytes > 0)
                std::memcpy(dst + dx * bytes, src + x * bytes, static_cast<std::size_t>(bytes));
            else
                writeRaw(dst, dx, bits, readRaw(src, x, bits));
        }
    }
    return out;
}

}  // namespace imgkit

using imgkit::DibHandle;

DibHandle ImgKitCopy(const DibHandle& dib, const QString& caption, const QString& message)
{
    if (!dib.isUsable())
        return {};
    imgkit::Progress progress(caption, message);
    return dib.clone();
}

DibHandle ImgKitRotation(const DibHandle& dib, const QString& caption, const QString& message, int direction)
{
    if (!dib.isUsable() || direction < 1 || direction > 3)
        return {};
    imgkit::Progress progress(caption, message);
    const int w = dib.width(), h = dib.height();
    const bool quarter = direction != 2;
    DibHandle out = DibHandle::createLike(dib, quarter ? h : w, quarter ? w : h);
    if (!out)
        return {};
    imgkit::PixelMover mover(dib, out);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            switch (direction) {
            case 1: mover.move(x, y, h - 1 - y, x); break;  // clockwise
            case 2: mover.move(x, y, w - 1 - x, h - 1 - y); break;
            default: mover.move(x, y, y, w - 1 - x); break;  // anticlockwise
            }
        }
        if ((y & 255) == 0)
            progress.update(y, h);
    }
    return out;
}

DibHandle ImgKitOrient(const DibHandle& dib, int orientation)
{
    return dib.isUsable() ? imgkit::orientUpright(dib, orientation) : DibHandle{};
}

DibHandle ImgKitRectCut(const DibHandle& dib, const QString& caption, const QString& message, int left,
                        int top, int right, int bottom)
{
    if (!dib.isUsable() || right < left || bottom < top)
        return {};
    const int w = dib.width(), h = dib.height();
    if (right < 0 || bottom < 0 || left >= w || top >= h)
        return {};
    // Callers compute corners such as "height - y0" that may lie one past
    // the edge; the cut keeps to the picture instead of failing.
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, w - 1);
    bottom = std::min(bottom, h - 1);
    imgkit::Progress progress(caption, message);
    DibHandle out = DibHandle::createLike(dib, right - left + 1, bottom - top + 1);
    if (!out)
        return {};
    imgkit::PixelMover mover(dib, out);
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x)
            mover.move(x, y, x - left, y - top);
    return out;
}
