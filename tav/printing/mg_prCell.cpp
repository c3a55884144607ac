// Tmg_PR::PutCell: one picture (or comment) into the next grid cell.
#include "tav/printing/mg_pr.h"

#include "imgkit/ImgKit.h"
#include "imgkit/ImgKitGui.h"
#include "platform/FontSpecQt.h"
#include "platform/PrintDevice.h"
#include "platform/Prompt.h"
#include "tav/imaging/ImagePrint.h"
#include "tav/imaging/ImageResize.h"
#include "tav/printing/PageUnits.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>

using imgkit::DibHandle;

namespace {

// A caption is not drawn smaller than this many points.
constexpr int kSmallestCaptionPoints = 5;

// The orientation test of auto-rotate: a square cell or picture always turns.
bool keepsOrientation(int width, int height, int cellWidth, int cellHeight)
{
    return (cellWidth > cellHeight && width > height) || (cellHeight > cellWidth && height > width);
}

// The size the printer's picture output reduces `picture` to in `rect`
// (tenths of a millimetre): no more pixels than the printer has dots there.
QSize printedSize(const DibHandle& picture, const QPainter& dc, const ImgKitRect& rect)
{
    ImageInfo info;
    if (!dc.device() || ImgKitImageInfo(picture, &info) == 0)
        return {};
    const double dotsPerTenth = dc.device()->logicalDpiX() / 254.0;
    const int dotsAcross = std::max(1, int(std::ceil((rect.right - rect.left) * dotsPerTenth)));
    const int dotsDown =
        std::max(1, int(std::ceil((rect.bottom - rect.top) * dc.device()->logicalDpiY() / 254.0)));
    return {std::min(info.width, dotsAcross), std::min(info.height, dotsDown)};
}

// The preview's copy of `picture`: 24 bits, resampled to `size`.
DibHandle previewPicture(const DibHandle& picture, QSize size, bool highQuality)
{
    const DibHandle trueColor = ImgKitConvertColor(picture, 24, 1, 0, {}, {});
    if (!trueColor)
        return {};
    return ResizeImage(trueColor, {}, {}, size.width(), size.height(), highQuality);
}

}  // namespace

int Tmg_PR::PutCell(const DibHandle* picture, int pictureWidth, int pictureHeight, bool captionBelow,
                    const QString& caption, const QString& comment)
{
    if (!m_active)
        return 9;
    if (m_cellCounter == -1) {
        finishPage();
        if (m_preview)
            ShowPreviewPage();
        else
            m_env.printer->newPage();
        m_cellCounter = 0;
    }

    const bool hasPicture = picture && *picture && pictureWidth > 0 && pictureHeight > 0;
    if (!hasPicture) {
        if (!comment.isEmpty())
            putComment(comment);
        advance();
        return 0;
    }

    if (captionBelow && !caption.isEmpty()) {
        const int room = fontHeight(m_env.settings->fileNameFont.size) + 2;
        if (room > m_geometry.cellInset)
            m_geometry.cellInset = room;
    }

    int width = pictureWidth;
    int height = pictureHeight;
    // The turned or cut copy belongs to this cell, or to the run of copies;
    // the caller's picture is untouched.
    DibHandle copy;
    const DibHandle* source = picture;
    if (m_stamping && m_stamp.shaped) {
        width = m_stamp.width;
        height = m_stamp.height;
    } else {
        copy = orientedAndCut(*picture, width, height);
        if (m_stamping) {
            m_stamp.shaped = true;
            m_stamp.shape = std::move(copy);
            m_stamp.width = width;
            m_stamp.height = height;
        }
    }
    if (m_stamping && m_stamp.shape)
        source = &m_stamp.shape;
    else if (copy)
        source = &copy;
    const Placement at = place(width, height, captionBelow);
    m_lastX = at.x;
    m_lastY = at.y;
    drawPicture(*source, at);
    if (!caption.isEmpty())
        drawCaption(caption, at);
    ++m_cellsPlaced;
    advance();
    return 0;
}

int Tmg_PR::PutCopies(const DibHandle& picture, int pictureWidth, int pictureHeight, bool captionBelow,
                      int count)
{
    if (!m_active)
        return 9;
    m_stamping = true;
    for (int i = 0; i < count; ++i)
        PutCell(&picture, pictureWidth, pictureHeight, captionBelow, {}, {});
    m_stamping = false;
    m_stamp = Stamp{};
    return 0;
}

