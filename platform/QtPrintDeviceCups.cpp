// Handing a finished document to a CUPS queue with the options Qt's own CUPS
// engine would have sent.
#include "platform/QtPrintDevice.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QPageLayout>
#include <QPrintEngine>
#include <QPrinter>
#include <QStringList>

#include <cups/cups.h>
#include <utility>

namespace platform {

namespace {

// The options the print dialog's advanced page set, as name, value pairs.
constexpr auto kCupsOptionsProperty = QPrintEngine::PrintEnginePropertyKey(0xfe00);

QByteArray sidesOf(const QPrinter& printer)
{
    switch (printer.duplex()) {
    case QPrinter::DuplexAuto:
        return printer.pageLayout().orientation() == QPageLayout::Portrait ? "two-sided-long-edge"
                                                                           : "two-sided-short-edge";
    case QPrinter::DuplexLongSide: return "two-sided-long-edge";
    case QPrinter::DuplexShortSide: return "two-sided-short-edge";
    default: return "one-sided";
    }
}

}  // namespace

bool spoolToCups(const QPrinter& printer, const QString& file, const QString& title)
{
    QList<std::pair<QByteArray, QByteArray>> options;
    options.emplaceBack("media", printer.pageLayout().pageSize().key().toLocal8Bit());
    if (printer.copyCount() > 1) {
        options.emplaceBack("copies", QByteArray::number(printer.copyCount()));
        if (printer.collateCopies())
            options.emplaceBack("Collate", "True");
    }
    options.emplaceBack("sides", sidesOf(printer));
    if (printer.pageLayout().orientation() == QPageLayout::Landscape)
        options.emplaceBack("landscape", "");
    const QStringList custom = printer.printEngine()->property(kCupsOptionsProperty).toStringList();
    for (qsizetype i = 0; i + 1 < custom.size(); i += 2)
        options.emplaceBack(custom[i].toLocal8Bit(), custom[i + 1].toLocal8Bit());

    QList<cups_option_t> cupsOptions;
    for (auto& [name, value] : options)
        cupsOptions.append(cups_option_t{name.data(), value.data()});
    // CUPS knows the queue by its name without an instance ("queue/instance").
    const QByteArray queue = printer.printerName().section(QLatin1Char('/'), 0, 0).toLocal8Bit();
    const int job =
        cupsPrintFile(queue.constData(), QFile::encodeName(file).constData(), title.toLocal8Bit().constData(),
                      int(cupsOptions.size()), cupsOptions.isEmpty() ? nullptr : cupsOptions.data());
    return job > 0;
}

}  // namespace platform
