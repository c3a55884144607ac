// JPEG through libjpeg-turbo. Colour pictures are decoded straight into the
// picture's bottom-up rows as blue-green-red, grey ones into an 8-bit grey
// picture; CMYK pictures go through one row of conversion.
#include "Limits.h"
#include "PixelAccess.h"
#include "Progress.h"
#include "Readers.h"

#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jpeglib.h>
#include <jerror.h>

namespace imgkit {
namespace {

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    bool truncated = false;
};

void onError(j_common_ptr cinfo)
{
    std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
}

// Corrupt-data warnings still give a usable picture; running out of data
// does not (the rest would be grey), so it counts as a failure.
void onMessage(j_common_ptr cinfo, int level)
{
    if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF)
        reinterpret_cast<ErrorManager*>(cinfo->err)->truncated = true;
}

void cmykRowToBgr(const std::uint8_t* cmyk, std::uint8_t* bgr, int width, bool inverted)
{
    for (int x = 0; x < width; ++x) {
        int c = cmyk[4 * x], m = cmyk[4 * x + 1], y = cmyk[4 * x + 2], k = cmyk[4 * x + 3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        bgr[3 * x] = std::uint8_t(y * k / 255);
        bgr[3 * x + 1] = std::uint8_t(m * k / 255);
        bgr[3 * x + 2] = std::uint8_t(c * k / 255);
    }
}

// Everything between setjmp and a possible longjmp is plain C data; `dib`
// and `cmyk` live in the caller, so a decoding error cannot leak them.
bool decode(jpeg_decompress_struct& cinfo, ErrorManager& err, const std::uint8_t* data,
            std::size_t size, DibHandle& dib, std::vector<std::uint8_t>& cmyk, Progress* progress)
{
    if (setjmp(err.jump))
        return false;
    jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
    if (jpeg_read_header(&cinfo, TRUE) != JPEG_HEADER_OK)
        return false;
    if (!sizeAllowed(cinfo.image_width, cinfo.image_height))
        return false;
    const bool grey = cinfo.jpeg_color_space == JCS_GRAYSCALE;
    const bool isCmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    cinfo.out_color_space = grey ? JCS_GRAYSCALE : isCmyk ? JCS_CMYK : JCS_EXT_BGR;
    jpeg_start_decompress(&cinfo);

    const int width = static_cast<int>(cinfo.output_width);
    const int height = static_cast<int>(cinfo.output_height);
    dib = DibHandle::create(width, height, grey ? 8 : 24);
    if (!dib)
        return false;
    if (grey)
        setGreyPalette(dib);
    if (isCmyk)
        cmyk.resize(static_cast<std::size_t>(width) * 4);

    while (cinfo.output_scanline < cinfo.output_height) {
        const int y = static_cast<int>(cinfo.output_scanline);
        if (isCmyk) {
            JSAMPROW row = cmyk.data();
            jpeg_read_scanlines(&cinfo, &row, 1);
            cmykRowToBgr(cmyk.data(), dib.row(y), width, cinfo.saw_Adobe_marker);
        } else {
            JSAMPROW rows[16];
            const int n = std::min(16, height - y);
            for (int i = 0; i < n; ++i)
                rows[i] = dib.row(y + i);
            jpeg_read_scanlines(&cinfo, rows, static_cast<JDIMENSION>(n));
        }
        if ((y & 63) == 0 && !reportProgress(progress, y, height))
            return false;
    }
    jpeg_finish_decompress(&cinfo);
    return !err.truncated;
}

}  // namespace

DibHandle readJpeg(const std::uint8_t* data, std::size_t size, Progress* progress)
{
    if (size < 4 || data[0] != 0xFF || data[1] != 0xD8)
        return {};
    jpeg_decompress_struct cinfo;
    ErrorManager err;
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = onError;
    err.pub.emit_message = onMessage;
    jpeg_create_decompress(&cinfo);
    DibHandle dib;
    std::vector<std::uint8_t> cmyk;
    const bool ok = decode(cinfo, err, data, size, dib, cmyk, progress);
    jpeg_destroy_decompress(&cinfo);
    if (!ok)
        return {};
    reportProgress(progress, 1, 1);
    return dib;
}

}  // namespace imgkit
