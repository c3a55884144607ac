// Reads a packed DIB as other programs write it (core, info, V4 and V5
// headers, top-down rows, RLE4/RLE8, bit fields) into the library's own
// layout. Everything is checked against the buffer and the size limits first;
// a malformed bitmap gives an empty handle.
#pragma once

#include "imgkit/DibHandle.h"

#include <cstddef>
#include <cstdint>
#include <optional>

namespace imgkit {

// `bitsOffset` is where the pixel rows start, counted from `data` (a BMP
// file's bfOffBits less the 14-byte file header); without it the rows follow
// the colour table.
DibHandle parsePackedDib(const std::uint8_t* data, std::size_t size,
                         std::optional<std::size_t> bitsOffset = std::nullopt);

// Expands RLE8 (bitCount 8) or RLE4 (bitCount 4) data into the rows of `dib`,
// which is zero-filled and bottom-up. False for data that runs past a row or
// past the picture, or that ends before the picture is complete.
bool decodeBmpRle(const std::uint8_t* data, std::size_t size, DibHandle& dib);

}  // namespace imgkit
