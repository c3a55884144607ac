// Feeds arbitrary bytes to the packed-DIB parser (what other programs hand
// over), both with rows after the colour table and at an offset taken from
// the input's first two bytes.
#include "imgkit/src/DibParser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const std::size_t offset = data[0] | (data[1] << 8);
    imgkit::DibHandle a = imgkit::parsePackedDib(data + 2, size - 2);
    imgkit::DibHandle b = imgkit::parsePackedDib(data + 2, size - 2, offset);
    for (const imgkit::DibHandle* dib : {&a, &b})
        if (*dib)
            (void)dib->row(0)[dib->stride() - 1];
    return 0;
}
