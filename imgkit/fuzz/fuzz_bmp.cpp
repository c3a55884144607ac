// Feeds arbitrary bytes to the BMP reader: it must return a picture or an
// empty handle, never crash or read outside the buffer.
#include "imgkit/src/Readers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    imgkit::DibHandle dib = imgkit::readBmp(data, size);
    if (dib && dib.height() > 0)  // touch the last row so a short allocation shows
        (void)dib.row(0)[dib.stride() - 1];
    return 0;
}
