#include "platform/QtPrintDevice.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMarginsF>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryFile>

#include <cstdio>
#include <sys/stat.h>

namespace platform {

namespace {

// The file a PDF run writes: a symbolic link is followed to its target.
QString resolvedTarget(const QString& path)
{
    const QFileInfo info(path);
    if (info.isSymLink() && !info.canonicalFilePath().isEmpty())
        return info.canonicalFilePath();
    return info.absoluteFilePath();
}

// The temporary file a document is drawn into: beside the named file, so
// that it can be renamed over it, or in the temporary folder for a queue. The
// name must not end in ".pdf": Qt would turn a queue into a PDF printer.
std::unique_ptr<QTemporaryFile> spoolFileFor(const QString& target)
{
    const QString pattern =
        target.isEmpty()
            ? QDir(QDir::tempPath()).filePath(QStringLiteral("tav-print-XXXXXX"))
            : QFileInfo(target).dir().filePath(QStringLiteral(".") + QFileInfo(target).fileName() +
                                               QStringLiteral(".XXXXXX"));
    auto file = std::make_unique<QTemporaryFile>(pattern);
    if (!file->open())
        return nullptr;
    file->close();
    return file;
}

// Puts the finished `spool` in place of `target` in one rename; the target
// keeps its permissions, a new file gets the usual ones.
bool replaceTarget(QTemporaryFile& spool, const QString& target)
{
    const QFileInfo old(target);
    if (old.exists()) {
        spool.setPermissions(old.permissions());
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::chmod(QFile::encodeName(spool.fileName()).constData(), 0666 & ~mask);
    }
    if (std::rename(QFile::encodeName(spool.fileName()).constData(), QFile::encodeName(target).constData()) !=
        0)
        return false;
    spool.setAutoRemove(false);
    return true;
}

}  // namespace

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
    // A document still open was never finished: it is dropped, not printed.
    if (m_painter)
        finish(false);
}

DeviceCaps QtPrintDevice::caps() const { return capsOf(m_printer); }

void QtPrintDevice::setPortrait() { m_printer.setPageOrientation(QPageLayout::Portrait); }

void QtPrintDevice::beginRun()
{
    m_inRun = true;
    m_runIntoFile = !m_printer.outputFileName().isEmpty();
    m_documentsKept = 0;
}

bool QtPrintDevice::endRun()
{
    const bool joined = m_inRun && m_runIntoFile;
    m_inRun = false;
    return !(joined && m_painter) || finish(m_documentsKept > 0);
}

bool QtPrintDevice::beginDocument(const QString& title)
{
    if (m_inRun && m_runIntoFile && m_painter) {
        // The next document of a file run goes on in the same file.
        if (m_pageWanted)
            return false;
        m_pageWanted = true;
        m_page = 1;
        return true;
    }
    if (m_painter)
        return false;
    const QString named = m_printer.outputFileName();
    m_target = named.isEmpty() ? QString() : resolvedTarget(named);
    m_spool = spoolFileFor(m_target);
    if (!m_spool)
        return false;
    m_title = title;
    m_printer.setOutputFileName(m_spool->fileName());
    m_printer.setDocName(title);
    m_printer.setFullPage(false);
    auto painter = std::make_unique<QPainter>();
    if (!painter->begin(&m_printer)) {
        m_printer.setOutputFileName(named);
        m_spool.reset();
        return false;
    }
    m_painter = std::move(painter);
    m_page = 1;
    return true;
}

void QtPrintDevice::startWantedPage()
{
    if (m_pageWanted && m_painter) {
        m_pageWanted = false;
        m_printer.newPage();
    }
}

QPainter* QtPrintDevice::painter()
{
    startWantedPage();
    return m_painter.get();
}

bool QtPrintDevice::newPage()
{
    if (!m_painter)
        return false;
    startWantedPage();
    if (!m_printer.newPage())
        return false;
    ++m_page;
    return true;
}

bool QtPrintDevice::endDocument()
{
    if (!m_painter)
        return false;
    if (m_inRun && m_runIntoFile) {
        ++m_documentsKept;
        return true;
    }
    return finish(true);
}

void QtPrintDevice::abortDocument()
{
    if (!m_painter)
        return;
    if (m_inRun && m_runIntoFile && m_documentsKept > 0) {
        // The earlier documents of the run stay; this one added nothing as
        // long as it has not been drawn on.
        m_pageWanted = false;
        return;
    }
    finish(false);
}

bool QtPrintDevice::finish(bool keep)
{
    m_pageWanted = false;
    // With the temporary file as its output, ending the painter only closes
    // that file: nothing reaches the queue or the named file yet.
    const bool drawn = m_painter->end();
    m_painter.reset();
    const QString spool = m_spool->fileName();
    m_printer.setOutputFileName(m_target.isEmpty() ? QString() : m_target);
    bool handedOver = false;
    if (keep && drawn)
        handedOver =
            m_target.isEmpty() ? spoolToCups(m_printer, spool, m_title) : replaceTarget(*m_spool, m_target);
    m_spool.reset();
    return handedOver || !keep;
}

}  // namespace platform
