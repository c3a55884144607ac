// Windows bitmap files: a 14-byte file header ("BM", size, two reserved
// words, offset of the pixel rows) followed by a packed DIB.
#include "imgkit/src/ByteReader.h"
#include "imgkit/src/DibParser.h"
#include "imgkit/src/Readers.h"

namespace imgkit {

DibHandle readBmp(const std::uint8_t* data, std::size_t size)
{
    constexpr std::size_t kFileHeader = 14;
    if (size < kFileHeader + 12 || data[0] != 'B' || data[1] != 'M')
        return {};
    const std::uint32_t offBits = le32(data + 10);
    const std::uint32_t headerSize = le32(data + kFileHeader);
    // Writers that leave the offset at zero (or point it into the header)
    // mean "right after the colour table".
    std::optional<std::size_t> bitsOffset;
    if (offBits >= kFileHeader + headerSize)
        bitsOffset = offBits - kFileHeader;
    return parsePackedDib(data + kFileHeader, size - kFileHeader, bitsOffset);
}

}  // namespace imgkit
