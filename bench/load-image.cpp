// LoadImageFile on the corpus pictures: the time from a file name to a
// DibHandle, as every print, conversion and catalogue command pays it.
//
//   [GV_PROGRAM=path/to/gv] load_image_bench FILE... [benchmark options]
//
// Each FILE is one benchmark (silent load: no progress box). With GV_PROGRAM
// set, files the imaging library cannot read go through that gv, started
// once before the first measurement, as the program's GV link does.
#include "tav/imaging/GvLinkFetcher.h"
#include "tav/imaging/ImageLoad.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QString>

#include <cstdio>
#include <string>
#include <vector>

namespace {

QString g_gvPath;
DibFetcher* g_gv = nullptr;

void loadImageFile(benchmark::State& state, const QString& file)
{
    for (auto _ : state) {
        imgkit::DibHandle dib = LoadImageFile(file, {}, {}, g_gvPath, g_gv);
        if (!dib) {
            state.SkipWithError("not loaded");
            return;
        }
        benchmark::DoNotOptimize(dib.get());
    }
}

}  // namespace

int main(int argc, char** argv)
{
    // The GV link waits in event loops: it needs an application object.
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    TgvDDE link;
    GvLinkFetcher fetcher(link);
    g_gvPath = qEnvironmentVariable("GV_PROGRAM");
    if (!g_gvPath.isEmpty()) {
        link.SetGvOptions(1, g_gvPath);
        if (!link.StartGv()) {
            std::fprintf(stderr, "gv did not start: %s\n", qPrintable(g_gvPath));
            return 2;
        }
        g_gv = &fetcher;
    }
    std::vector<QString> files;
    for (int i = 1; i < argc; ++i)
        files.push_back(QString::fromLocal8Bit(argv[i]));
    if (files.empty()) {
        std::fprintf(stderr, "usage: load_image_bench FILE... [benchmark options]\n");
        return 2;
    }
    for (const QString& file : files) {
        const std::string name = "LoadImageFile/" + QFileInfo(file).fileName().toStdString();
        benchmark::RegisterBenchmark(name.c_str(), loadImageFile, file)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    link.StopGv();
    return 0;
}
