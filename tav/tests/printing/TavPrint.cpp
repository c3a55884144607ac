// tav_print: prints picture files one per page through Tav's own print path
// (the "1ﾍﾟｰｼﾞ1画像印刷" command, the shared print loop and the page engine)
// onto a printer queue or into a PDF file, without a window. The real-CUPS
// test and the printing benchmark drive it.
//
//   tav_print (--printer QUEUE | --pdf FILE) [--caps] [--stickers MM] [--stop-after N] PICTURE...
//
// Margins are off ("余白なし"), header and footer off, no captions. With
// --caps the printer's capabilities are printed first as
// "caps dpi horzRes vertRes physicalWidth physicalHeight offsetX offsetY".
// --stickers prints sticker sheets ("ﾌﾟﾘｸﾗ印刷") of frames MM wide instead.
// --stop-after presses the stop button after the Nth picture and answers
// "はい" to the stop question. The messages the command showed are printed
// one per line; the exit status is 0 when the run ended with "印刷完了。".
#include "tav/core/AppSettings.h"
#include "tav/tests/FakeControls.h"
#include "tav/printing/OnePerPage.h"
#include "platform/PictureMemory.h"
#include "tav/printing/PrintSelection.h"
#include "tav/core/RunState.h"
#include "tav/printing/StickerPrint.h"
#include "platform/QtPrintDevice.h"
#include "platform/ScriptedPrompt.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QPrinter>
#include <QTextStream>

#include <cstdio>

namespace {

class CommandLineHost : public PrintHost {
public:
    CommandLineHost(QPrinter& printer, QStringList pictures) : m_device(printer), m_pictures(std::move(pictures))
    {
        for (const char* name : {"ch_zentai", "ch_yohakuNasiPr1"})
            m_controls.checks[QString::fromLatin1(name)] = true;
        for (const char* name : {"tx_akarusa", "tx_r", "tx_g", "tx_b"})
            m_controls.texts[QString::fromLatin1(name)] = QStringLiteral("0");
    }

    void setStickerWidth(const QString& mm) { m_controls.texts[QStringLiteral("tx_komaHabaMM")] = mm; }

    void setBusy(bool) override {}
    void setStatus(const QString&) override {}
    void setGaugeMaximum(int) override {}
    void setGauge(int) override {}
    void processWaitingInput() override
    {
        QCoreApplication::processEvents();
        if (++m_processed == stopAfter)
            AbortRequested = true;
    }
    QStringList selectedPaths() const override { return m_pictures; }
    QString currentFolder() const override
    {
        return m_pictures.isEmpty() ? QString() : QFileInfo(m_pictures.first()).absolutePath();
    }
    AppSettings& settings() override { return m_settings; }
    ControlSurface& controls() override { return m_controls; }
    bool choosePrinter() override { return true; }
    platform::PrintDevice& printDevice() override { return m_device; }
    bool showPreviewPage(const QImage&, double&) override { return true; }
    void file_list3Click() override {}
    void refreshFolder() override {}

    int stopAfter = 0;

private:
    int m_processed = 0;
    platform::QtPrintDevice m_device;
    QStringList m_pictures;
    AppSettings m_settings;
    FakeControls m_controls;
};

int usage()
{
    std::fprintf(stderr, "usage: tav_print (--printer QUEUE | --pdf FILE) [--caps] [--stickers MM] [--stop-after N] "
                         "PICTURE...\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    platform::tuneAllocatorForPictures();  // as Tav does
    QGuiApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QPrinter printer(QPrinter::HighResolution);
    bool showCaps = false;
    QString stickerWidth;
    int stopAfter = 0;
    QStringList pictures;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--printer") && i + 1 < args.size()) {
            printer.setPrinterName(args[++i]);
            if (!printer.isValid())
                return std::fprintf(stderr, "tav_print: no printer %s\n", qPrintable(args[i])), 1;
        } else if (args[i] == QLatin1String("--pdf") && i + 1 < args.size()) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(args[++i]);
        } else if (args[i] == QLatin1String("--caps")) {
            showCaps = true;
        } else if (args[i] == QLatin1String("--stickers") && i + 1 < args.size()) {
            stickerWidth = args[++i];
        } else if (args[i] == QLatin1String("--stop-after") && i + 1 < args.size()) {
            stopAfter = args[++i].toInt();
        } else if (args[i].startsWith(QLatin1String("--"))) {
            return usage();
        } else {
            pictures << QFileInfo(args[i]).absoluteFilePath();
        }
    }
    if (pictures.isEmpty())
        return usage();

    platform::ScriptedPrompt prompt;
    CommandLineHost host(printer, pictures);
    QTextStream out(stdout);
    if (showCaps) {
        const platform::DeviceCaps c = host.printDevice().caps();
        out << "caps " << c.logPixelsX << ' ' << c.horzRes << ' ' << c.vertRes << ' ' << c.physicalWidth << ' '
            << c.physicalHeight << ' ' << c.physicalOffsetX << ' ' << c.physicalOffsetY << '\n';
    }
    host.stopAfter = stopAfter;
    if (stopAfter > 0)
        prompt.answer(platform::Answer::Yes);
    if (stickerWidth.isEmpty()) {
        PrintOnePerPage(host, false);
    } else {
        host.setStickerWidth(stickerWidth);
        PrintStickers(host, false);
    }
    const QStringList messages = prompt.messages();
    for (const QString& message : messages)
        out << message << '\n';
    return !messages.isEmpty() && messages.last() == QStringLiteral("印刷完了。") ? 0 : 1;
}
