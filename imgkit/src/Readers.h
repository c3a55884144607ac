// The decoders, each from a whole file held in memory. Every one checks its
// input against the buffer and the size limits and returns an empty handle
// for anything it cannot decode safely.
#pragma once

#include "imgkit/DibHandle.h"

#include <cstddef>
#include <cstdint>

namespace imgkit {

class Progress;

// What a caller will make of a picture, so that a decoder able to decode
// smaller (JPEG, by eighths) decodes no more than needed. With `fit` the
// picture is to be fitted inside width x height keeping its proportions;
// without, resampled to exactly width x height. `quarterTurned`: the stored
// picture lies on its side and is stood upright after decoding, so its
// stored width meets the requested height. The decoder fills in the
// stored picture's own size.
struct LoadNeed {
    int width = 0;
    int height = 0;
    bool fit = true;
    bool quarterTurned = false;
    int fullWidth = 0;
    int fullHeight = 0;
};

// The smallest M of 1 to 8 such that a picture of width x height decoded at
// M/8 (each side rounded up) is at least as large as `need` asks; 8 when
// nothing smaller will do. `width` and `height` are the upright sizes.
int eighthsNeeded(int width, int height, const LoadNeed& need);

DibHandle readBmp(const std::uint8_t* data, std::size_t size);
DibHandle readPcx(const std::uint8_t* data, std::size_t size);
// JPEG rows go straight into the picture; `progress` may cancel the load.
// With `need`, decodes at the smallest scale that serves it.
DibHandle readJpeg(const std::uint8_t* data, std::size_t size, Progress* progress, LoadNeed* need = nullptr);
DibHandle readPng(const std::uint8_t* data, std::size_t size);
DibHandle readTiff(const std::uint8_t* data, std::size_t size, Progress* progress);

}  // namespace imgkit
