// Camera data (EXIF) of JPEG, PNG, WebP and TIFF files: the orientation the
// picture was taken in, its shooting date, and the block itself, so that a
// JPEG written from the picture can carry it on. Every offset in the block
// is checked against its size; a damaged block reads as "nothing recorded".
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace imgkit {

struct ExifBlock {
    const std::uint8_t* data = nullptr;  // TIFF-structured: "II*\0" or "MM\0*" first
    std::size_t size = 0;
    bool wholeFile = false;  // a TIFF file, whose tags are the file's own

    bool empty() const { return size == 0; }
};

// The EXIF block of a JPEG (APP1 "Exif"), PNG (eXIf), WebP (EXIF) or TIFF
// file held in memory; empty when the file records none.
ExifBlock findExif(const std::uint8_t* data, std::size_t size);

struct ExifData {
    int orientation = 1;  // 1 to 8; 1 (as stored) when absent or out of range
    // "YYYY:MM:DD HH:MM:SS" of DateTimeOriginal, else of DateTime; empty
    // when neither holds a plausible date.
    std::string dateTime;
};

ExifData parseExif(const ExifBlock& block);

// A copy of the block for a JPEG whose pixels are already upright:
// orientation 1, the source's thumbnail unlinked (it shows the source, not
// the copy), and with `keepGps` false the GPS data removed and blanked. Empty
// for a whole TIFF file or a block that cannot be parsed.
std::vector<std::uint8_t> exifForUprightCopy(const ExifBlock& block, bool keepGps);

}  // namespace imgkit
