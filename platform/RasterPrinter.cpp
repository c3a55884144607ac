#include "platform/RasterPrinter.h"

#include <QPainter>

#include <cmath>
#include <utility>

namespace platform {

namespace {
constexpr double kMmPerInch = 25.4;
constexpr double kInchesPerMetre = 1000.0 / kMmPerInch;

int dots(double mm, int dpi) { return static_cast<int>(std::lround(mm / kMmPerInch * dpi)); }
}  // namespace

RasterPrinter::RasterPrinter(const DeviceCaps& caps) : m_caps(caps) {}

RasterPrinter::~RasterPrinter()
{
    if (m_painter)
        m_painter->end();
}

DeviceCaps RasterPrinter::paper(int dpi, double paperWidthMm, double paperHeightMm, double borderMm)
{
    DeviceCaps caps;
    caps.logPixelsX = dpi;
    caps.physicalWidth = dots(paperWidthMm, dpi);
    caps.physicalHeight = dots(paperHeightMm, dpi);
    caps.physicalOffsetX = dots(borderMm, dpi);
    caps.physicalOffsetY = dots(borderMm, dpi);
    caps.horzRes = caps.physicalWidth - 2 * caps.physicalOffsetX;
    caps.vertRes = caps.physicalHeight - 2 * caps.physicalOffsetY;
    return caps;
}

void RasterPrinter::setPortrait()
{
    if (m_caps.physicalWidth <= m_caps.physicalHeight)
        return;
    std::swap(m_caps.physicalWidth, m_caps.physicalHeight);
    std::swap(m_caps.horzRes, m_caps.vertRes);
    std::swap(m_caps.physicalOffsetX, m_caps.physicalOffsetY);
}

bool RasterPrinter::beginDocument(const QString& title)
{
    if (m_painter || m_failBegin) {
        m_failBegin = false;
        return false;
    }
    if (m_inRun && m_intoFile && m_runPagesKept > 0) {
        // The run's file goes on with this document's pages.
        m_pages.resize(m_runPagesKept);
    } else {
        m_pages.clear();
        m_documentName = title;
    }
    m_aborted = false;
    m_ended = false;
    startPage();
    return true;
}

QPainter* RasterPrinter::painter() { return m_painter.get(); }

void RasterPrinter::startPage()
{
    QImage sheet(m_caps.physicalWidth, m_caps.physicalHeight, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    // Fonts given in points come out at the printer's resolution.
    const int dotsPerMetre = static_cast<int>(std::lround(m_caps.logPixelsX * kInchesPerMetre));
    sheet.setDotsPerMeterX(dotsPerMetre);
    sheet.setDotsPerMeterY(dotsPerMetre);
    m_pages.append(sheet);
    m_painter = std::make_unique<QPainter>(&m_pages.last());
    m_painter->translate(m_caps.physicalOffsetX, m_caps.physicalOffsetY);
    m_painter->setClipRect(0, 0, m_caps.horzRes, m_caps.vertRes);
}

void RasterPrinter::finishPage()
{
    if (m_painter)
        m_painter->end();
    m_painter.reset();
}

bool RasterPrinter::newPage()
{
    if (!m_painter)
        return false;
    finishPage();
    startPage();
    return true;
}

bool RasterPrinter::endDocument()
{
    if (!m_painter)
        return false;
    finishPage();
    m_ended = true;
    m_endedDocuments << m_documentName;
    if (m_inRun && m_intoFile) {
        m_runPagesKept = m_pages.size();
        return true;
    }
    return !m_failDelivery;
}

void RasterPrinter::abortDocument()
{
    finishPage();
    m_aborted = true;
    if (m_inRun && m_intoFile)
        m_pages.resize(m_runPagesKept);
}

void RasterPrinter::beginRun()
{
    m_inRun = true;
    m_runPagesKept = 0;
}

bool RasterPrinter::endRun()
{
    const bool joined = m_inRun && m_intoFile;
    m_inRun = false;
    return !(joined && m_runPagesKept > 0) || !m_failDelivery;
}

}  // namespace platform
