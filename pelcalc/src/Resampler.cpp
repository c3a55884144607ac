#include "pelcalc/src/Resampler.h"

#include <new>

namespace pelcalc {

bool haveAvx2()
{
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}

std::unique_ptr<Resampler> makeResampler(Operation operation, const Picture& source, const Picture& target,
                                         Kernels kernels)
{
    try {
        switch (operation) {
        case Operation::NearestReduce:
        case Operation::NearestEnlarge: return makeNearest(source, target);
        case Operation::AreaAverage: return makeAreaAverage(source, target, kernels);
        case Operation::Bicubic: return makeBicubic(source, target, kernels);
        }
    } catch (const std::bad_alloc&) {}
    return nullptr;
}

}  // namespace pelcalc
