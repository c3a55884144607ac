// GV's decoder: any picture file GraphicsMagick reads (from an allow-list of
// raster formats) becomes a 24-bit packed DIB, alpha laid over white, the
// first frame of an animation or a multi-page file.
#pragma once

#include "platform/DdeBlock.h"

#include <QString>

namespace gv {

// Once per process, before the first decode.
void initializeDecoder(const char* argv0);

// The picture of the file as a packed DIB (40-byte header, no colour table,
// bottom-up rows of blue-green-red padded to 4 bytes); empty when the file
// cannot be read or is not an allowed format.
platform::DdeBlock decodeToDib(const QString& path);

}  // namespace gv
