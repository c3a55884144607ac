#include "QtPrintDevice.h"

#include <QMarginsF>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>

namespace platform {

DeviceCaps capsOf(const QPrinter& printer)
{
    const int dpi = printer.resolution();
    const QPageLayout layout = printer.pageLayout();
    const QRect full = layout.fullRectPixels(dpi);
    const QRect paint = layout.paintRectPixels(dpi);
    DeviceCaps caps;
    caps.logPixelsX = dpi;
    caps.horzRes = paint.width();
    caps.vertRes = paint.height();
    caps.physicalWidth = full.width();
    caps.physicalHeight = full.height();
    caps.physicalOffsetX = paint.left() - full.left();
    caps.physicalOffsetY = paint.top() - full.top();
    return caps;
}

QtPrintDevice::QtPrintDevice(QPrinter& printer) : m_printer(printer)
{
    if (m_printer.outputFormat() == QPrinter::PdfFormat) {
        m_printer.setResolution(kPdfFileDotsPerInch);
        m_printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    }
}

QtPrintDevice::~QtPrintDevice()
{
    if (m_painter && m_painter->isActive())
        m_painter->end();
}

DeviceCaps QtPrintDevice::caps() const { return capsOf(m_printer); }

void QtPrintDevice::setPortrait() { m_printer.setPageOrientation(QPageLayout::Portrait); }

bool QtPrintDevice::beginDocument(const QString& title)
{
    if (m_painter)
        return false;
    m_printer.setDocName(title);
    m_printer.setFullPage(false);
    auto painter = std::make_unique<QPainter>();
    if (!painter->begin(&m_printer))
        return false;
    m_painter = std::move(painter);
    m_page = 1;
    return true;
}

QPainter* QtPrintDevice::painter() { return m_painter.get(); }

bool QtPrintDevice::newPage()
{
    if (!m_painter || !m_printer.newPage())
        return false;
    ++m_page;
    return true;
}

bool QtPrintDevice::endDocument()
{
    if (!m_painter)
        return false;
    const bool ended = m_painter->end();
    m_painter.reset();
    return ended;
}

void QtPrintDevice::abortDocument()
{
    if (!m_painter)
        return;
    m_printer.abort();
    if (m_painter->isActive())
        m_painter->end();
    m_painter.reset();
}

}  // namespace platform
