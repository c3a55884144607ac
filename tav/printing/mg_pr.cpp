// Tmg_PR: opening a job (margin questions, then layOutPage), closing it, and the preview pages.
#include "tav/printing/mg_pr.h"

#include "imgkit/ImgKitGui.h"
#include "platform/FontSpecQt.h"
#include "platform/PrintDevice.h"
#include "platform/Prompt.h"
#include "tav/core/PrinterMargins.h"
#include "tav/core/RunState.h"
#include "tav/printing/PageUnits.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

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
    // The settings keep the position in the options dialog's list of widths,
    // not a width, so the list's order is part of the settings file.
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

bool Tmg_PR::askAboutMargins(PageLayout& layout) const
{
    const PageMargins minimum = PrinterMinimumMargins(layout.caps);
    const int minimumMm[] = {minimum.top, minimum.left, minimum.bottom, minimum.right};
    for (int i = 0; i < 4; ++i) {
        layout.toPrinterEdge[i] = layout.marginsMm[i] < minimumMm[i];
        if (layout.toPrinterEdge[i] &&
            platform::prompts().message(platform::MessageKind::Warning, {}, kMarginQuestions[i],
                                        platform::Buttons::YesAbort) != platform::Answer::Yes)
            return false;
    }
    return true;
}

bool Tmg_PR::BeginJob(const QString& title, int cellMargin, double columns, double rows, bool cropMarks,
                      int cropPitchX, int cropPitchY, bool useMargins, bool header, bool footer,
                      bool cutToFill)
{
    if (m_active || !m_env.settings || !m_env.printer)
        return false;
    IK5SetDeviceMode(1);
    // A grid without a whole cell would never fill a page.
    if (!(columns >= 1) || !(rows >= 1))
        return false;
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
    const AppSettings& s = *m_env.settings;
    PageLayout layout;
    layout.caps = caps;
    layout.useMargins = useMargins;
    layout.marginsMm = {s.marginTop, s.marginLeft, s.marginBottom, s.marginRight};
    if (useMargins && !askAboutMargins(layout))
        return false;
    layout.headerPointSize = header ? MaxBandFontSize(false) : 0;
    layout.headerLineMm = s.headerLine ? SeparatorLineWidthMm(s.headerLineSize) : 0;
    layout.footerPointSize = footer ? MaxBandFontSize(true) : 0;
    layout.footerLineMm = s.footerLine ? SeparatorLineWidthMm(s.footerLineSize) : 0;
    layout.cellMarginMm = cellMargin;
    layout.columns = columns;
    layout.rows = rows;
    layout.cropPitchX = cropPitchX;
    layout.cropPitchY = cropPitchY;
    layout.requestedWidthMm = requestedWidthMm;
    layout.requestedHeightMm = requestedHeightMm;
    layout.preview = m_preview;
    layout.screenDotsPerMm = ScreenDotsPerMm;

    const PageLayoutResult laid = layOutPage(layout);
    switch (laid.fault) {
    case PageLayoutFault::None: break;
    case PageLayoutFault::RequestedSizeTooLarge:
        showErrorWithYes(QStringLiteral("現在の用紙には、指定されたｻｲｽﾞで印刷できません。"));
        return false;
    case PageLayoutFault::ImageAreaTooSmall:
        showErrorWithYes(
            QStringLiteral("余白または、ﾍｯﾀﾞｰ/ﾌｯﾀｰのｻｲｽﾞが大きいため画像を印刷する部分が不足しています。\n\n"
                           "環境設定から設定を変更してください。"));
        return false;
    case PageLayoutFault::NoWholeCell: return false;
    }
    if (m_preview)
        openPreviewPage(laid.geometry);
    else if (!m_env.printer->beginDocument(title))
        return false;
    m_geometry = laid.geometry;
    m_requestedWidth = laid.requestedWidth;
    m_requestedHeight = laid.requestedHeight;
    m_active = true;
    return true;
}

void Tmg_PR::openPreviewPage(const PageGeometry& g)
{
    // Drawn in screen pixels on a bitmap finer by the scale: the painter
    // takes the bitmap's pixel ratio, text and lines come out sharp.
    const double sheet = double(std::max(1, g.physicalWidth)) * std::max(1, g.physicalHeight);
    const double scale = std::max(1.0, std::min(m_env.previewScale, std::sqrt(kPreviewPagePixels / sheet)));
    m_pageBitmap = QImage(std::max(1, truncToInt(g.physicalWidth * scale)),
                          std::max(1, truncToInt(g.physicalHeight * scale)), QImage::Format_RGB32);
    m_pageBitmap.setDevicePixelRatio(scale);
    m_pageBitmap.fill(Qt::white);
    m_pagePainter = std::make_unique<QPainter>(&m_pageBitmap);
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
