// Tmg_PR: opening and closing a job, its geometry, and the preview pages.
#include "tav/printing/mg_pr.h"

#include "platform/FontSpecQt.h"
#include "imgkit/ImgKitGui.h"
#include "tav/printing/PageUnits.h"
#include "platform/PrintDevice.h"
#include "platform/Prompt.h"
#include "tav/core/RunState.h"

#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

namespace {

constexpr int kSmallestImageAreaMm = 20;

const QString kMarginQuestions[] = {
    QStringLiteral("上余白がﾌﾟﾘﾝﾀ設定可能な値より小さいです。自動調整して続行しますか？"),
    QStringLiteral("左余白がﾌﾟﾘﾝﾀ設定可能な値より小さいです。自動調整して続行しますか？"),
    QStringLiteral("下余白がﾌﾟﾘﾝﾀ設定可能な値より小さいです。自動調整して続行しますか？"),
    QStringLiteral("右余白がﾌﾟﾘﾝﾀ設定可能な値より小さいです。自動調整して続行しますか？"),
};

void showErrorWithYes(const QString& text)
{
    platform::prompts().message(platform::MessageKind::Error, {}, text, platform::Buttons::Yes);
}

}  // namespace

double SeparatorLineWidthMm(int sizeIndex)
{
    static constexpr double kWidths[] = {0.1, 0.25, 0.5, 1.0};
    return kWidths[std::clamp(sizeIndex, 0, 3)];
}

Tmg_PR::Tmg_PR(PrintJobEnvironment environment) : m_env(std::move(environment)) {}

Tmg_PR::~Tmg_PR()
{
    if (m_pagePainter)
        m_pagePainter->end();
}

QPainter* Tmg_PR::canvas() { return m_preview ? m_pagePainter.get() : m_env.printer->painter(); }

int Tmg_PR::fontHeight(int pointSize) const { return FontHeightDots(pointSize, m_geometry.dotsPerMm); }

QFont Tmg_PR::deviceFont(const platform::FontSpec& stored, int pointSize) const
{
    QFont font = platform::toQFont(stored);
    font.setPixelSize(std::max(1, fontHeight(pointSize != 0 ? pointSize : stored.size)));
    return font;
}

bool Tmg_PR::checkMargins(std::array<bool, 4>& toPrinterEdge) const
{
    const platform::DeviceCaps caps = m_env.printer->caps();
    const double d = m_geometry.dotsPerMm;
    const AppSettings& s = *m_env.settings;
    const int unprintable[] = {caps.physicalOffsetY, caps.physicalOffsetX,
                               caps.physicalHeight - caps.vertRes - caps.physicalOffsetY,
                               caps.physicalWidth - caps.horzRes - caps.physicalOffsetX};
    const int setting[] = {s.marginTop, s.marginLeft, s.marginBottom, s.marginRight};
    toPrinterEdge.fill(false);
    for (int i = 0; i < 4; ++i) {
        const int minimum = truncToInt(unprintable[i] / d + 0.5);
        if (setting[i] >= minimum)
            continue;
        if (platform::prompts().message(platform::MessageKind::Warning, {}, kMarginQuestions[i],
                                        platform::Buttons::YesAbort) != platform::Answer::Yes)
            return false;
        toPrinterEdge[i] = true;
    }
    return true;
}

