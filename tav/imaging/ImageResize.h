// Resampling a picture to an exact size, through pelcalc's high-quality
// filter for 24-bit pictures when the user asked for high quality.
#pragma once

#include "imgkit/DibHandle.h"

#include <QString>

// pelcalc's high-quality resampling (mode 1) with its progress box "案内" /
// "高品位な拡大/縮小 処理中". Empty when pelcalc refuses the size (a target
// smaller in one direction and not in the other, or not taller when the width
// grows or stays), the picture is not 24-bit, or the user cancelled.
imgkit::DibHandle HighQualityResize(const imgkit::DibHandle& image, int width, int height);

// A new picture of exactly width x height, or an empty handle. With
// `highQuality` on, a 24-bit picture goes through HighQualityResize and fails
// with it (there is no fallback to the plain filter); other pictures use the
// library's own resampling with the caller's progress texts.
imgkit::DibHandle ResizeImage(const imgkit::DibHandle& image, const QString& caption, const QString& message,
                              int width, int height, bool highQuality);
