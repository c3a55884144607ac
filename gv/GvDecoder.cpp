#include "gv/GvDecoder.h"

#include <Magick++.h>

#include <QFile>
#include <QFileInfo>

#include <cstring>
#include <sys/stat.h>

namespace gv {
namespace {

// Raster formats GV opens, known by their first bytes. Scripted or vector
// formats (SVG, MVG, MSL, TXT and the like) could read other files or run for
// ever, so they never reach GraphicsMagick.
struct Signature {
    int offset;
    const char* bytes;
    int length;
    const char* format;
};
const Signature kSignatures[] = {
    {0, "GIF87a", 6, "GIF"},
    {0, "GIF89a", 6, "GIF"},
    {0, "\x89PNG\r\n\x1a\n", 8, "PNG"},
    {0, "\xff\xd8\xff", 3, "JPEG"},
    {8, "WEBP", 4, "WEBP"},
    {0, "II*\0", 4, "TIFF"},
    {0, "MM\0*", 4, "TIFF"},
    {0, "BM", 2, "BMP"},
    {4, "ftypheic", 8, "HEIC"},
    {4, "ftypheix", 8, "HEIC"},
    {4, "ftyphevc", 8, "HEIC"},
    {4, "ftypmif1", 8, "HEIF"},
    {4, "ftypmsf1", 8, "HEIF"},
    {4, "ftypavif", 8, "AVIF"},
    {4, "ftypavis", 8, "AVIF"},
    {0, "\xff\x0a", 2, "JXL"},
    {0, "\0\0\0\x0cJXL \r\n\x87\n", 12, "JXL"},
    {0, "/* XPM */", 9, "XPM"},
    {0, "#define", 7, "XBM"},
    {0, "\xb1\x68\xde\x3a", 4, "DCX"},
    {0, "\x59\xa6\x6a\x95", 4, "SUN"},
    {0, "\x01\xda", 2, "SGI"},
    {0, "SDPX", 4, "DPX"},
    {0, "XPDS", 4, "DPX"},
    {0, "\x80\x2a\x5f\xd7", 4, "CIN"},
    {0, "SIMPLE  =", 9, "FITS"},
};
// Formats without a signature, known by the extension.
const char* const kUnsignedExtensions[][2] = {
    {"TGA", "TGA"},   {"ICO", "ICO"},   {"CUR", "ICO"},  {"PCX", "PCX"},
    {"WBMP", "WBMP"}, {"PICT", "PICT"}, {"PCT", "PICT"},
};

// Larger files and pictures are refused before they are decoded.
constexpr qint64 kMaxFileBytes = qint64(1) << 30;
constexpr unsigned long kMaxSide = 32767;
constexpr double kMaxPixels = 200e6;

// The coder for these bytes: by their signature, else by the extension.
std::string formatOf(const QByteArray& bytes, const QString& path)
{
    for (const Signature& sig : kSignatures)
        if (bytes.size() >= sig.offset + sig.length &&
            std::memcmp(bytes.constData() + sig.offset, sig.bytes, std::size_t(sig.length)) == 0)
            return sig.format;
    // Portable anymaps: "P1" to "P7" and white space.
    if (bytes.size() >= 3 && bytes[0] == 'P' && bytes[1] >= '1' && bytes[1] <= '7' &&
        QChar::fromLatin1(bytes[2]).isSpace())
        return "PNM";
    const QByteArray extension = QFileInfo(path).suffix().toUpper().toLatin1();
    for (const auto& [ext, format] : kUnsignedExtensions)
        if (extension == ext)
            return format;
    return {};
}

platform::DdeBlock toDib(Magick::Image& image)
{
    const unsigned long width = image.columns(), height = image.rows();
    if (width == 0 || height == 0 || width > kMaxSide || height > kMaxSide ||
        double(width) * height > kMaxPixels)
        return {};
    if (image.colorSpace() != Magick::RGBColorspace)
        image.colorSpace(Magick::RGBColorspace);
    if (image.matte()) {
        Magick::Image white(Magick::Geometry(width, height), Magick::Color("white"));
        white.composite(image, 0, 0, Magick::OverCompositeOp);
        image = white;
    }
    const std::size_t stride = (width * 3 + 3) / 4 * 4;
    platform::DdeBlock dib = platform::DdeBlock::allocate(40 + stride * height);
    if (!dib)
        return {};
    auto* bytes = static_cast<unsigned char*>(dib.data());
    const std::uint32_t header[10] = {40,
                                      std::uint32_t(width),
                                      std::uint32_t(height),
                                      1u | (24u << 16),
                                      0,
                                      std::uint32_t(stride * height),
                                      3780,
                                      3780,
                                      0,
                                      0};
    std::memcpy(bytes, header, 40);
    unsigned char* bits = bytes + 40;
    for (unsigned long y = 0; y < height; ++y) {
        unsigned char* row = bits + (height - 1 - y) * stride;
        image.write(0, int(y), width, 1, "BGR", Magick::CharPixel, row);
        std::memset(row + width * 3, 0, stride - width * 3);
    }
    return dib;
}

}  // namespace

void initializeDecoder(const char* argv0)
{
    Magick::InitializeMagick(argv0);
    MagickLib::SetMagickResourceLimit(MagickLib::WidthResource, kMaxSide);
    MagickLib::SetMagickResourceLimit(MagickLib::HeightResource, kMaxSide);
    MagickLib::SetMagickResourceLimit(MagickLib::PixelsResource,
                                      static_cast<MagickLib::magick_int64_t>(kMaxPixels));
}

platform::DdeBlock decodeToDib(const QString& path)
{
    // Only regular files: a pipe or a device could block the decoder for
    // ever and leave GV answering "WAIT" to every later file.
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode) ||
        st.st_size > kMaxFileBytes)
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    const std::string format = formatOf(bytes, path);
    if (bytes.isEmpty() || format.empty())
        return {};
    try {
        Magick::Image image;
        image.subImage(0);
        image.subRange(1);
        image.magick(format);
        try {
            image.read(Magick::Blob(bytes.constData(), std::size_t(bytes.size())));
        } catch (const Magick::Warning&) {
            // A damaged but readable picture: keep what was decoded.
        }
        if (!image.isValid())
            return {};
        return toDib(image);
    } catch (const Magick::Exception&) {
        return {};
    } catch (const std::exception&) {
        return {};
    }
}

}  // namespace gv
