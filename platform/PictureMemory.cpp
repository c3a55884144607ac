#include "platform/PictureMemory.h"

#include <malloc.h>

namespace platform {

void tuneAllocatorForPictures()
{
    constexpr int kMb = 1024 * 1024;
    mallopt(M_MMAP_THRESHOLD, 128 * kMb);
    mallopt(M_TRIM_THRESHOLD, 256 * kMb);
}

}  // namespace platform