bool Tmg_PR::BeginJob(const QString& title, int cellMargin, double columns, double rows, bool cropMarks,
                      int cropPitchX, int cropPitchY, bool useMargins, bool header, bool footer, bool cutToFill)
{
    if (m_active || !m_env.settings || !m_env.printer)
        return false;
    IK5SetDeviceMode(1);
    // A grid without a whole cell would never fill a page.
    if (!(columns >= 1) || !(rows >= 1))
        return false;
    PageGeometry g;
    g.columns = truncToInt(columns);
    g.rows = truncToInt(rows);
    m_column = m_row = 1;
    m_cellCounter = 0;
    m_cellsPlaced = 0;
    m_cropMarks = cropMarks;
    m_headerOn = header;
    m_footerOn = footer;
    m_cutToFill = cutToFill;
    m_preview = PreviewMode;

    const platform::DeviceCaps caps = m_env.printer->caps();
    if (caps.logPixelsX <= 0 || caps.horzRes <= 0 || caps.vertRes <= 0)
        return false;
    double d = caps.logPixelsX / kMmPerInch;
    g.dotsPerMm = d;
    g.physicalWidth = caps.physicalWidth;
    g.physicalHeight = caps.physicalHeight;
    m_geometry = g;

    const AppSettings& s = *m_env.settings;
    if (useMargins) {
        // A side the user let the printer adjust starts at the printable edge.
        std::array<bool, 4> edge{};
        if (!checkMargins(edge))
            return false;
        g.top = edge[0] ? 0 : truncToInt(s.marginTop * d + 0.5) - caps.physicalOffsetY;
        g.left = edge[1] ? 0 : truncToInt(s.marginLeft * d + 0.5) - caps.physicalOffsetX;
        g.bottom = edge[2] ? 0
                           : truncToInt(s.marginBottom * d + 0.6) + caps.vertRes + caps.physicalOffsetY -
                                 caps.physicalHeight;
        g.right = edge[3] ? 0
                          : truncToInt(s.marginRight * d + 0.5) + caps.horzRes + caps.physicalOffsetX -
                                caps.physicalWidth;
    }

    g.headerHeight = header ? truncToInt(MaxBandFontSize(false) * kMmPerPoint * d + 0.5) : 0;
    if (s.headerLine)
        g.headerHeight += truncToInt(SeparatorLineWidthMm(s.headerLineSize) * d + 0.5);
    g.footerHeight = footer ? truncToInt(MaxBandFontSize(true) * kMmPerPoint * d + 0.5) : 0;
    if (s.footerLine)
        g.footerHeight += truncToInt(SeparatorLineWidthMm(s.footerLineSize) * d + 0.5);

    g.imageAreaHeight = caps.vertRes - g.top - g.headerHeight - g.footerHeight - g.bottom;
    g.imageAreaWidth = caps.horzRes - g.left - g.right;
    g.imageAreaTop = g.top + g.headerHeight;
    g.imageAreaLeft = g.left;

    if (requestedWidthMm > 0 && requestedHeightMm > 0 &&
        (truncToInt(requestedHeightMm * d) > g.imageAreaHeight ||
         truncToInt(requestedWidthMm * d) > g.imageAreaWidth)) {
        showErrorWithYes(QStringLiteral("現在の用紙には、指定されたｻｲｽﾞで印刷できません。"));
        return false;
    }
    const int smallest = truncToInt(kSmallestImageAreaMm * d);
    if (g.imageAreaWidth < smallest || g.imageAreaHeight < smallest) {
        showErrorWithYes(QStringLiteral("余白または、ﾍｯﾀﾞｰ/ﾌｯﾀｰのｻｲｽﾞが大きいため画像を印刷する部分が不足しています。\n\n"
                                        "環境設定から設定を変更してください。"));
        return false;
    }

    if (m_preview) {
        const double screen = ScreenDotsPerMm;
        const auto toScreen = [d, screen](double v) { return truncToInt(v / d * screen); };
        g.physicalWidth = toScreen(g.physicalWidth);
        g.physicalHeight = toScreen(g.physicalHeight);
        g.headerHeight = toScreen(g.headerHeight);
        g.footerHeight = toScreen(g.footerHeight);
        g.imageAreaWidth = toScreen(g.imageAreaWidth);
        g.imageAreaHeight = toScreen(g.imageAreaHeight);
        // Distances from the sheet's edges rather than the printable area's.
        const int bottomStrip = caps.physicalHeight - caps.vertRes - caps.physicalOffsetY;
        const int rightStrip = caps.physicalWidth - caps.horzRes - caps.physicalOffsetX;
        g.top = toScreen(g.top + caps.physicalOffsetY);
        g.left = toScreen(g.left + caps.physicalOffsetX);
        g.bottom = toScreen(g.bottom + bottomStrip);
        g.right = toScreen(g.right + rightStrip);
        g.imageAreaTop = toScreen(g.imageAreaTop + caps.physicalOffsetY);
        g.imageAreaLeft = toScreen(g.imageAreaLeft + caps.physicalOffsetX);
        d = screen;
        g.dotsPerMm = d;
        // Drawn in screen pixels on a bitmap finer by the scale: the painter
        // takes the bitmap's pixel ratio, text and lines come out sharp.
        const double sheet = double(std::max(1, g.physicalWidth)) * std::max(1, g.physicalHeight);
        const double scale =
            std::max(1.0, std::min(m_env.previewScale, std::sqrt(kPreviewPagePixels / sheet)));
        m_pageBitmap = QImage(std::max(1, truncToInt(g.physicalWidth * scale)),
                              std::max(1, truncToInt(g.physicalHeight * scale)), QImage::Format_RGB32);
        m_pageBitmap.setDevicePixelRatio(scale);
        m_pageBitmap.fill(Qt::white);
        m_pagePainter = std::make_unique<QPainter>(&m_pageBitmap);
    }

    m_requestedWidth = truncToInt(requestedWidthMm * d);
    m_requestedHeight = truncToInt(requestedHeightMm * d);
    g.cellInset = truncToInt(cellMargin * d * 2 + 0.5);
    if (cropPitchX > 0 && cropPitchY > 0) {
        // Cells of exactly the given size, as many as the image area holds:
        // a count worked out from another area could let the last one spill.
        g.cellWidth = cropPitchX;
        g.cellHeight = cropPitchY;
        g.columns = std::min(g.columns, g.imageAreaWidth / cropPitchX);
        g.rows = std::min(g.rows, g.imageAreaHeight / cropPitchY);
        if (g.columns < 1 || g.rows < 1)
            return false;
    } else {
        g.cellWidth = truncToInt(g.imageAreaWidth / columns + 0.5);
        g.cellHeight = truncToInt(g.imageAreaHeight / rows + 0.5);
    }
    // The marks cross the corners of the cells that were laid out.
    g.cropPitchX = g.cellWidth;
    g.cropPitchY = g.cellHeight;
    g.cellsPerPage = g.columns * g.rows;
    if (!m_preview && !m_env.printer->beginDocument(title))
        return false;
    m_geometry = g;
    m_active = true;
    return true;
}

