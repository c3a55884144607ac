#include "tav/catalog/sumNe.h"

#include "imgkit/ImgKit.h"
#include "imgkit/ImgKitGui.h"
#include "platform/AtomicFile.h"
#include "platform/FontSpecQt.h"
#include "tav/catalog/Caption.h"
#include "tav/core/AppSettings.h"
#include "tav/core/RunState.h"
#include "tav/imaging/Bitmaps.h"
#include "tav/imaging/ImageResize.h"
#include "tav/printing/PageUnits.h"

#include <QFileInfo>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

using imgkit::DibHandle;

namespace {

constexpr int kShadowOffset = 4;

QString extensionOf(SheetFormat format)
{
    switch (format) {
    case SheetFormat::Jpg: return QStringLiteral(".jpg");
    case SheetFormat::Tif: return QStringLiteral(".tif");
    case SheetFormat::Bmp: break;
    }
    return QStringLiteral(".bmp");
}

int saveAs(const QString& file, const DibHandle& sheet, SheetFormat format, int jpegQuality)
{
    switch (format) {
    case SheetFormat::Jpg: return ImgKitJpegFileSave(file, sheet, {}, {}, jpegQuality, 0);
    case SheetFormat::Tif: return ImgKitTiffFileSave(file, sheet, {}, {}, 0);
    case SheetFormat::Bmp: break;
    }
    return ImgKitBmpFileSave(file, sheet, {}, {}, 0);
}

// The picture's size in an available area of availableWidth x
// availableHeight, scaled by the smaller of the two ratios (with `enlarge`
// off never above 1). Worked in whole numbers, so that the side that decides
// is exactly the area's: 640 x 480 into 312 x 232 is 309 x 232.
QSize fittedSize(int width, int height, int availableWidth, int availableHeight, bool enlarge)
{
    if (!enlarge && width <= availableWidth && height <= availableHeight)
        return {width, height};
    const std::int64_t w = width;
    const std::int64_t h = height;
    if (std::int64_t(availableWidth) * h >= std::int64_t(availableHeight) * w)
        return {std::max(1, int(w * availableHeight / h)), availableHeight};
    return {availableWidth, std::max(1, int(h * availableWidth / w))};
}

}  // namespace

TsumNe::TsumNe(SheetEnvironment env) : m_env(std::move(env)) {}

void TsumNe::BeginSheets(const QString& stem, int margin, int sheetHeight, int sheetWidth, bool preview,
                         SheetFormat format, int rows, int columns)
{
    m_stem = stem;
    m_margin = std::max(0, margin);
    m_sheetWidth = std::max(1, sheetWidth);
    m_sheetHeight = std::max(1, sheetHeight);
    m_preview = preview;
    m_format = format;
    m_rows = std::max(1, rows);
    m_columns = std::max(1, columns);
    m_cellWidth = std::max(1, truncToInt(double(m_sheetWidth) / m_columns + 0.5));
    m_cellHeight = std::max(1, truncToInt(double(m_sheetHeight) / m_rows + 0.5));
    m_cellsPerSheet = m_columns * m_rows;
    m_sheetNumber = 1;
    m_column = m_row = 1;
    m_usedCells = 0;
    m_failed.clear();
    m_written = 0;
    createSheet();
    m_open = true;
}

int TsumNe::AddPicture(const DibHandle& picture, int pictureWidth, const QString& path, int fit,
                       int pictureHeight)
{
    if (!m_open || !picture || pictureWidth <= 0 || pictureHeight <= 0)
        return 9;
    if (m_usedCells == -1) {
        nextSheet();
        m_usedCells = 0;
    }
    if (m_sheet.isNull())
        createSheet();

    // The reserve around the picture: the margin, or room for a caption line.
    int reserve = m_margin;
    if (!BuildCaption(0, nullptr, path).isEmpty())
        reserve = std::max(reserve, captionFontPixels(m_env.settings->fileNameFont.size) + 2);
    if (shadow)
        reserve += kShadowOffset;
    // A reserve that leaves no room still gets the picture a pixel, inside its cell.
    const int availableWidth = std::max(1, m_cellWidth - 2 * reserve);
    const int availableHeight = std::max(1, m_cellHeight - 2 * reserve);
    const QSize size = fittedSize(pictureWidth, pictureHeight, availableWidth, availableHeight, fit != 0);
    const int w = size.width();
    const int h = size.height();
    const double x = double(m_column - 1) * m_cellWidth + (m_cellWidth - w) / 2.0;
    const double y = double(m_row - 1) * m_cellHeight + (m_cellHeight - h) / 2.0;

    // The picture may have been loaded smaller than it is: the caption gives its own size.
    ImageInfo info;
    ImgKitImageInfo(picture, &info);
    info.width = pictureWidth;
    info.height = pictureHeight;
    const QString caption = BuildCaptionOfSize(0, &info, path);
    {
        QPainter dc(&m_sheet);
        if (shadow) {
            const int left = truncToInt(x + kShadowOffset);
            const int top = truncToInt(y + kShadowOffset);
            const int right = truncToInt(w + x + kShadowOffset);
            const int bottom = truncToInt(h + y + kShadowOffset);
            dc.fillRect(left, top, right - left, bottom - top, platform::toQColor(shadowColor));
        }
        const DibHandle trueColor = ImgKitConvertColor(picture, 24, 1, 0, {}, {});
        const bool highQuality = m_env.settings->highQualityScaling;
        DibHandle sized = trueColor ? ResizeImage(trueColor, {}, {}, w, h, highQuality) : DibHandle();
        // The high-quality filter refuses some shapes; the plain one does not.
        if (!sized && trueColor && highQuality)
            sized = ResizeImage(trueColor, {}, {}, w, h, false);
        if (sized)
            ImgKitDisplayHdcXY(dc, sized, truncToInt(x), truncToInt(y));
    }
    if (!caption.isEmpty())
        drawCaption(caption, x, y, w, h);
    advance();
    return 0;
}

