// The imaging library: decoding, converting, resampling, adjusting and saving
// pictures held in DibHandles. No function here needs a display.
//
// Common rules:
// - 0 (an empty DibHandle, or the int 0) is failure; a returned DibHandle is
//   a new picture owned by the caller.
// - `caption` and `message` are the texts of a progress box shown through the
//   prompt service while the work runs; with both empty the work is silent.
// - A DibHandle argument that does not hold a usable picture (see
//   DibHandle::isUsable) makes the call fail.
#pragma once

#include "imgkit/DibHandle.h"

#include <QDateTime>
#include <QString>

#include <cstddef>
#include <cstdint>

// Width, height and colour code of a picture. Colour codes: 0 two colours,
// 1 sixteen greys, 2 sixteen colours, 3 256 greys, 4 256 colours, 5 24-bit,
// 6 16-bit, 7 32-bit.
struct ImageInfo {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int16_t colorCode = 0;
    std::uint8_t reserved[10] = {};
};
static_assert(sizeof(ImageInfo) == 20);

// File type codes of ImgKitFileType.
enum ImgKitType : std::int16_t {
    ImgKitTypeBmp = 1,
    ImgKitTypeTiff = 2,
    ImgKitTypeJpeg = 3,
    ImgKitTypePng = 4,
    ImgKitTypePcx = 5,
    ImgKitTypeFlashPix = 6,
    ImgKitTypeUnreadable = 15,
};

// How the loaders treat camera pictures, for the whole process; both on
// unless switched off. `upright`: a picture whose EXIF data (or TIFF tag)
// records the orientation it was taken in is turned to stand upright, so its
// width and height are the upright ones. `colourProfiles`: a colour picture
// with an embedded ICC profile is converted to sRGB through it, and a CMYK
// JPEG through its profile or the system's standard CMYK profile.
struct ImgKitLoadOptions {
    bool upright = true;
    bool colourProfiles = true;
};
void ImgKitSetLoadOptions(const ImgKitLoadOptions& options);
ImgKitLoadOptions ImgKitGetLoadOptions();

// Loading. Both loaders recognise the format by the file's contents, so a
// picture with the wrong extension still loads. FlashPix files are
// recognised but not decoded (0), which leaves them to the GV viewer. Only
// regular files are read: a FIFO or a device named like a picture gives 0 at
// once. A JPEG cut short gives the part that decoded, the rest grey.
imgkit::DibHandle ImgKitFileLoad(const QString& file, const QString& caption, const QString& message);
// Non-zero when the file could be examined; `code` receives an ImgKitType
// (ImgKitTypeUnreadable for contents of no known format).
int ImgKitFileType(const QString& file, std::int16_t* code);
// `cancelText` non-empty gives the progress box a cancel button; a cancelled
// load returns 0. The two integers are unused and should be 0.
imgkit::DibHandle IK5FileLoad(const QString& file, int reserved1, int reserved2, const QString& caption,
                              const QString& message, const QString& cancelText);
// Loading no larger than needed, for a caller that will make the picture
// smaller: with `fit` 1 it is to be fitted inside width x height keeping its
// proportions, with 0 resampled to exactly width x height (sizes of the
// upright picture). The result is at least that large in each direction, or
// the whole picture when that is smaller; a JPEG is decoded at the smallest
// eighth of its size that is enough, other formats load whole. `full` (may
// be null) receives the upright picture's own width, height and colour
// code. Otherwise as IK5FileLoad.
imgkit::DibHandle ImgKitFileLoadAtLeast(const QString& file, const QString& caption, const QString& message,
                                        const QString& cancelText, int width, int height, int fit,
                                        ImageInfo* full);
// A packed DIB received from another program (for example over the GV link),
// checked and brought into this library's layout.
imgkit::DibHandle ImgKitPackedDibLoad(const void* data, std::size_t size);

// The EXIF orientation (1 to 8) a JPEG, PNG, WebP or TIFF file records; 1
// when it records none or cannot be read.
int ImgKitFileOrientation(const QString& file);
// The date and time a picture file records as its shooting time (EXIF
// DateTimeOriginal, else DateTime), as local time; invalid when none.
QDateTime ImgKitFileShotDate(const QString& file);

