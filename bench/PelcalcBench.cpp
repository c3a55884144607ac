// PcImageSize on the corpus pictures, and the machine's memory bandwidth as
// the physical limit. The work runs on pelcalc's worker threads, so times are
// wall-clock (UseRealTime); PELCALC_THREADS=1 measures one core.
// The corpus folder comes from PELCALC_CORPUS (default /tmp/corpus).
#include "bench/PpmPicture.h"

#include "pelcalc/include/Pelcalc.h"

#include <benchmark/benchmark.h>
#include <immintrin.h>
#include <vector>

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>

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
    state.counters["cpu_ms"] = benchmark::Counter((processCpuSeconds() - cpuStart) * 1000.0 /
                                                  static_cast<double>(state.iterations()));
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

// The most multiply-then-add steps one core does on four doubles at a time,
// without fused multiply-add (which would round differently): twelve
// independent sums of products of loaded values, the bicubic sum's own
// pattern with no bookkeeping. The items are vector steps.
__attribute__((target("avx2"), noinline)) double multiplyAddSteps(const double* values, long steps)
{
    __m256d sums[12];
    for (__m256d& sum : sums)
        sum = _mm256_setzero_pd();
    const __m256d weight = _mm256_set1_pd(0.999);
    for (long round = 0; round < steps / 12; ++round) {
        const double* p = values + (round & 63) * 48;
#pragma GCC unroll 12
        for (int k = 0; k < 12; ++k)
            sums[k] = _mm256_add_pd(sums[k], _mm256_mul_pd(_mm256_loadu_pd(p + 4 * k), weight));
    }
    __m256d total = sums[0];
    for (int k = 1; k < 12; ++k)
        total = _mm256_add_pd(total, sums[k]);
    alignas(32) double lanes[4];
    _mm256_store_pd(lanes, total);
    return lanes[0] + lanes[1] + lanes[2] + lanes[3];
}

void arithmeticPeak(benchmark::State& state)
{
    std::vector<double> values(64 * 48);
    for (std::size_t i = 0; i < values.size(); ++i)
        values[i] = static_cast<double>(i) * 1e-3;
    constexpr long kSteps = 120'000'000;
    for (auto _ : state)
        benchmark::DoNotOptimize(multiplyAddSteps(values.data(), kSteps));
    state.SetItemsProcessed(state.iterations() * kSteps);
}

}  // namespace

BENCHMARK_CAPTURE(resize, area_6000x4000_to_1500x1000, "big", 1500, 1000, 1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(resize, area_6000x4000_to_640x480, "big", 640, 480, 1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(resize, bicubic_1000x750_to_4000x3000, "small", 4000, 3000, 1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(resize, nearest_6000x4000_to_1500x1000, "big", 1500, 1000, 0)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(resize, nearest_1000x750_to_4000x3000, "small", 4000, 3000, 0)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(memoryRead)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(memoryCopy)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(arithmeticPeak)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
