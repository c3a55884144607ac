// Group 4 fax coding (two-dimensional, reference line white at the start of
// each strip, no end-of-line codes, EOFB at the end, first pixel in the top
// bit), the mode choices made exactly as libtiff makes them, so a strip
// comes out byte for byte as libtiff's own coder writes it, several times
// faster: the changing elements of each line are found a 64-bit word at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace imgkit {

// Appends one strip of `rows` lines of `width` pixels to `out`. Each line
// starts `stride` bytes after the previous one and holds its pixels from
// the top bit of its first byte, 1 for black; bits past `width` are ignored.
void encodeG4Strip(const std::uint8_t* lines, std::size_t stride, int width, int rows,
                   std::vector<std::uint8_t>& out);

}  // namespace imgkit
