#include "setup/engine/LzExpand.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    (void)setup::lzExpand(bytes, 1 << 20);
    return 0;
}
