// Tmg_PR::PutCell: one picture (or comment) into the next grid cell.
#include "mg_pr.h"

#include "FontSpecQt.h"
#include "ImagePrint.h"
#include "ImageResize.h"
#include "ImgKit.h"
#include "ImgKitGui.h"
#include "PageUnits.h"
#include "PrintDevice.h"
#include "Prompt.h"

#include <QFontMetrics>
#include <QPainter>

#include <cmath>

using imgkit::DibHandle;

namespace {

// The orientation test of auto-rotate: a square cell or picture always turns.
bool keepsOrientation(int width, int height, int cellWidth, int cellHeight)
{
    return (cellWidth > cellHeight && width > height) || (cellHeight > cellWidth && height > width);
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
    // The turned or cut copy belongs to this cell; the caller's picture is untouched.
    const DibHandle copy = orientedAndCut(*picture, width, height);
    const Placement at = place(width, height, captionBelow);
    m_lastX = at.x;
    m_lastY = at.y;
    drawPicture(copy ? copy : *picture, at);
    if (!caption.isEmpty())
        drawCaption(caption, at);
    ++m_cellsPlaced;
    advance();
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
    dc->drawText(QRect(left, top, right - left, bottom - top), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                 comment);
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

void Tmg_PR::drawPicture(const DibHandle& picture, const Placement& at)
{
    const PageGeometry& g = m_geometry;
    const bool highQuality = m_env.settings->highQualityScaling;
    QPainter* dc = canvas();
    if (!m_preview) {
        const double d = g.dotsPerMm;
        const ImgKitRect rect{truncToInt((g.imageAreaLeft + at.x) / d * 10), truncToInt((g.imageAreaTop + at.y) / d * 10),
                              truncToInt((g.imageAreaLeft + at.x + at.width) / d * 10),
                              truncToInt((g.imageAreaTop + at.y + at.height) / d * 10)};
        if (PrintImage(*dc, picture, highQuality, rect) == 0)
            platform::showInformation(QStringLiteral("プリントできません。"));
        return;
    }
    // The preview page is drawn at screen resolution: the picture is
    // resampled once to exactly its drawn size.
    const DibHandle trueColor = ImgKitConvertColor(picture, 24, 1, 0, {}, {});
    if (!trueColor)
        return;
    const DibHandle sized = ResizeImage(trueColor, {}, {}, truncToInt(at.width), truncToInt(at.height), highQuality);
    if (sized)
        ImgKitDisplayHdcXY(*dc, sized, truncToInt(g.imageAreaLeft + at.x), truncToInt(g.imageAreaTop + at.y));
}

void Tmg_PR::drawCaption(const QString& caption, const Placement& at)
{
    QPainter* dc = canvas();
    const PageGeometry& g = m_geometry;
    const platform::FontSpec& stored = m_env.settings->fileNameFont;
    QFont font = deviceFont(stored);
    int textWidth = QFontMetrics(font, dc->device()).horizontalAdvance(caption);
    if (textWidth > g.cellWidth) {
        const int size = std::max(1, truncToInt(double(std::abs(stored.size)) * g.cellWidth / textWidth));
        font = deviceFont(stored, size);
        textWidth = QFontMetrics(font, dc->device()).horizontalAdvance(caption);
    }
    dc->setFont(font);
    dc->setPen(platform::toQColor(stored.color));
    const int x = g.imageAreaLeft + truncToInt((at.width - textWidth) / 2 + at.x);
    const int y = g.imageAreaTop + truncToInt(at.height + at.y);
    dc->drawText(x, y + QFontMetrics(font, dc->device()).ascent(), caption);
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
