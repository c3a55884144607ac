// JPEG through libjpeg-turbo. Colour pictures are decoded straight into the
// picture's bottom-up rows as blue-green-red, grey ones into an 8-bit grey
// picture; CMYK pictures go through one row of conversion. An embedded ICC
// profile is honoured, and a file cut short gives what decoded, the rest
// grey, as other viewers show it.
#include "imgkit/src/ColourProfile.h"
#include "imgkit/src/Limits.h"
#include "imgkit/src/LoadOptions.h"
#include "imgkit/src/PixelAccess.h"
#include "imgkit/src/Progress.h"
#include "imgkit/src/Readers.h"

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

namespace imgkit {
namespace {

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

void onError(j_common_ptr cinfo) { std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1); }

// Warnings (corrupt data, a premature end of the file) still leave a usable
// picture; they are not printed.
void onMessage(j_common_ptr, int) {}

// What the decoding step hands back; it lives in the caller so that a
// decoding error cannot leak it.
struct Decoded {
    DibHandle dib;
    std::vector<std::uint8_t> cmyk;
    std::unique_ptr<CmykConverter> converter;
    JOCTET* icc = nullptr;
    unsigned int iccSize = 0;
    bool rgb = false;
    ~Decoded() { std::free(icc); }
};

// After a decoding error part-way through, the rows that decoded are kept
// and the rest is grey; an error before the first row gives nothing.
bool keepDecodedRows(const jpeg_decompress_struct& cinfo, DibHandle& dib)
{
    const int decoded = static_cast<int>(cinfo.output_scanline);
    if (!dib || decoded <= 0 || decoded > dib.height())
        return false;
    for (int y = decoded; y < dib.height(); ++y)
        std::memset(dib.row(y), 128, dib.stride());
    return true;
}

// Everything between setjmp and a possible longjmp is plain C data or lives
// in the caller's `out`, so a decoding error cannot leak it.
bool decode(jpeg_decompress_struct& cinfo, ErrorManager& err, const std::uint8_t* data, std::size_t size,
            Decoded& out, Progress* progress, LoadNeed* need)
{
    if (setjmp(err.jump))
        return keepDecodedRows(cinfo, out.dib);
    jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
    const bool manageColour = colourProfilesOnLoad();
    if (manageColour)
        jpeg_save_markers(&cinfo, JPEG_APP0 + 2, 0xFFFF);
    if (jpeg_read_header(&cinfo, TRUE) != JPEG_HEADER_OK)
        return false;
    if (manageColour)
        jpeg_read_icc_profile(&cinfo, &out.icc, &out.iccSize);
    if (!sizeAllowed(cinfo.image_width, cinfo.image_height))
        return false;
    if (need) {
        need->fullWidth = static_cast<int>(cinfo.image_width);
        need->fullHeight = static_cast<int>(cinfo.image_height);
        const int w = need->quarterTurned ? need->fullHeight : need->fullWidth;
        const int h = need->quarterTurned ? need->fullWidth : need->fullHeight;
        cinfo.scale_num = static_cast<unsigned int>(eighthsNeeded(w, h, *need));
        cinfo.scale_denom = 8;
    }
    const bool grey = cinfo.jpeg_color_space == JCS_GRAYSCALE;
    const bool isCmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    cinfo.out_color_space = grey ? JCS_GRAYSCALE : isCmyk ? JCS_CMYK : JCS_EXT_BGR;
    jpeg_start_decompress(&cinfo);

    const int width = static_cast<int>(cinfo.output_width);
    const int height = static_cast<int>(cinfo.output_height);
    out.dib = DibHandle::create(width, height, grey ? 8 : 24);
    DibHandle& dib = out.dib;
    if (!dib)
        return false;
    out.rgb = !isCmyk && !grey;
    if (grey)
        setGreyPalette(dib);
    if (isCmyk) {
        out.cmyk.resize(static_cast<std::size_t>(width) * 4);
        out.converter =
            std::make_unique<CmykConverter>(out.icc, out.iccSize, cinfo.saw_Adobe_marker, manageColour);
    }

    while (cinfo.output_scanline < cinfo.output_height) {
        const int y = static_cast<int>(cinfo.output_scanline);
        if (isCmyk) {
            JSAMPROW row = out.cmyk.data();
            jpeg_read_scanlines(&cinfo, &row, 1);
            out.converter->convert(out.cmyk.data(), dib.row(y), width);
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
    return true;
}

}  // namespace

int eighthsNeeded(int width, int height, const LoadNeed& need)
{
    if (width <= 0 || height <= 0 || need.width <= 0 || need.height <= 0)
        return 8;
    double wantW = need.width;
    double wantH = need.height;
    if (need.fit) {
        const double r = std::min(double(need.width) / width, double(need.height) / height);
        wantW = width * r;
        wantH = height * r;
    }
    // A hair of slack so that an exact fit computed in floating point is not rounded up a pixel.
    const std::int64_t needW = static_cast<std::int64_t>(std::ceil(wantW - 1e-6));
    const std::int64_t needH = static_cast<std::int64_t>(std::ceil(wantH - 1e-6));
    for (int m = 1; m < 8; ++m)
        if ((std::int64_t(width) * m + 7) / 8 >= needW && (std::int64_t(height) * m + 7) / 8 >= needH)
            return m;
    return 8;
}

DibHandle readJpeg(const std::uint8_t* data, std::size_t size, Progress* progress, LoadNeed* need)
{
    if (size < 4 || data[0] != 0xFF || data[1] != 0xD8)
        return {};
    jpeg_decompress_struct cinfo;
    ErrorManager err;
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = onError;
    err.pub.emit_message = onMessage;
    jpeg_create_decompress(&cinfo);
    Decoded out;
    const bool ok = decode(cinfo, err, data, size, out, progress, need);
    jpeg_destroy_decompress(&cinfo);
    if (!ok)
        return {};
    if (out.rgb && colourProfilesOnLoad())
        convertToSrgb(out.dib, out.icc, out.iccSize);
    reportProgress(progress, 1, 1);
    return std::move(out.dib);
}

}  // namespace imgkit
