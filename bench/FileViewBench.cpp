// How long the file browser takes to list a folder of 10 000 pictures: reading
// the folder, sorting by name or by date, and filling the view (plain and
// detail mode). The goal is well under one second per listing.
#include "tav/core/ui/FileColumn.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QTabBar>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int kFiles = 10000;

const QString& folderOfPictures()
{
    static QTemporaryDir dir;
    static bool made = false;
    if (!made) {
        for (int i = 0; i < kFiles; ++i) {
            QFile f(
                dir.filePath(QStringLiteral("IMG_%1.JPG").arg(i * 7919 % kFiles, 5, 10, QLatin1Char('0'))));
            f.open(QIODevice::WriteOnly);
            f.write("x");
        }
        made = true;
    }
    static const QString path = dir.path();
    return path;
}

void listFolder(benchmark::State& state)
{
    const QString folder = folderOfPictures();
    FileColumn column;
    column.findChild<QComboBox*>(QStringLiteral("cb_sort"))
        ->setCurrentIndex(static_cast<int>(state.range(0)));
    column.findChild<QTabBar*>(QStringLiteral("TabControl1"))
        ->setCurrentIndex(static_cast<int>(state.range(1)));
    for (auto _ : state) {
        column.openFolder(folder);
        benchmark::DoNotOptimize(column.itemCount());
    }
    if (column.itemCount() != kFiles)
        state.SkipWithError("not every file was listed");
    state.SetLabel(QStringLiteral("%1 files, sort %2, %3 view")
                       .arg(column.itemCount())
                       .arg(state.range(0))
                       .arg(state.range(1) ? QStringLiteral("detail") : QStringLiteral("plain"))
                       .toStdString());
}
BENCHMARK(listFolder)->Args({0, 0})->Args({3, 0})->Args({0, 2})->Args({3, 2})->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
