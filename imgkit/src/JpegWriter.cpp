// ImgKitJpegFileSave through libjpeg-turbo: grey palette pictures as grey
// JPEGs, everything else as 24-bit colour, rows fed straight from the
// picture (or converted one row at a time), with the EXIF data of a source
// file carried on when asked.
#include "imgkit/ImgKit.h"

#include "imgkit/src/Exif.h"
#include "imgkit/src/FileBytes.h"
#include "imgkit/src/PixelAccess.h"
#include "imgkit/src/Progress.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

namespace imgkit {
namespace {

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

void onError(j_common_ptr cinfo) { std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1); }

// The APP1 segment's body for an EXIF block; empty when there is none or it
// is too long for one segment.
std::vector<std::uint8_t> exifSegment(const QString& source, bool keepGps)
{
    if (source.isEmpty())
        return {};
    const FileBytes bytes(source);
    if (!bytes.ok())
        return {};
    const std::vector<std::uint8_t> block = exifForUprightCopy(findExif(bytes.data(), bytes.size()), keepGps);
    constexpr std::size_t kMaxSegment = 65533;
    if (block.empty() || block.size() + 6 > kMaxSegment)
        return {};
    std::vector<std::uint8_t> segment{'E', 'x', 'i', 'f', 0, 0};
    segment.insert(segment.end(), block.begin(), block.end());
    return segment;
}

// Plain C data only between setjmp and the libjpeg calls that may jump.
bool encode(jpeg_compress_struct& cinfo, ErrorManager& err, const DibHandle& dib, int quality, bool grey,
            std::vector<std::uint8_t>& line, const std::vector<std::uint8_t>& exif, unsigned char** buffer,
            unsigned long* size, Progress& progress)
{
    if (setjmp(err.jump))
        return false;
    jpeg_mem_dest(&cinfo, buffer, size);
    cinfo.image_width = static_cast<JDIMENSION>(dib.width());
    cinfo.image_height = static_cast<JDIMENSION>(dib.height());
    cinfo.input_components = grey ? 1 : 3;
    cinfo.in_color_space = grey ? JCS_GRAYSCALE : JCS_EXT_BGR;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, std::clamp(quality, 1, 100), TRUE);
    cinfo.density_unit = 1;  // dots per inch
    cinfo.X_density = static_cast<UINT16>(std::clamp(dib.header().xPelsPerMeter * 254 / 10000, 1, 65535));
    cinfo.Y_density = static_cast<UINT16>(std::clamp(dib.header().yPelsPerMeter * 254 / 10000, 1, 65535));
    jpeg_start_compress(&cinfo, TRUE);
    if (!exif.empty())
        jpeg_write_marker(&cinfo, JPEG_APP0 + 1, exif.data(), static_cast<unsigned int>(exif.size()));
    const bool direct = dib.bitCount() == 24 || (grey && dib.bitCount() == 8 && hasGreyRamp(dib));
    while (cinfo.next_scanline < cinfo.image_height) {
        const int y = static_cast<int>(cinfo.next_scanline);
        JSAMPROW row;
        if (direct) {
            row = const_cast<JSAMPROW>(dib.row(y));
        } else if (grey) {
            for (int x = 0; x < dib.width(); ++x)
                line[x] = paletteColor(dib, readRaw(dib.row(y), x, dib.bitCount())).r;
            row = line.data();
        } else {
            readRowBgr(dib, y, line.data());
            row = line.data();
        }
        jpeg_write_scanlines(&cinfo, &row, 1);
        if ((y & 255) == 0)
            progress.update(y, dib.height());
    }
    jpeg_finish_compress(&cinfo);
    return true;
}

}  // namespace
}  // namespace imgkit

using imgkit::DibHandle;

int ImgKitJpegFileSave(const QString& file, const DibHandle& dib, const QString& caption,
                       const QString& message, int quality, int)
{
    return ImgKitJpegFileSaveExif(file, dib, caption, message, quality, {}, false);
}

int ImgKitJpegFileSaveExif(const QString& file, const DibHandle& dib, const QString& caption,
                           const QString& message, int quality, const QString& exifSource, bool keepGps)
{
    if (!dib.isUsable())
        return 0;
    const std::vector<std::uint8_t> exif = imgkit::exifSegment(exifSource, keepGps);
    imgkit::Progress progress(caption, message);
    const bool grey = dib.bitCount() <= 8 && imgkit::hasGreyPalette(dib);
    std::vector<std::uint8_t> line(static_cast<std::size_t>(dib.width()) * 3);
    jpeg_compress_struct cinfo;
    imgkit::ErrorManager err;
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = imgkit::onError;
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    const bool ok = imgkit::encode(cinfo, err, dib, quality, grey, line, exif, &buffer, &size, progress);
    jpeg_destroy_compress(&cinfo);
    const bool written = ok && imgkit::writeFileBytes(file, buffer, size);
    std::free(buffer);
    return written ? 1 : 0;
}
