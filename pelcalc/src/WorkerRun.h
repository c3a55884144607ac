// Runs a prepared resampling on worker threads while the calling thread
// keeps its events flowing and serves the progress box.
#pragma once

#include "pelcalc/src/Resampler.h"

namespace platform {
class ProgressBox;
}

namespace pelcalc {

enum class ProgressPosition {
    RowsFinished,  // the area reduction reports how many target rows are done
    LastRowIndex,  // the others report the index of the row just finished
};

// Computes target rows 0 .. rows - 1 of `width` pixels. The box (may be null) shows the
// position mapped to percent; its cancel button stops the workers between
// rows. False when cancelled (also when the box reports cancel only as the
// work ends) or when a worker failed.
bool runOnWorkers(const Resampler& resampler, int rows, int width, ProgressPosition position,
                  platform::ProgressBox* box);

// Worker threads for a target of `pixels` pixels: at most two (the machine
// class), one for small pictures, PELCALC_THREADS=n in the environment
// overrides (for measuring one core).
int workerThreadCount(long long pixels, int rows);

}  // namespace pelcalc
