// The desktop's printers through Qt PrintSupport: a CUPS queue, or a PDF file
// named in the print dialog when no printer is installed.
//
// Qt cannot take back a document once drawing began: QPrinter::abort() does
// nothing for CUPS queues or PDF files, and ending the painter hands the
// document to CUPS or completes the file. So every document is drawn into a
// temporary file first, and only a document that ends normally reaches the
// spooler (with the job name, copies, sides, paper and the dialog's CUPS
// options) or replaces the named file; a dropped one is deleted unseen.
#pragma once

#include "platform/PrintDevice.h"

#include <memory>

class QPainter;
class QPrinter;
class QTemporaryFile;

namespace platform {

// Pictures are printed at this many dots per inch into a PDF file: enough
// for photographs, and a page's picture data stays far below a 12-megapixel
// original.
inline constexpr int kPdfFileDotsPerInch = 300;

// The capabilities of `printer` from its paper and printable area.
DeviceCaps capsOf(const QPrinter& printer);

// Hands the finished PDF `file` to the CUPS queue of `printer` as the job
// `title`, with the printer's copies, collation, sides, paper, orientation
// and the options its print dialog set. False when CUPS refused it.
bool spoolToCups(const QPrinter& printer, const QString& file, const QString& title);

class QtPrintDevice : public PrintDevice {
public:
    // Prints on `printer` as the print dialog left it; a PDF file gets
    // kPdfFileDotsPerInch and no unprintable border.
    explicit QtPrintDevice(QPrinter& printer);
    ~QtPrintDevice() override;

    DeviceCaps caps() const override;
    void setPortrait() override;
    bool beginDocument(const QString& title) override;
    QPainter* painter() override;
    bool newPage() override;
    int pageNumber() const override { return m_page; }
    bool endDocument() override;
    void abortDocument() override;
    void beginRun() override;
    bool endRun() override;

private:
    // Ends the drawing into the temporary file and, when `keep`, sends it to
    // the queue or puts it in place of the named file; otherwise deletes it.
    bool finish(bool keep);
    // The first page of a later document of a file run starts when it is drawn on.
    void startWantedPage();

    QPrinter& m_printer;
    std::unique_ptr<QPainter> m_painter;
    std::unique_ptr<QTemporaryFile> m_spool;
    QString m_target;  // the file the user named; empty for a printer queue
    QString m_title;
    int m_page = 0;
    bool m_inRun = false;
    bool m_runIntoFile = false;
    int m_documentsKept = 0;  // documents of the file run that ended normally
    bool m_pageWanted = false;
};

}  // namespace platform
