// A scratch array of doubles starting on a cache-line boundary, so that the
// 32-byte loads of the AVX2 kernels never straddle two lines.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pelcalc {

class AlignedDoubles {
public:
    explicit AlignedDoubles(std::size_t count) : m_storage(count + kLine / sizeof(double))
    {
        const auto address = reinterpret_cast<std::uintptr_t>(m_storage.data());
        const std::size_t skip = (kLine - address % kLine) % kLine / sizeof(double);
        m_data = m_storage.data() + skip;
    }
    AlignedDoubles(const AlignedDoubles&) = delete;
    AlignedDoubles& operator=(const AlignedDoubles&) = delete;

    double* data() { return m_data; }
    const double* data() const { return m_data; }
    double& operator[](std::size_t i) { return m_data[i]; }

private:
    static constexpr std::size_t kLine = 64;
    std::vector<double> m_storage;
    double* m_data = nullptr;
};

}  // namespace pelcalc
