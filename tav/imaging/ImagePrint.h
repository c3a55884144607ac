// Printing one picture into a rectangle of the page.
#pragma once

#include "imgkit/DibHandle.h"
#include "imgkit/ImgKitGui.h"

#include <QSize>
#include <optional>

class QPainter;

// Pictures printed with high quality on get at least this many of their
// pixels per inch of paper; below it they are resampled up to it first.
inline constexpr double kTargetPrintDpi = 125.0;

// The size a 24-bit picture of imageWidth x imageHeight is resampled to before
// it is printed into `rect` (tenths of a millimetre) with high quality on; an
// empty size when it already has 125 pixels per inch both ways and prints
// unchanged. The resampled size takes the rectangle's proportions.
std::optional<QSize> HighQualityPrintSize(int imageWidth, int imageHeight, const ImgKitRect& rect);

// Prints `image` stretched into `rect` (tenths of a millimetre from the
// printable origin) on `printer`; the print result, 0 for failure. With
// `highQuality` on, a 24-bit picture of too few pixels for the rectangle is
// resampled first, and the print fails when that resampling does.
int PrintImage(QPainter& printer, const imgkit::DibHandle& image, bool highQuality, const ImgKitRect& rect);
