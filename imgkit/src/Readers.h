// The decoders, each from a whole file held in memory. Every one checks its
// input against the buffer and the size limits and returns an empty handle
// for anything it cannot decode safely.
#pragma once

#include "DibHandle.h"

#include <cstddef>
#include <cstdint>

namespace imgkit {

class Progress;

DibHandle readBmp(const std::uint8_t* data, std::size_t size);
DibHandle readPcx(const std::uint8_t* data, std::size_t size);
// JPEG rows go straight into the picture; `progress` may cancel the load.
DibHandle readJpeg(const std::uint8_t* data, std::size_t size, Progress* progress);
DibHandle readPng(const std::uint8_t* data, std::size_t size);
DibHandle readTiff(const std::uint8_t* data, std::size_t size, Progress* progress);

}  // namespace imgkit
