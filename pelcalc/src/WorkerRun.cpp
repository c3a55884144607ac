#include "pelcalc/src/WorkerRun.h"

#include "platform/Prompt.h"

#include <QCoreApplication>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace pelcalc {

namespace {

// Below this many target pixels a second thread costs more than it saves.
constexpr long long kPixelsPerExtraThread = 250000;
constexpr auto kEventInterval = std::chrono::milliseconds(10);

struct RunState {
    std::atomic<int> finished{0};
    std::atomic<bool> cancel{false};
    std::atomic<bool> failed{false};
    std::mutex mutex;
    std::condition_variable done;
    int running = 0;
};

class CountingSink final : public RowSink {
public:
    explicit CountingSink(RunState& state) : m_state(state) {}
    bool rowFinished() override
    {
        m_state.finished.fetch_add(1, std::memory_order_relaxed);
        return !m_state.cancel.load(std::memory_order_relaxed);
    }

private:
    RunState& m_state;
};

void runBand(const Resampler& resampler, int first, int end, RunState& state)
{
    CountingSink sink(state);
    bool ok = false;
    try {
        ok = resampler.run(first, end, sink);
    } catch (...) {
        ok = false;  // scratch memory ran out
    }
    if (!ok)
        state.failed = true;
    std::lock_guard lock(state.mutex);
    --state.running;
    state.done.notify_all();
}

// Shows the current position and forwards the cancel button to the workers.
class BoxServer {
public:
    BoxServer(platform::ProgressBox* box, int rows, ProgressPosition position)
        : m_box(box), m_rows(rows), m_position(position)
    {}

    void serve(RunState& state)
    {
        if (m_box == nullptr)
            return;
        const int finished = state.finished.load(std::memory_order_relaxed);
        const int position =
            m_position == ProgressPosition::RowsFinished ? finished : std::max(finished - 1, 0);
        const int percent = static_cast<int>(100LL * position / m_rows);
        if (percent != m_shown) {
            m_box->setPercent(percent);
            m_shown = percent;
        }
        if (m_box->cancelled())
            state.cancel = true;
    }

private:
    platform::ProgressBox* m_box;
    int m_rows;
    ProgressPosition m_position;
    int m_shown = -1;
};

}  // namespace

int workerThreadCount(long long pixels, int rows)
{
    if (const char* forced = std::getenv("PELCALC_THREADS")) {
        const int n = std::atoi(forced);
        if (n >= 1)
            return std::min(n, std::max(rows, 1));
    }
    const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    const int wanted = static_cast<int>(std::min<long long>(1 + pixels / kPixelsPerExtraThread, 2));
    return std::max(1, std::min({wanted, cores, rows}));
}

bool runOnWorkers(const Resampler& resampler, int rows, int width, ProgressPosition position,
                  platform::ProgressBox* box)
{
    RunState state;
    BoxServer server(box, rows, position);
    server.serve(state);

    const int threads = workerThreadCount(static_cast<long long>(rows) * width, rows);
    // Bands of whole multiples of four rows suit the four-row bicubic kernel.
    const int band = ((rows + threads - 1) / threads + 3) / 4 * 4;
    std::vector<std::thread> workers;
    {
        std::lock_guard lock(state.mutex);
        for (int first = 0; first < rows; first += band) {
            try {
                workers.emplace_back(runBand, std::cref(resampler), first, std::min(first + band, rows),
                                     std::ref(state));
                ++state.running;
            } catch (const std::system_error&) {
                // No thread to be had: stop the bands already started.
                state.failed = true;
                state.cancel = true;
                break;
            }
        }
    }

    // Events run at least once, so whatever the program queued before the
    // call is served even when the work is quick.
    std::unique_lock lock(state.mutex);
    do {
        lock.unlock();
        if (QCoreApplication::instance() != nullptr)
            QCoreApplication::processEvents();
        server.serve(state);
        lock.lock();
        state.done.wait_for(lock, kEventInterval, [&] { return state.running == 0; });
    } while (state.running > 0);
    lock.unlock();
    for (std::thread& worker : workers)
        worker.join();
    server.serve(state);
    return !state.failed && !state.cancel;
}

}  // namespace pelcalc
