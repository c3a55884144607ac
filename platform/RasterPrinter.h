// The printer double of the tests: a printer of a chosen resolution, paper
// and unprintable border that renders each page into an image, so that what
// the page engine printed can be checked to the dot.
#pragma once

#include "platform/PrintDevice.h"

#include <QImage>
#include <QList>
#include <QStringList>
#include <memory>

namespace platform {

class RasterPrinter : public PrintDevice {
public:
    explicit RasterPrinter(const DeviceCaps& caps);
    // A sheet of paperWidthMm x paperHeightMm at `dpi`, with `borderMm` on each
    // side that the printer cannot reach.
    static DeviceCaps paper(int dpi, double paperWidthMm, double paperHeightMm, double borderMm);
    ~RasterPrinter() override;

    DeviceCaps caps() const override { return m_caps; }
    void setPortrait() override;
    bool beginDocument(const QString& title) override;
    QPainter* painter() override;
    bool newPage() override;
    int pageNumber() const override { return static_cast<int>(m_pages.size()); }
    bool endDocument() override;
    void abortDocument() override;
    void beginRun() override;
    bool endRun() override;

    // Every page of the last document, whole sheets (the border stays white),
    // the last one complete only once the document ended. Printing into a
    // file, the documents of a run are one document.
    const QList<QImage>& pages() const { return m_pages; }
    QString documentName() const { return m_documentName; }
    // The names of the documents that ended normally, in order, as a spooler lists its jobs.
    const QStringList& endedDocuments() const { return m_endedDocuments; }
    // Prints into a file (as a PDF printer does) rather than onto a queue.
    void printIntoFile(bool intoFile) { m_intoFile = intoFile; }
    bool aborted() const { return m_aborted; }
    bool ended() const { return m_ended; }
    // Other paper (resolution, size, border) for the documents to come.
    void loadPaper(const DeviceCaps& caps) { m_caps = caps; }
    // The next beginDocument fails, as a printer that cannot be opened.
    void failNextBegin() { m_failBegin = true; }
    // Handing documents over fails from now on, as a spooler that refuses
    // jobs or a file that cannot be written.
    void failDelivery() { m_failDelivery = true; }

private:
    void startPage();
    void finishPage();

    DeviceCaps m_caps;
    QList<QImage> m_pages;
    std::unique_ptr<QPainter> m_painter;
    QString m_documentName;
    QStringList m_endedDocuments;
    bool m_intoFile = false;
    bool m_inRun = false;
    bool m_failDelivery = false;
    qsizetype m_runPagesKept = 0;  // pages of the run's earlier documents
    bool m_aborted = false;
    bool m_ended = false;
    bool m_failBegin = false;
};

}  // namespace platform