void Tmg_PR::putComment(const QString& comment)
{
    QPainter* dc = canvas();
    const PageGeometry& g = m_geometry;
    const platform::FontSpec& font = m_env.settings->commentFont;
    dc->setFont(deviceFont(font));
    dc->setPen(platform::toQColor(font.color));
    const int m = truncToInt(1.5 * g.dotsPerMm + 0.5);
    const int left = g.imageAreaLeft + truncToInt((m_column - 1) * g.cellWidth + m);
    const int right = left + g.cellWidth - 3 * m;
    const int top = g.imageAreaTop + truncToInt(m_lastY);
    // The text stays in the row of the picture it belongs to.
    const int bottom = top + g.cellHeight - m;
    dc->drawText(QRect(left, top, right - left, bottom - top),
                 Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, comment);
    ++m_cellsPlaced;
}

DibHandle Tmg_PR::orientedAndCut(const DibHandle& picture, int& width, int& height) const
{
    const int cellWidth = m_geometry.cellWidth;
    const int cellHeight = m_geometry.cellHeight;
    DibHandle work;
    if (autoRotate && !keepsOrientation(width, height, cellWidth, cellHeight)) {
        work = ImgKitRotation(picture, {}, {}, 1);
        if (work)
            std::swap(width, height);
    }
    if (!m_cutToFill || cellWidth <= 0 || cellHeight <= 0)
        return work;

    const int w = width;
    const int h = height;
    const int wNeed = truncToInt(double(h) * cellWidth / cellHeight + 0.5);
    const int hNeed = truncToInt(double(w) * cellHeight / cellWidth + 0.5);
    const int x0 = truncToInt((w - wNeed) / 2.0);
    const int y0 = truncToInt((h - hNeed) / 2.0);
    int left = 0, top = 0, right = w - 1, bottom = h - 1;
    if (x0 < 0 && y0 < 0) {
        platform::showInformation(QStringLiteral("調整不能."));
    } else if (x0 < 0) {
        // Exactly hNeed rows from y0 (corners are inclusive).
        top = y0;
        bottom = y0 + hNeed - 1;
        height = hNeed;
    } else if (y0 < 0) {
        left = x0;
        right = x0 + wNeed - 1;
        width = wNeed;
    } else {
        return work;
    }
    const DibHandle& source = work ? work : picture;
    DibHandle cut = ImgKitRectCut(source, {}, {}, left, top, right, bottom);
    if (!cut) {
        width = w;
        height = h;
        return work;
    }
    return cut;
}

Tmg_PR::Placement Tmg_PR::place(int w, int h, bool captionBelow) const
{
    const double W = m_geometry.cellWidth;
    const double H = m_geometry.cellHeight;
    const double column = m_column - 1;
    const double row = m_row - 1;
    Placement p;
    const auto centre = [&] {
        p.x = column * W + (W - p.width) / 2;
        p.y = row * H + (H - p.height) / 2;
    };
    if (m_requestedWidth > 0 && m_requestedHeight > 0) {
        p.width = m_requestedWidth;
        p.height = stretch ? m_requestedHeight : truncToInt(double(m_requestedWidth) / w * h);
        centre();
    } else if (stretch) {
        p = {column * W, row * H, W, H};
    } else if (captionBelow) {
        const double inset = m_geometry.cellInset;
        const double s = std::min(std::abs((W - 2 * inset) / w), std::abs((H - 2 * inset) / h));
        p.width = truncToInt(w * s);
        p.height = truncToInt(h * s);
        centre();
    } else {
        // Sticker frames abut: rows are stacked by the drawn height.
        const double s = W / w;
        p.width = truncToInt(w * s + 0.5);
        p.height = truncToInt(h * s + 0.5);
        p.x = column * p.width;
        p.y = row * p.height;
    }
    return p;
}