void Tmg_PR::finishPage()
{
    DrawCropMarks();
    DrawHeaderFooter();
}

bool Tmg_PR::EndJob()
{
    if (!m_active)
        return false;
    if (m_cellCounter != 0)
        finishPage();
    bool delivered = true;
    if (m_preview) {
        if (m_cellCounter != 0)
            ShowPreviewPage();
    } else if (m_cellsPlaced == 0) {
        // Nothing could be placed: no sheet of blank paper comes out.
        m_env.printer->abortDocument();
    } else {
        delivered = m_env.printer->endDocument();
    }
    m_active = false;
    return delivered;
}

bool Tmg_PR::AbortJob()
{
    if (!m_active)
        return false;
    if (!m_preview)
        m_env.printer->abortDocument();
    m_active = false;
    return true;
}

void Tmg_PR::ShowPreviewPage()
{
    m_pagePainter->end();
    double zoom = m_env.settings->previewZoom;
    const QImage page = m_pageBitmap.copy();
    if (m_env.showPreviewPage && !m_env.showPreviewPage(page, zoom))
        AbortRequested = true;
    m_env.settings->previewZoom = zoom;
    ClearPreviewPage();
    ++m_previewPage;
}

void Tmg_PR::ClearPreviewPage()
{
    m_pageBitmap.fill(Qt::white);
    m_pagePainter->begin(&m_pageBitmap);
}

int Tmg_PR::CurrentPageNumber() const { return m_preview ? m_previewPage : m_env.printer->pageNumber(); }
