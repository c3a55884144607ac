// Laying a decorative frame picture over a photo: the pure white of the frame
// is its window, through which the photo shows.
#pragma once

#include "imgkit/DibHandle.h"

#include <QImage>
#include <QString>

// Builds into `bitmap` the frame's transparency mask, of the frame's size:
// black where the frame is pure white, white elsewhere. 0 on success, 1 when
// the frame file cannot be loaded.
int MakeFrameMask(const QString& frameFile, QImage& bitmap);

// A new 24-bit picture of the photo seen through the frame, which is scaled
// to the photo's size; empty when the frame (a Windows bitmap file) or the
// photo cannot be used. The photo is first reduced to 256 colours, as the
// frame's mask is. The system clipboard is not used.
imgkit::DibHandle OverlayFrame(const imgkit::DibHandle& image, const QString& frameFile);
