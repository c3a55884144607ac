// The imaging library's drawing side: pictures onto Qt paint devices and
// printers, and from the clipboard. Needs Qt Gui.
#pragma once

#include "imgkit/DibHandle.h"

class QImage;
class QObject;
class QPaintDevice;
class QPainter;

// Rectangle in tenths of a millimetre from the printable area's origin.
struct ImgKitRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// Draws the picture stretched to width x height at the origin. Mode 0 plain
// stretching; -1 (thumbnail sheet cells) smooth filtering. Non-zero on success.
int ImgKitDisplayHdc(QPainter& dc, const imgkit::DibHandle& dib, int width, int height, int mode);
int ImgKitDisplayHdc(QPaintDevice* dc, const imgkit::DibHandle& dib, int width, int height, int mode);
// Draws the picture at its natural size with its top left corner at (x, y).
int ImgKitDisplayHdcXY(QPainter& dc, const imgkit::DibHandle& dib, int x, int y);
int ImgKitDisplayHdcXY(QPaintDevice* dc, const imgkit::DibHandle& dib, int x, int y);

// The clipboard's picture as a 24-bit DibHandle (transparency over white);
// 0 when the clipboard holds none. `window` is the asking window (unused).
imgkit::DibHandle ImgKitGetFromClipBrd(QObject* window);

// Chosen once per print job: 1 draws printed pictures with smooth filtering,
// 0 with plain stretching. Returns 1, or 0 for an unknown mode.
int IK5SetDeviceMode(int mode);
// Prints the picture stretched into `rect` (tenths of a millimetre, from the
// printable origin) on the painter's printer. Non-zero on success; 0 for no
// picture, an empty rectangle or a painter that is not printing.
int IK5ImageOut(QPainter& printer, const imgkit::DibHandle& dib, const ImgKitRect& rect, int reserved);

namespace imgkit {

// The picture as a QImage of the same colours (a copy).
QImage toQImage(const DibHandle& dib);
// A 24-bit picture of an image; transparency is laid over white.
DibHandle fromQImage(const QImage& image);

}  // namespace imgkit
