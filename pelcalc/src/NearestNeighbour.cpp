// Nearest neighbour (operations 10 and 20): target index i takes source index
// Trunc(i * (srcN - 1) / (dstN - 1) + 0.5), rows counted in stored order.
// A target of one column or row has no such ratio; it takes the source's
// middle column or row, Trunc((srcN - 1) / 2 + 0.5).
#include "pelcalc/src/Resampler.h"

#include <cstring>
#include <vector>

namespace pelcalc {

namespace {

std::vector<int> nearestIndices(int sourceCount, int targetCount)
{
    std::vector<int> indices(targetCount);
    for (int i = 0; i < targetCount; ++i) {
        const double position = targetCount > 1
                                    ? static_cast<double>(static_cast<std::int64_t>(i) * (sourceCount - 1)) /
                                          static_cast<double>(targetCount - 1)
                                    : (sourceCount - 1) / 2.0;
        indices[i] = static_cast<int>(position + 0.5);
    }
    return indices;
}

class Nearest final : public Resampler {
public:
    Nearest(const Picture& source, const Picture& target)
        : m_source(source), m_target(target), m_rows(nearestIndices(source.height, target.height)),
          m_columns(nearestIndices(source.width, target.width))
    {
        for (int& column : m_columns)
            column *= 3;
    }

    bool run(int firstRow, int endRow, RowSink& sink) const override
    {
        for (int r = firstRow; r < endRow; ++r) {
            const std::uint8_t* from = m_source.row(m_rows[r]);
            std::uint8_t* to = m_target.row(r);
            for (int offset : m_columns) {
                std::memcpy(to, from + offset, 3);
                to += 3;
            }
            if (!sink.rowFinished())
                return false;
        }
        return true;
    }

private:
    Picture m_source;
    Picture m_target;
    std::vector<int> m_rows;
    std::vector<int> m_columns;
};

}  // namespace

std::unique_ptr<Resampler> makeNearest(const Picture& source, const Picture& target)
{
    return std::make_unique<Nearest>(source, target);
}

}  // namespace pelcalc