const DibHandle* Tmg_PR::drawnPicture(const DibHandle& picture, QSize size)
{
    // On the printer the copies keep the first one's reduction: their
    // rectangles differ only by the rounding of tenths of a millimetre.
    if (m_stamp.drawn && (m_stamp.drawnSize == size || !m_preview))
        return &m_stamp.drawn;
    DibHandle drawn;
    if (m_preview) {
        drawn = previewPicture(picture, size, m_env.settings->highQualityScaling);
    } else {
        ImageInfo info;
        if (ImgKitImageInfo(picture, &info) != 0 && QSize(info.width, info.height) == size)
            return &picture;
        // As the printer's picture output reduces it (smoothly: device mode 1).
        drawn = imgkit::fromQImage(
            imgkit::toQImage(picture).scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }
    if (!drawn)
        return nullptr;
    m_stamp.drawn = std::move(drawn);
    m_stamp.drawnSize = size;
    return &m_stamp.drawn;
}

void Tmg_PR::drawPicture(const DibHandle& picture, const Placement& at)
{
    const PageGeometry& g = m_geometry;
    const bool highQuality = m_env.settings->highQualityScaling;
    QPainter* dc = canvas();
    if (!m_preview) {
        const double d = g.dotsPerMm;
        const ImgKitRect rect{truncToInt((g.imageAreaLeft + at.x) / d * 10),
                              truncToInt((g.imageAreaTop + at.y) / d * 10),
                              truncToInt((g.imageAreaLeft + at.x + at.width) / d * 10),
                              truncToInt((g.imageAreaTop + at.y + at.height) / d * 10)};
        const DibHandle* drawn =
            m_stamping ? drawnPicture(picture, printedSize(picture, *dc, rect)) : &picture;
        if (!drawn || PrintImage(*dc, *drawn, highQuality, rect) == 0)
            platform::showInformation(QStringLiteral("プリントできません。"));
        return;
    }
    // The preview page is drawn at screen resolution: the picture is
    // resampled once to exactly its drawn size.
    const double scale = m_pageBitmap.devicePixelRatio();
    const QSize size(truncToInt(truncToInt(at.width) * scale + 0.5),
                     truncToInt(truncToInt(at.height) * scale + 0.5));
    DibHandle single;
    const DibHandle* drawn = m_stamping ? drawnPicture(picture, size) : nullptr;
    if (!m_stamping) {
        single = previewPicture(picture, size, highQuality);
        drawn = &single;
    }
    if (!drawn || !*drawn)
        return;
    // Its pixels at the page bitmap's resolution, drawn at its size in screen pixels.
    QImage image = imgkit::toQImage(*drawn);
    image.setDevicePixelRatio(m_pageBitmap.devicePixelRatio());
    dc->drawImage(QPoint(truncToInt(g.imageAreaLeft + at.x), truncToInt(g.imageAreaTop + at.y)), image);
}

void Tmg_PR::drawCaption(const QString& caption, const Placement& at)
{
    QPainter* dc = canvas();
    const PageGeometry& g = m_geometry;
    const platform::FontSpec& stored = m_env.settings->fileNameFont;
    QFont font = deviceFont(stored);
    QString text = caption;
    int textWidth = QFontMetrics(font, dc->device()).horizontalAdvance(text);
    if (textWidth > g.cellWidth) {
        const int storedSize = std::abs(stored.size);
        const int fitted = truncToInt(double(storedSize) * g.cellWidth / textWidth);
        // Smaller than legible on paper, the caption keeps the smallest
        // legible size and loses the middle of its text instead.
        const int size = std::max({1, fitted, std::min(kSmallestCaptionPoints, storedSize)});
        font = deviceFont(stored, size);
        const QFontMetrics metrics(font, dc->device());
        if (size > fitted)
            text = metrics.elidedText(caption, Qt::ElideMiddle, g.cellWidth);
        textWidth = metrics.horizontalAdvance(text);
    }
    dc->setFont(font);
    dc->setPen(platform::toQColor(stored.color));
    const int x = g.imageAreaLeft + truncToInt((at.width - textWidth) / 2 + at.x);
    const int y = g.imageAreaTop + truncToInt(at.height + at.y);
    dc->drawText(x, y + QFontMetrics(font, dc->device()).ascent(), text);
}

void Tmg_PR::advance()
{
    const PageGeometry& g = m_geometry;
    ++m_cellCounter;
    if (m_cellCounter >= g.cellsPerPage) {
        m_cellCounter = -1;
        m_column = m_row = 1;
        return;
    }
    if (++m_column > g.columns) {
        m_column = 1;
        if (++m_row > g.rows)
            m_row = 1;
    }
}
