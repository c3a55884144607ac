// Feeds arbitrary bytes to the EXIF reader as a file of any format and as a
// bare block: finding, parsing and copying must stay inside the buffer.
#include "imgkit/src/Exif.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const imgkit::ExifBlock blocks[] = {imgkit::findExif(data, size), imgkit::ExifBlock{data, size, false}};
    for (const imgkit::ExifBlock& block : blocks) {
        const imgkit::ExifData exif = imgkit::parseExif(block);
        if (exif.orientation < 1 || exif.orientation > 8)
            __builtin_trap();
        for (bool keepGps : {true, false}) {
            const std::vector<std::uint8_t> copy = imgkit::exifForUprightCopy(block, keepGps);
            if (!copy.empty() && imgkit::parseExif({copy.data(), copy.size(), false}).orientation != 1)
                __builtin_trap();
        }
    }
    return 0;
}
