// The desktop's printers through Qt PrintSupport: a CUPS queue, or a PDF file
// named in the print dialog when no printer is installed.
#pragma once

#include "PrintDevice.h"

#include <memory>

class QPainter;
class QPrinter;

namespace platform {

// Pictures are printed at this many dots per inch into a PDF file: enough
// for photographs, and a page's picture data stays far below a 12-megapixel
// original.
inline constexpr int kPdfFileDotsPerInch = 300;

// The capabilities of `printer` from its paper and printable area.
DeviceCaps capsOf(const QPrinter& printer);

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

private:
    QPrinter& m_printer;
    std::unique_ptr<QPainter> m_painter;
    int m_page = 0;
};

}  // namespace platform
