// tavbatch: runs one tab's command on the files it is given, without a
// window, with the tab's settings from tav.Ini. See usage() and the README.
#include "platform/PictureMemory.h"
#include "platform/QtPrintDevice.h"
#include "tav/batch/BatchSettings.h"
#include "tav/batch/HeadlessHost.h"
#include "tav/batch/StderrPrompt.h"
#include "tav/catalog/CatalogueCache.h"
#include "tav/catalog/Convert.h"
#include "tav/catalog/HtmlAlbum.h"
#include "tav/catalog/ThumbnailSheets.h"
#include "tav/core/Settings.h"
#include "tav/imaging/PictureOptions.h"
#include "tav/printing/Album.h"
#include "tav/printing/IndexPrint.h"
#include "tav/printing/MultiImage.h"
#include "tav/printing/OnePerPage.h"
#include "tav/printing/ServiceSize.h"
#include "tav/printing/StickerPrint.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPrinter>

#include <cstdio>

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
constexpr int kExitStopped = 3;

enum class Output { Printer, Files };

struct Command {
    const char* name;
    Output output;
    const char* completed;  // the message of a run that went through
    void (*run)(HeadlessHost& host);
};

void runCatalogue(HeadlessHost& host);

const Command kCommands[] = {
    {"print", Output::Printer, "印刷完了。", [](HeadlessHost& h) { PrintOnePerPage(h, false); }},
    {"multi", Output::Printer, "印刷完了。", [](HeadlessHost& h) { PrintMultiImage(h, false); }},
    {"index", Output::Printer, "印刷完了。", [](HeadlessHost& h) { PrintIndex(h, false); }},
    {"sticker", Output::Printer, "印刷完了。", [](HeadlessHost& h) { PrintStickers(h, false); }},
    {"service", Output::Printer, "印刷完了。", [](HeadlessHost& h) { PrintServiceSize(h, false); }},
    {"album", Output::Printer, "印刷完了。", [](HeadlessHost& h) { PrintAlbum(h, false); }},
    {"convert", Output::Files, "変換完了。", [](HeadlessHost& h) { ConvertSelection(h); }},
    {"sheets", Output::Files, "完了。", [](HeadlessHost& h) { MakeThumbnailSheets(h, false); }},
    {"html", Output::Files, "完了.", [](HeadlessHost& h) { WriteHtmlAlbum(h); }},
    {"catalogue", Output::Files, "", runCatalogue},
};

bool catalogueFailed = false;

// The catalogue file of each folder the files are in, made of those files'
// thumbnails, as the "ｶﾀﾛｸﾞ" view makes and stores it.
void runCatalogue(HeadlessHost& host)
{
    QStringList folders;
    QHash<QString, QStringList> names;
    for (const QString& path : host.selectedPaths()) {
        const QFileInfo info(path);
        if (!names.contains(info.absolutePath()))
            folders << info.absolutePath();
        names[info.absolutePath()] << info.fileName();
    }
    const QString gvPath = host.settings().gvPath;
    const ThumbnailMaker make = [&gvPath](const QString& path) { return makeThumbnail(path, gvPath); };
    for (const QString& folder : folders) {
        CatalogueCache cache;
        const CatalogueCache::ItemSink ignore = [](const QString&, const QImage&) {};
        const CatalogueFill fill = cache.fill(host, folder, names[folder], make, ignore, makeThumbnailAhead);
        if (fill != CatalogueFill::Completed || !cache.save(folder)) {
            catalogueFailed = true;
            return;
        }
    }
}

// A command line that cannot run.
int refuse(const QString& problem)
{
    std::fprintf(stderr, "tavbatch: %s\n", problem.toUtf8().constData());
    return kExitUsage;
}

