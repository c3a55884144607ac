// PNG through libpng's simplified reader: palette, grey and 16-bit pictures
// are expanded, and transparency is laid over white. Grey pictures without
// transparency stay 8-bit grey.
#include "Limits.h"
#include "PixelAccess.h"
#include "Readers.h"

#include <png.h>

namespace imgkit {

DibHandle readPng(const std::uint8_t* data, std::size_t size)
{
    if (size < 8 || png_sig_cmp(data, 0, 8) != 0)
        return {};
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, data, size))
        return {};
    if (!sizeAllowed(image.width, image.height)) {
        png_image_free(&image);
        return {};
    }
    const bool grey = (image.format & PNG_FORMAT_FLAG_COLOR) == 0
        && (image.format & PNG_FORMAT_FLAG_ALPHA) == 0;
    image.format = grey ? PNG_FORMAT_GRAY : PNG_FORMAT_BGR;
    DibHandle dib = DibHandle::create(int(image.width), int(image.height), grey ? 8 : 24);
    if (!dib) {
        png_image_free(&image);
        return {};
    }
    if (grey)
        setGreyPalette(dib);
    const png_color white{255, 255, 255};
    // A negative stride asks libpng for bottom-up rows starting at the buffer.
    const png_int_32 stride = -static_cast<png_int_32>(dib.stride());
    if (!png_image_finish_read(&image, &white, dib.bits(), stride, nullptr)) {
        png_image_free(&image);
        return {};
    }
    return dib;
}

}  // namespace imgkit