void TsumNe::FinishSheets()
{
    if (!m_open)
        return;
    outputSheet();
    m_sheet = {};
    m_open = false;
}

void TsumNe::CancelSheets()
{
    m_sheet = {};
    m_open = false;
}

QString SheetFileName(const QString& stem, SheetFormat format, int number)
{
    return stem + QStringLiteral("%1").arg(number, 3, 10, QLatin1Char('0')) + extensionOf(format);
}

void TsumNe::createSheet()
{
    m_sheet = QImage(m_sheetWidth, m_sheetHeight, kBitmapFormat);
    m_sheet.fill(Qt::white);
    if (background) {
        QPainter dc(&m_sheet);
        const DibHandle trueColor = ImgKitConvertColor(background, 24, 1, 0, {}, {});
        if (trueColor)
            ImgKitDisplayHdc(dc, trueColor, m_sheetWidth, m_sheetHeight, -1);
    }
}

void TsumNe::outputSheet()
{
    if (m_sheet.isNull())
        return;
    if (m_preview) {
        double zoom = m_env.settings->previewZoom;
        const bool goOn = !m_env.showPreviewPage || m_env.showPreviewPage(m_sheet, zoom);
        m_env.settings->previewZoom = zoom;
        if (!goOn)
            AbortRequested = true;
        return;
    }
    const QString target = SheetFileName(m_stem, m_format, m_sheetNumber);
    if (saveSheet(target))
        ++m_written;
    else
        m_failed << QFileInfo(target).fileName();
}

void TsumNe::nextSheet()
{
    outputSheet();
    m_sheet = {};
    ++m_sheetNumber;
}

// Written under a temporary name beside the target and renamed over it: a
// failed write never leaves a half sheet nor damages a file already there.
bool TsumNe::saveSheet(const QString& target) const
{
    const DibHandle dib = BitmapToDib(m_sheet);
    return dib && platform::replaceFileThrough(target, [&](const QString& temporary) {
               return saveAs(temporary, dib, m_format, jpegQuality) != 0;
           });
}

// The sheet is a screen-resolution picture: a font of n points is as many
// pixels high as on the screen.
int TsumNe::captionFontPixels(int pointSize) const
{
    return std::max(1, FontHeightDots(pointSize, kDefaultScreenDotsPerMm));
}

void TsumNe::drawCaption(const QString& caption, double x, double y, int w, int h)
{
    const platform::FontSpec& stored = m_env.settings->fileNameFont;
    QFont font = platform::toQFont(stored);
    font.setPixelSize(captionFontPixels(stored.size));
    QPainter dc(&m_sheet);
    int textWidth = QFontMetrics(font, &m_sheet).horizontalAdvance(caption);
    // A caption wider than its cell gets a proportionally smaller font.
    if (textWidth > m_cellWidth) {
        const int size = std::max(1, truncToInt(double(std::abs(stored.size)) * m_cellWidth / textWidth));
        font.setPixelSize(captionFontPixels(size));
        textWidth = QFontMetrics(font, &m_sheet).horizontalAdvance(caption);
    }
    dc.setFont(font);
    dc.setPen(platform::toQColor(stored.color));
    dc.setBackgroundMode(Qt::TransparentMode);
    const int left = truncToInt((w - textWidth) / 2.0 + x);
    const int top = truncToInt(h + y + (shadow ? kShadowOffset : 0));
    dc.drawText(left, top + QFontMetrics(font, &m_sheet).ascent(), caption);
}

void TsumNe::advance()
{
    ++m_usedCells;
    if (m_usedCells < m_cellsPerSheet) {
        if (++m_column > m_columns) {
            m_column = 1;
            if (++m_row > m_rows)
                m_row = 1;
        }
        return;
    }
    m_usedCells = -1;
    m_column = m_row = 1;
}
