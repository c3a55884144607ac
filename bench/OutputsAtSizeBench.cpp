// What loading at the size needed saves: the catalogue's 48 x 48 cell, a
// conversion to 320 x 240 kept in proportion, and a full-size Group 4 TIFF,
// each timed per picture with the whole picture decoded ("whole") and with
// the picture decoded no larger than needed ("at-size"), in the same run.
// The Group 4 row shows its stages (load, to 1 bit, save) apart.
// Usage: outputs_at_size_bench FOLDER OUTDIR   (FOLDER: JPEGs, e.g. the corpus' jpeg/)
#include "imgkit/ImgKit.h"
#include "tav/catalog/Convert.h"
#include "tav/imaging/Bitmaps.h"
#include "tav/imaging/ImageLoad.h"
#include "tav/imaging/ImageResize.h"
#include "tav/printing/PrintSelection.h"

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <cstdio>

namespace {

double msPerPicture(const QStringList& paths, const std::function<void(const QString&)>& work)
{
    QElapsedTimer timer;
    timer.start();
    for (const QString& path : paths)
        work(path);
    return double(timer.nsecsElapsed()) / 1e6 / std::max<qsizetype>(1, paths.size());
}

void catalogueCell(const QString& path, bool atSize)
{
    const LoadNeed need = atSize ? LoadNeed{48, 48, true} : LoadNeed{};
    const imgkit::DibHandle picture = LoadImageFileAtLeast(path, {}, {}, {}, need, nullptr);
    QImage cell;
    FitImageToBitmap(picture, cell, 48, 48, false);
}

void convertTo320(const QString& path, const QString& target, bool atSize)
{
    imgkit::DibHandle picture;
    int width = 0;
    int height = 0;
    const LoadNeed need = atSize ? LoadNeed{320, 240, true} : LoadNeed{};
    if (!LoadForPrint(path, PrintAdjustment{}, {}, picture, width, height, need))
        return;
    const QSize size = ConvertedSize(width, height, 320, 240, true);
    const imgkit::DibHandle small = ResizeImage(picture, {}, {}, size.width(), size.height(), false);
    ImgKitBmpFileSave(target, small, {}, {}, 0);
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: outputs_at_size_bench FOLDER OUTDIR\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const QDir out(QString::fromLocal8Bit(argv[2]));
    QStringList paths;
    for (const QString& name : folder.entryList({"*.jpg", "*.JPG", "*.jpeg"}, QDir::Files, QDir::Name))
        paths << folder.filePath(name);
    const QString bmp = out.filePath(QStringLiteral("bench.bmp"));
    const QString tif = out.filePath(QStringLiteral("bench.tif"));
    for (const bool atSize : {false, true}) {
        const char* how = atSize ? "at-size" : "whole";
        std::printf("catalogue 48x48  %-7s %7.1f ms/picture\n", how,
                    msPerPicture(paths, [&](const QString& p) { catalogueCell(p, atSize); }));
        std::printf("convert 320x240  %-7s %7.1f ms/picture\n", how,
                    msPerPicture(paths, [&](const QString& p) { convertTo320(p, bmp, atSize); }));
    }
    double load = 0, mono = 0, save = 0;
    QElapsedTimer timer;
    for (const QString& path : paths) {
        timer.start();
        const imgkit::DibHandle picture = LoadImageFile(path, {}, {}, {});
        load += timer.nsecsElapsed() / 1e6;
        timer.start();
        const imgkit::DibHandle bilevel = ImgKitConvertColor(picture, 1, 0, 1, {}, {});
        mono += timer.nsecsElapsed() / 1e6;
        timer.start();
        ImgKitTiffFileSave(tif, bilevel, {}, {}, 4);
        save += timer.nsecsElapsed() / 1e6;
    }
    const double n = std::max<qsizetype>(1, paths.size());
    std::printf("G4 TIFF full size: load %.1f + to 1 bit %.1f + save %.1f = %.1f ms/picture\n", load / n,
                mono / n, save / n, (load + mono + save) / n);
    return 0;
}
