// The resampling operations behind PcImageSize. Each one is prepared once
// (index and weight tables for the whole target) and then computes bands of
// target rows; bands may run on several threads at once and give the same
// bytes as one pass, because every target value is computed by the same
// operations in the same order whatever the band.
#pragma once

#include "pelcalc/src/Dib.h"

#include <memory>

namespace pelcalc {

// Told after every finished target row; returns false to stop the band
// (the user cancelled).
class RowSink {
public:
    virtual bool rowFinished() = 0;

protected:
    ~RowSink() = default;
};

class Resampler {
public:
    virtual ~Resampler() = default;
    // Computes the stored target rows firstRow .. endRow - 1 in order. False
    // when the sink stopped it or its scratch memory could not be allocated.
    virtual bool run(int firstRow, int endRow, RowSink& sink) const = 0;
};

// The operation codes: mode + 10 for a reduction, mode + 20 for an enlargement.
enum class Operation { NearestReduce = 10, AreaAverage = 11, NearestEnlarge = 20, Bicubic = 21 };

// Portable = the plain loops only; Best = the AVX2 kernels where the processor
// has them (same results, checked by the tests).
enum class Kernels { Best, Portable };

// Null when the tables cannot be allocated.
std::unique_ptr<Resampler> makeResampler(Operation operation, const Picture& source, const Picture& target,
                                         Kernels kernels = Kernels::Best);

std::unique_ptr<Resampler> makeNearest(const Picture& source, const Picture& target);
std::unique_ptr<Resampler> makeAreaAverage(const Picture& source, const Picture& target, Kernels kernels);
std::unique_ptr<Resampler> makeBicubic(const Picture& source, const Picture& target, Kernels kernels);

// True when the processor runs the AVX2 kernels.
bool haveAvx2();

}  // namespace pelcalc
