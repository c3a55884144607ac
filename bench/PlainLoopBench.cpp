// The same resamplings through pelcalc's portable kernels: the plain loops
// of the written arithmetic, one value at a time, on one thread. They are
// the yardstick for what the AVX2 kernels gain on the same machine in the
// same run, however busy the machine is.
#include "bench/PpmPicture.h"

#include "pelcalc/src/Resampler.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace {

struct FreeBlock {
    void operator()(void* block) const { std::free(block); }
};
using Block = std::unique_ptr<void, FreeBlock>;

class AllRows final : public pelcalc::RowSink {
public:
    bool rowFinished() override { return true; }
};

void plainLoop(benchmark::State& state, const char* file, int width, int height, pelcalc::Operation operation)
{
    const char* set = std::getenv("PELCALC_CORPUS");
    const Block source(loadPpmAsDib(std::string(set ? set : "/tmp/corpus") + "/resample/" + file));
    const Block target(pelcalc::newPicture(width, height));
    pelcalc::Picture from, to;
    if (!source || pelcalc::checkPicture(source.get(), from) != pelcalc::PictureCheck::Ok ||
        pelcalc::checkPicture(target.get(), to) != pelcalc::PictureCheck::Ok) {
        state.SkipWithError("corpus picture missing");
        return;
    }
    for (auto _ : state) {
        const auto resampler = pelcalc::makeResampler(operation, from, to, pelcalc::Kernels::Portable);
        AllRows sink;
        resampler->run(0, height, sink);
        benchmark::ClobberMemory();
    }
}

}  // namespace

BENCHMARK_CAPTURE(plainLoop, area_6000x4000_to_1500x1000, "big_6000x4000.ppm", 1500, 1000,
                  pelcalc::Operation::AreaAverage)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(plainLoop, area_6000x4000_to_640x480, "big_6000x4000.ppm", 640, 480,
                  pelcalc::Operation::AreaAverage)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(plainLoop, bicubic_1000x750_to_4000x3000, "small_1000x750.ppm", 4000, 3000,
                  pelcalc::Operation::Bicubic)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