int usage(const QString& problem)
{
    if (!problem.isEmpty())
        refuse(problem);
    std::fprintf(stderr,
                 "usage: tavbatch COMMAND [options] FILE...\n"
                 "commands: print multi index sticker service album (printing),\n"
                 "          convert sheets html catalogue\n"
                 "options:\n"
                 "  --ini FILE              settings file (default: tav.Ini beside the program)\n"
                 "  --set SECTION.KEY=VALUE override one setting of the file (repeatable)\n"
                 "  --printer NAME          print on this CUPS queue (default: the default printer)\n"
                 "  --pdf FILE              print into this PDF file\n"
                 "  --yes | --no            answer every question so (default: each question's default)\n"
                 "  --verbose               show the status line's texts\n"
                 "  --caps                  first write the printer's page in dots to standard output:\n"
                 "                          caps DPI WIDTH HEIGHT PAPER_WIDTH PAPER_HEIGHT LEFT TOP\n"
                 "  --stop-after N          (for tests) press the stop button after the Nth picture\n"
                 "exit status: 0 done, 1 failed, 2 bad command line, 3 stopped (Ctrl-C)\n");
    return kExitUsage;
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    platform::tuneAllocatorForPictures();  // as Tav does
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return usage({});
    if (args[0] == QLatin1String("--help")) {
        usage({});
        return 0;
    }
    const Command* command = nullptr;
    for (const Command& c : kCommands)
        if (args[0] == QLatin1String(c.name))
            command = &c;
    if (!command)
        return usage(QStringLiteral("unknown command: ") + args[0]);

    BatchSettingsRequest request;
    const QDir programFolder(QCoreApplication::applicationDirPath());
    request.iniPath = programFolder.filePath(QString::fromLatin1(kSettingsFileName));
    QString printerName;
    QString pdfPath;
    std::optional<bool> answer;
    bool verbose = false;
    bool showCaps = false;
    int stopAfter = 0;
    QStringList files;
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == QLatin1String("--ini") && hasValue) {
            request.iniPath = args[++i];
            if (!QFileInfo(request.iniPath).isFile())
                return refuse(QStringLiteral("no settings file: ") + request.iniPath);
        } else if (a == QLatin1String("--set") && hasValue) {
            request.overrides << args[++i];
        } else if (a == QLatin1String("--printer") && hasValue) {
            printerName = args[++i];
        } else if (a == QLatin1String("--pdf") && hasValue) {
            pdfPath = QFileInfo(args[++i]).absoluteFilePath();
        } else if (a == QLatin1String("--yes") || a == QLatin1String("--no")) {
            answer = a == QLatin1String("--yes");
        } else if (a == QLatin1String("--verbose")) {
            verbose = true;
        } else if (a == QLatin1String("--caps")) {
            showCaps = true;
        } else if (a == QLatin1String("--stop-after") && hasValue) {
            bool number = false;
            stopAfter = args[++i].toInt(&number);
            if (!number || stopAfter < 1)
                return usage(QStringLiteral("--stop-after needs a count of pictures: ") + args[i]);
        } else if (a == QLatin1String("--")) {
            files << args.mid(i + 1);
            break;
        } else if (a.startsWith(QLatin1String("--"))) {
            return usage(QStringLiteral("bad option: ") + a);
        } else {
            files << a;
        }
    }
    if (files.isEmpty())
        return usage(QStringLiteral("no files given"));
    QStringList paths;
    for (const QString& file : files) {
        const QFileInfo info(file);
        if (!info.isFile())
            return refuse(QStringLiteral("no such file: ") + file);
        paths << info.absoluteFilePath();
    }
    if (!printerName.isEmpty() && !pdfPath.isEmpty())
        return refuse(QStringLiteral("--printer and --pdf exclude each other"));

    QPrinter printer(QPrinter::HighResolution);
    if (!pdfPath.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdfPath);
    } else if (!printerName.isEmpty()) {
        printer.setPrinterName(printerName);
    }
    if (command->output == Output::Printer) {
        if (pdfPath.isEmpty() && !printer.isValid())
            return refuse(printerName.isEmpty()
                              ? QStringLiteral("no default printer: name one with --printer or --pdf")
                              : QStringLiteral("no printer ") + printerName);
        request.printer = platform::capsOf(printer);
    } else if (showCaps) {
        return refuse(QStringLiteral("--caps goes with a printing command"));
    }

    StderrPrompt prompt(answer);
    HeadlessHost host(paths, printer);
    prompt.interrupted = [&host] { return host.stopPressed(); };
    host.verbose = verbose;
    host.stopAfter = stopAfter;
    const QString problem = LoadBatchSettings(request, host.batchControls(), host.settings());
    if (!problem.isEmpty())
        return refuse(problem);
    if (showCaps) {
        const platform::DeviceCaps c = host.printDevice().caps();
        std::printf("caps %d %d %d %d %d %d %d\n", c.logPixelsX, c.horzRes, c.vertRes, c.physicalWidth,
                    c.physicalHeight, c.physicalOffsetX, c.physicalOffsetY);
        std::fflush(stdout);
    }
    ApplyPictureOptions(host.settings());

    CatchInterrupt();
    command->run(host);

    if (prompt.stopConfirmed())
        return kExitStopped;
    // Through when it ended with its completion message and warned of nothing on the way.
    const bool through = *command->completed ? prompt.lastMessage() == QString::fromUtf8(command->completed)
                                             : !catalogueFailed;
    return through && !prompt.warned() ? 0 : kExitFailed;
}
