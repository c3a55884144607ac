#include "platform/DdeBlock.h"

#include <sys/mman.h>

namespace platform {

DdeBlock DdeBlock::allocate(std::size_t size)
{
    constexpr std::size_t kHugePage = std::size_t{2} << 20;
    DdeBlock b;
    if (size >= 2 * kHugePage) {
        if (posix_memalign(&b.m_data, kHugePage, size) != 0)
            b.m_data = nullptr;
        else
            madvise(b.m_data, size, MADV_HUGEPAGE);
    } else {
        b.m_data = std::malloc(size ? size : 1);
    }
    b.m_size = b.m_data ? size : 0;
    return b;
}

}  // namespace platform