int ImgKitImageInfo(const imgkit::DibHandle& dib, ImageInfo* info);

// Resampling to exactly width x height with a triangle filter (area
// averaging when reducing, linear interpolation when enlarging); the result
// is 24-bit.
imgkit::DibHandle ImgKitImageSize(const imgkit::DibHandle& dib, const QString& caption,
                                  const QString& message, int width, int height);

// A new picture of `bits` (1, 4, 8 or 24) bits per pixel; always a fresh
// handle, even when the depth is unchanged. Reductions to 4 or 8 bits of a
// picture with more colours: `b` 1 = an adaptive palette (median cut), 0 =
// a fixed palette; `a` 1 = nearest colours only (no dithering, so flat areas
// such as the pure white of a frame keep their exact colour), 0 = error
// diffusion. To 1 bit: black and white, dithered unless `a` is 1. Pictures
// that already fit in the target depth keep their colours exactly.
imgkit::DibHandle ImgKitConvertColor(const imgkit::DibHandle& dib, int bits, int a, int b,
                                     const QString& caption, const QString& message);
// Reduces a picture of more than 256 colours to an adaptive 256-colour
// palette with error diffusion, in place; pictures of 256 colours or fewer
// stay as they are. Non-zero on success.
int ImgKitBit24To8(imgkit::DibHandle& dib, const QString& caption, const QString& message);

imgkit::DibHandle ImgKitCopy(const imgkit::DibHandle& dib, const QString& caption, const QString& message);
// A grey copy of the same depth (palette pictures get a grey palette).
imgkit::DibHandle ImgKitSetGray(const imgkit::DibHandle& dib, const QString& caption, const QString& message);
// In place. `level` from -5.0 (black) through 0 (unchanged) to +5.0 (white);
// values beyond are treated as the limits.
int ImgKitBright(imgkit::DibHandle& dib, const QString& caption, const QString& message, double level);
// In place: adds red, green and blue (each -255 to +255) to every pixel,
// clamped to 0..255.
int ImgKitRGB(imgkit::DibHandle& dib, const QString& caption, const QString& message, int red, int green,
              int blue);

// A turned copy: direction 1 a quarter turn clockwise, 2 a half turn, 3 a
// quarter turn anticlockwise.
imgkit::DibHandle ImgKitRotation(const imgkit::DibHandle& dib, const QString& caption, const QString& message,
                                 int direction);
// A copy turned and mirrored to stand upright for an EXIF orientation of 1
// to 8 (1 and other values: an unchanged copy).
imgkit::DibHandle ImgKitOrient(const imgkit::DibHandle& dib, int orientation);
// The part from (left, top) to (right, bottom), corners included, counted
// from the top left. Corners outside the picture are moved onto its edge; a
// rectangle with no pixel inside the picture fails.
imgkit::DibHandle ImgKitRectCut(const imgkit::DibHandle& dib, const QString& caption, const QString& message,
                                int left, int top, int right, int bottom);

// Saving; non-zero on success. JPEG quality 0 (smallest) to 100 (best).
int ImgKitJpegFileSave(const QString& file, const imgkit::DibHandle& dib, const QString& caption,
                       const QString& message, int quality, int reserved);
// The same, carrying the EXIF data of `exifSource` (a JPEG, PNG or WebP
// file) into the new file: dates, camera and settings kept, orientation set
// to 1 since the pixels are stored upright, the source's thumbnail left out,
// and the GPS position only when `keepGps`. A source without EXIF data
// gives a file without it.
int ImgKitJpegFileSaveExif(const QString& file, const imgkit::DibHandle& dib, const QString& caption,
                           const QString& message, int quality, const QString& exifSource, bool keepGps);
// Compression 0 none, 1 CCITT run length, 2 Group 3 1-D, 3 Group 3 2-D,
// 4 Group 4, 5 PackBits. The CCITT schemes need a 2-colour picture.
int ImgKitTiffFileSave(const QString& file, const imgkit::DibHandle& dib, const QString& caption,
                       const QString& message, int compression);
// `rle` 1 writes 16- and 256-colour pictures run-length coded (RLE4, RLE8);
// other depths are always written uncompressed.
int ImgKitBmpFileSave(const QString& file, const imgkit::DibHandle& dib, const QString& caption,
                      const QString& message, int rle);
