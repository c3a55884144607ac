// Moving pictures between DibHandles and the GUI's 24-bit bitmaps (QImage in
// Format_RGB888, the program's drawing surface for cells, previews and
// frames), and drawing a picture into a thumbnail cell.
#pragma once

#include "imgkit/DibHandle.h"

#include <QImage>

inline constexpr QImage::Format kBitmapFormat = QImage::Format_RGB888;

// The bitmap as a new 24-bit picture; empty when memory runs out.
imgkit::DibHandle BitmapToDib(const QImage& bitmap);

// Makes `bitmap` a white 24-bit bitmap of the picture's size and draws the
// picture into it. False (the bitmap left empty) for no usable picture.
bool DibToBitmap(const imgkit::DibHandle& image, QImage& bitmap);

// True when the screen shows colours through a palette (256 colours or fewer).
bool ScreenHasPalette();

// Reduces a 24-bit bitmap to 256 colours (still held in 24 bits). With
// `onlyOnPaletteScreen` on, only when the screen has a palette. Bitmaps of
// another format are left alone.
void ReduceBitmapForDisplay(bool onlyOnPaletteScreen, QImage& bitmap);

// The size of a width x height picture scaled by the smaller of the two
// ratios box / picture, truncated; computed in whole numbers, so that the
// side that decides is exactly the box's (floating point would make 330 x 90
// / 330 come out one short). Never less than 1 x 1.
QSize ScaledToFit(int width, int height, int boxWidth, int boxHeight);

// Makes `bitmap` a white cellWidth x cellHeight cell and draws the picture
// centred in it, reduced to fit (never enlarged). Without a picture the cell
// gets the empty-cell outline. The caller's picture is left as it is.
void FitImageToBitmap(const imgkit::DibHandle& image, QImage& bitmap, int cellWidth, int cellHeight,
                      bool highQuality);
