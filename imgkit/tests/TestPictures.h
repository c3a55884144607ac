// Pictures, files and outside tools shared by imgkit's tests.
#pragma once

#include "imgkit/DibHandle.h"

#include <QString>

#include <cstdint>
#include <string>
#include <vector>

namespace imgkit::test {

// A smooth, photograph-like 24-bit picture with every channel varying.
DibHandle photo24(int width, int height);
// A palette picture whose entries are distinct colours and whose pixels use
// every entry.
DibHandle indexed(int width, int height, int bits);

// Blue, green, red bytes of every pixel, rows from the top.
std::vector<std::uint8_t> bgrPixels(const DibHandle& dib);
// Mean absolute difference per channel of two pictures of one size.
double meanError(const DibHandle& a, const DibHandle& b);

// A path in a folder removed when the test program ends.
QString tempPath(const QString& name);
std::vector<std::uint8_t> readBytes(const QString& path);
void writeBytes(const QString& path, const std::vector<std::uint8_t>& bytes);

// Runs a shell command; returns its standard output, `status` its exit code.
std::string run(const std::string& command, int* status = nullptr);
// The pixels of a picture file as GraphicsMagick decodes it (flattened on
// white), as a 24-bit DibHandle; empty when gm cannot read it.
DibHandle decodeWithGm(const QString& path);
// The same through ImageMagick, with `options` (such as "-auto-orient" or
// "-profile x.icc") applied before flattening.
DibHandle decodeWithIm(const QString& path, const std::string& options = {});

}  // namespace imgkit::test
