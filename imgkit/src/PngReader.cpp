// PNG through libpng. Every colour type and depth is expanded to 8 bits a
// sample, 16-bit samples scaled straight (v × 255 / 65535, no gamma
// correction), and transparency is laid over white in the file's own values,
// as the TIFF reader and other decoders do. Grey pictures without
// transparency stay 8-bit grey; an embedded ICC profile is honoured.
#include "imgkit/src/ColourProfile.h"
#include "imgkit/src/Limits.h"
#include "imgkit/src/LoadOptions.h"
#include "imgkit/src/PixelAccess.h"
#include "imgkit/src/Readers.h"

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <vector>

namespace imgkit {
namespace {

struct Source {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t pos;
};

void readFromMemory(png_structp png, png_bytep out, png_size_t n)
{
    Source& s = *static_cast<Source*>(png_get_io_ptr(png));
    if (n > s.size - s.pos)
        png_error(png, "read past the end");
    std::memcpy(out, s.data + s.pos, n);
    s.pos += n;
}

void onError(png_structp png, png_const_charp) { png_longjmp(png, 1); }

void onWarning(png_structp, png_const_charp) {}

// What the decoding step hands back; it lives in the caller so that a
// decoding error cannot leak it.
struct Decoded {
    DibHandle dib;
    std::vector<std::uint8_t> rgba;  // pictures with transparency
    std::vector<png_bytep> rows;
    std::vector<std::uint8_t> icc;
};

// Laying one blue-green-red-alpha pixel row over white.
void blendOverWhite(const std::uint8_t* bgra, std::uint8_t* bgr, int width)
{
    for (int x = 0; x < width; ++x) {
        const unsigned a = bgra[4 * x + 3];
        for (int c = 0; c < 3; ++c)
            bgr[3 * x + c] = std::uint8_t((bgra[4 * x + c] * a + 255u * (255u - a) + 127u) / 255u);
    }
}

// Plain C data only between setjmp and the libpng calls that may jump.
bool decode(png_structp png, png_infop info, Source& source, Decoded& out)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_read_fn(png, &source, readFromMemory);
    png_set_user_limits(png, kMaxSide, kMaxSide);
    png_read_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    if (!sizeAllowed(width, height))
        return false;
    const int colourType = png_get_color_type(png, info);
    const bool transparent =
        (colourType & PNG_COLOR_MASK_ALPHA) != 0 || png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    const bool grey = colourType == PNG_COLOR_TYPE_GRAY && !transparent;
    png_set_expand(png);
    png_set_scale_16(png);
    if (!grey) {
        png_set_gray_to_rgb(png);
        png_set_bgr(png);
    }
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    const std::size_t channels = grey ? 1 : transparent ? 4 : 3;
    if (png_get_rowbytes(png, info) != channels * width || png_get_bit_depth(png, info) != 8)
        return false;

    png_charp name = nullptr;
    int compression = 0;
    png_bytep profile = nullptr;
    png_uint_32 profileSize = 0;
    if (png_get_iCCP(png, info, &name, &compression, &profile, &profileSize) && profile)
        out.icc.assign(profile, profile + profileSize);

    out.dib = DibHandle::create(int(width), int(height), grey ? 8 : 24);
    if (!out.dib)
        return false;
    if (grey)
        setGreyPalette(out.dib);
    out.rows.resize(height);
    if (!transparent) {
        for (png_uint_32 y = 0; y < height; ++y)
            out.rows[y] = out.dib.row(int(y));
        png_read_image(png, out.rows.data());
        return true;
    }
    // An interlaced picture needs all its rows at once; others go row by row.
    const std::size_t lineBytes = channels * width;
    out.rgba.resize(lineBytes * (passes > 1 ? height : 1));
    for (png_uint_32 y = 0; y < height; ++y)
        out.rows[y] = out.rgba.data() + (passes > 1 ? y * lineBytes : 0);
    if (passes > 1) {
        png_read_image(png, out.rows.data());
        for (png_uint_32 y = 0; y < height; ++y)
            blendOverWhite(out.rows[y], out.dib.row(int(y)), int(width));
        return true;
    }
    for (png_uint_32 y = 0; y < height; ++y) {
        png_read_row(png, out.rgba.data(), nullptr);
        blendOverWhite(out.rgba.data(), out.dib.row(int(y)), int(width));
    }
    return true;
}

}  // namespace

DibHandle readPng(const std::uint8_t* data, std::size_t size)
{
    if (size < 8 || png_sig_cmp(data, 0, 8) != 0)
        return {};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, onError, onWarning);
    if (!png)
        return {};
    png_infop info = png_create_info_struct(png);
    Source source{data, size, 0};
    Decoded out;
    const bool ok = info && decode(png, info, source, out);
    png_destroy_read_struct(&png, &info, nullptr);
    if (!ok)
        return {};
    if (colourProfilesOnLoad() && out.dib.bitCount() == 24)
        convertToSrgb(out.dib, out.icc.data(), out.icc.size());
    return std::move(out.dib);
}

}  // namespace imgkit
