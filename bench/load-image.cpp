// LoadImageFile on the corpus pictures: the time from a file name to a
// DibHandle, as every print, conversion and catalogue command pays it.
//
//   load_image_bench FILE... [benchmark options]
//
// Each FILE is one benchmark (silent load: no progress box, no GV).
#include "ImageLoad.h"

#include <benchmark/benchmark.h>

#include <QFileInfo>
#include <QString>

#include <cstdio>
#include <string>
#include <vector>

namespace {

void loadImageFile(benchmark::State& state, const QString& file)
{
    for (auto _ : state) {
        imgkit::DibHandle dib = LoadImageFile(file, {}, {}, {}, nullptr);
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
    benchmark::Initialize(&argc, argv);
    std::vector<QString> files;
    for (int i = 1; i < argc; ++i)
        files.push_back(QString::fromLocal8Bit(argv[i]));
    if (files.empty()) {
        std::fprintf(stderr, "usage: load_image_bench FILE... [benchmark options]\n");
        return 2;
    }
    for (const QString& file : files) {
        const std::string name = "LoadImageFile/" + QFileInfo(file).fileName().toStdString();
        benchmark::RegisterBenchmark(name.c_str(), loadImageFile, file)->Unit(benchmark::kMillisecond)->UseRealTime();
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
