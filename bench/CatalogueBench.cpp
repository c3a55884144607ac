// How long the thumbnail view of a folder of pictures takes to build: cold
// (every picture decoded), saving the catalogue file, a later visit with the
// catalogue file present, and a refill from the thumbnails in memory.
// Usage: catalogue_bench FOLDER   (for example a copy of the corpus' jpeg/ folder;
// its __tavidx.dat is replaced)
#include "tav/catalog/CatalogueCache.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <cstdio>

namespace {

class SilentHost : public BatchHost {
public:
    void setBusy(bool) override {}
    void setStatus(const QString&) override {}
    void setGaugeMaximum(int) override {}
    void setGauge(int) override {}
    void processWaitingInput() override {}
};

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: catalogue_bench FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QFile::remove(QDir(folder).filePath(QString::fromLatin1(kCatalogueFileName)));
    const QStringList names = QDir(folder).entryList(QDir::Files, QDir::Name);
    SilentHost host;
    const ThumbnailMaker make = [](const QString& path) { return makeThumbnail(path, {}); };
    const CatalogueCache::ItemSink ignore = [](const QString&, const QImage&) {};

    QElapsedTimer clock;
    CatalogueCache first;
    clock.start();
    first.fill(host, folder, names, make, ignore);
    const qint64 cold = clock.restart();
    first.save(folder);
    const qint64 save = clock.restart();
    CatalogueCache second;
    second.fill(host, folder, names, make, ignore);
    const qint64 withFile = clock.restart();
    second.fill(host, folder, names, make, ignore);
    const qint64 fromMemory = clock.elapsed();
    std::printf("%d files: cold %lld ms, save %lld ms, with catalogue file %lld ms, from memory %lld ms\n",
                int(names.size()), cold, save, withFile, fromMemory);
    return 0;
}
