// libtiff over memory: reading a file held in memory, or writing into a
// growing buffer that is saved in one piece. Warnings and errors stay quiet:
// failures show as return values.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include <tiffio.h>

namespace imgkit {

struct TiffMemory {
    const std::uint8_t* readData = nullptr;  // reading
    std::vector<std::uint8_t>* writeData = nullptr;  // writing
    std::size_t size = 0;
    std::size_t pos = 0;
};

// `memory` must outlive the returned handle; close it with TIFFClose.
TIFF* openTiffReader(TiffMemory& memory);
TIFF* openTiffWriter(TiffMemory& memory);

}  // namespace imgkit
