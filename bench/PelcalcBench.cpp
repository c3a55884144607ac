// PcImageSize on the corpus pictures, and the machine's memory bandwidth as
// the physical limit. The work runs on pelcalc's worker threads, so times are
// wall-clock (UseRealTime); PELCALC_THREADS=1 measures one core.
// The corpus folder comes from PELCALC_CORPUS (default /tmp/corpus).
#include "PpmPicture.h"

#include <Pelcalc.h>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <ctime>

namespace {

struct FreeBlock {
    void operator()(void* block) const { std::free(block); }
};
using Block = std::unique_ptr<void, FreeBlock>;

const void* corpusPicture(const char* name)
{
    static std::string folder = [] {
        const char* set = std::getenv("PELCALC_CORPUS");
        return std::string(set ? set : "/tmp/corpus");
    }();
    static Block big(loadPpmAsDib(folder + "/resample/big_6000x4000.ppm"));
    static Block small(loadPpmAsDib(folder + "/resample/small_1000x750.ppm"));
    return std::strcmp(name, "big") == 0 ? big.get() : small.get();
}

// CPU time of all the process's threads: the workers' time even while the
// machine's other users take turns on the cores.
double processCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec + now.tv_nsec * 1e-9;
}

void resize(benchmark::State& state, const char* picture, int width, int height, int mode)
{
    const void* source = corpusPicture(picture);
    if (source == nullptr) {
        state.SkipWithError("corpus picture missing (run make_corpus.sh, set PELCALC_CORPUS)");
        return;
    }
    const double cpuStart = processCpuSeconds();
    for (auto _ : state) {
        Block out(PcImageSize(source, nullptr, nullptr, width, height, mode));
        if (!out) {
            state.SkipWithError("PcImageSize returned 0");
            return;
        }
        benchmark::DoNotOptimize(out.get());
    }
    state.counters["cpu_ms"] = benchmark::Counter(
        (processCpuSeconds() - cpuStart) * 1000.0 / static_cast<double>(state.iterations()));
}

// 72 MB: the size of the 6000 x 4000 source.
constexpr std::size_t kBandwidthBytes = 6000ull * 4000 * 3;

void memoryRead(benchmark::State& state)
{
    std::unique_ptr<std::uint64_t[]> buffer(new std::uint64_t[kBandwidthBytes / 8]);
    std::memset(buffer.get(), 1, kBandwidthBytes);
    for (auto _ : state) {
        std::uint64_t a = 0, b = 0, c = 0, d = 0;
        for (std::size_t i = 0; i < kBandwidthBytes / 8; i += 4) {
            a += buffer[i];
            b += buffer[i + 1];
            c += buffer[i + 2];
            d += buffer[i + 3];
        }
        benchmark::DoNotOptimize(a + b + c + d);
    }
    state.SetBytesProcessed(state.iterations() * kBandwidthBytes);
}

void memoryCopy(benchmark::State& state)
{
    std::unique_ptr<char[]> from(new char[kBandwidthBytes]);
    std::unique_ptr<char[]> to(new char[kBandwidthBytes]);
    std::memset(from.get(), 1, kBandwidthBytes);
    std::memset(to.get(), 2, kBandwidthBytes);
    for (auto _ : state) {
        std::memcpy(to.get(), from.get(), kBandwidthBytes);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kBandwidthBytes);
}

}  // namespace

BENCHMARK_CAPTURE(resize, area_6000x4000_to_1500x1000, "big", 1500, 1000, 1)
    ->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(resize, area_6000x4000_to_640x480, "big", 640, 480, 1)
    ->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(resize, bicubic_1000x750_to_4000x3000, "small", 4000, 3000, 1)
    ->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(resize, nearest_6000x4000_to_1500x1000, "big", 1500, 1000, 0)
    ->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(resize, nearest_1000x750_to_4000x3000, "small", 4000, 3000, 0)
    ->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(memoryRead)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(memoryCopy)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
