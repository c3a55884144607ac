// Recognising and loading picture files: one table of formats, sniffed by
// their first bytes, serves every loading entry point.
#include "imgkit/ImgKit.h"

#include "imgkit/src/DibParser.h"
#include "imgkit/src/Exif.h"
#include "imgkit/src/FileBytes.h"
#include "imgkit/src/LoadOptions.h"
#include "imgkit/src/Orientation.h"
#include "imgkit/src/PixelAccess.h"
#include "imgkit/src/Progress.h"
#include "imgkit/src/Readers.h"

#include <cstring>

namespace imgkit {
namespace {

bool startsWith(const std::uint8_t* data, std::size_t size, const char* magic, std::size_t n)
{
    return size >= n && std::memcmp(data, magic, n) == 0;
}

ImgKitType sniff(const std::uint8_t* data, std::size_t size)
{
    if (startsWith(data, size, "BM", 2))
        return ImgKitTypeBmp;
    if (startsWith(data, size, "II*\0", 4) || startsWith(data, size, "MM\0*", 4))
        return ImgKitTypeTiff;
    if (startsWith(data, size, "\xFF\xD8\xFF", 3))
        return ImgKitTypeJpeg;
    if (startsWith(data, size, "\x89PNG\r\n\x1A\n", 8))
        return ImgKitTypePng;
    // FlashPix pictures are structured storage files.
    if (startsWith(data, size, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8))
        return ImgKitTypeFlashPix;
    // PCX has no real magic number: manufacturer 10, a known version, encoding 0 or 1.
    if (size >= 128 && data[0] == 0x0A && data[1] <= 5 && data[1] != 1 && data[2] <= 1)
        return ImgKitTypePcx;
    return ImgKitTypeUnreadable;
}

// `need` (may be null) lets a JPEG decode smaller; `full` (may be null)
// receives the upright picture's own size and colour code.
DibHandle decode(const QString& file, Progress& progress, LoadNeed* need = nullptr, ImageInfo* full = nullptr)
{
    const FileBytes bytes(file);
    if (!bytes.ok())
        return {};
    const std::uint8_t* data = bytes.data();
    const std::size_t size = bytes.size();
    const int orientation = uprightOnLoad() ? parseExif(findExif(data, size)).orientation : 1;
    if (need)
        need->quarterTurned = orientation >= 5 && orientation <= 8;
    DibHandle dib;
    bool scaled = false;
    switch (sniff(data, size)) {
    case ImgKitTypeBmp: dib = readBmp(data, size); break;
    case ImgKitTypeTiff: dib = readTiff(data, size, &progress); break;
    case ImgKitTypeJpeg:
        dib = readJpeg(data, size, &progress, need);
        scaled = need != nullptr;
        break;
    case ImgKitTypePng: dib = readPng(data, size); break;
    case ImgKitTypePcx: dib = readPcx(data, size); break;
    default: break;  // FlashPix has no decoder on this system
    }
    if (dib && !progress.update(1, 1))
        return {};  // cancelled at the last moment: the caller asked for nothing
    if (dib && orientation != 1)
        dib = orientUpright(dib, orientation);
    if (dib && full) {
        ImgKitImageInfo(dib, full);
        if (scaled) {
            full->width = need->quarterTurned ? need->fullHeight : need->fullWidth;
            full->height = need->quarterTurned ? need->fullWidth : need->fullHeight;
        }
    }
    return dib;
}

}  // namespace
}  // namespace imgkit

using imgkit::DibHandle;

void ImgKitSetLoadOptions(const ImgKitLoadOptions& options)
{
    imgkit::setLoadOptions(options.upright, options.colourProfiles);
}

ImgKitLoadOptions ImgKitGetLoadOptions() { return {imgkit::uprightOnLoad(), imgkit::colourProfilesOnLoad()}; }

DibHandle ImgKitFileLoad(const QString& file, const QString& caption, const QString& message)
{
    imgkit::Progress progress(caption, message);
    return imgkit::decode(file, progress);
}

DibHandle ImgKitFileLoadAtLeast(const QString& file, const QString& caption, const QString& message,
                                const QString& cancelText, int width, int height, int fit, ImageInfo* full)
{
    imgkit::Progress progress(caption, message, cancelText);
    imgkit::LoadNeed need;
    need.width = width;
    need.height = height;
    need.fit = fit != 0;
    return imgkit::decode(file, progress, &need, full);
}

int ImgKitFileType(const QString& file, std::int16_t* code)
{
    const imgkit::FileBytes bytes(file);
    if (!bytes.ok() || !code)
        return 0;
    *code = imgkit::sniff(bytes.data(), bytes.size());
    return 1;
}

DibHandle IK5FileLoad(const QString& file, int, int, const QString& caption, const QString& message,
                      const QString& cancelText)
{
    imgkit::Progress progress(caption, message, cancelText);
    return imgkit::decode(file, progress);
}

int ImgKitFileOrientation(const QString& file)
{
    const imgkit::FileBytes bytes(file);
    return bytes.ok() ? imgkit::parseExif(imgkit::findExif(bytes.data(), bytes.size())).orientation : 1;
}

QDateTime ImgKitFileShotDate(const QString& file)
{
    const imgkit::FileBytes bytes(file);
    if (!bytes.ok())
        return {};
    const std::string text = imgkit::parseExif(imgkit::findExif(bytes.data(), bytes.size())).dateTime;
    return QDateTime::fromString(QString::fromLatin1(text.c_str()), QStringLiteral("yyyy:MM:dd HH:mm:ss"));
}

DibHandle ImgKitPackedDibLoad(const void* data, std::size_t size)
{
    if (!data)
        return {};
    return imgkit::parsePackedDib(static_cast<const std::uint8_t*>(data), size);
}

int ImgKitImageInfo(const DibHandle& dib, ImageInfo* info)
{
    if (!info || !dib.isUsable())
        return 0;
    *info = ImageInfo{};
    info->width = dib.width();
    info->height = dib.height();
    const bool grey = imgkit::hasGreyPalette(dib);
    switch (dib.bitCount()) {
    case 1: info->colorCode = 0; break;
    case 4: info->colorCode = grey ? 1 : 2; break;
    case 8: info->colorCode = grey ? 3 : 4; break;
    case 16: info->colorCode = 6; break;
    case 24: info->colorCode = 5; break;
    default: info->colorCode = 7; break;
    }
    return 1;
}
