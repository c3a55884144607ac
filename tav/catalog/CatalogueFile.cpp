#include "tav/catalog/CatalogueFile.h"

#include "platform/AtomicFile.h"
#include "platform/Sjis.h"

#include <QFile>
#include <QPainter>
#include <optional>

namespace {

constexpr char kComponentSignature[] = "TPF0";
constexpr char kClassName[] = "TImageList";
constexpr quint16 kImageListMagic = 0x4C49;  // "IL"
constexpr quint16 kImageListVersion = 0x0101;
constexpr quint16 kMaskFlag = 0x0001;  // the list has a mask strip
constexpr quint16 kColour24Flag = 0x0018;
constexpr int kCellsPerRow = 4;
constexpr int kStripWidth = kThumbnailSize * kCellsPerRow;
constexpr int kMaxImages = 32764;  // the header counts in 16 bits, capacity a multiple of four
constexpr qint64 kMaxFileBytes = qint64(512) * 1024 * 1024;
constexpr int kFileHeaderBytes = 14;
constexpr int kInfoHeaderBytes = 40;

// Component stream value types.
enum ValueType : quint8 {
    vaInt8 = 2,
    vaInt16 = 3,
    vaInt32 = 4,
    vaString = 6,
    vaIdent = 7,
    vaFalse = 8,
    vaTrue = 9,
    vaBinary = 10,
    vaLString = 12,
    vaUtf8String = 20,
};

// Little-endian reads that fail, instead of reading past the end, once the
// bytes run out; after the first failure every read fails.
class ByteReader {
public:
    explicit ByteReader(const QByteArray& bytes) : m_data(bytes.constData()), m_size(bytes.size()) {}

    bool ok() const { return m_ok; }
    qint64 position() const { return m_pos; }
    qint64 remaining() const { return m_ok ? m_size - m_pos : 0; }
    const char* here() const { return m_data + m_pos; }

    bool skip(qint64 count)
    {
        if (!m_ok || count < 0 || count > m_size - m_pos)
            return m_ok = false;
        m_pos += count;
        return true;
    }
    bool seek(qint64 position)
    {
        if (!m_ok || position < 0 || position > m_size)
            return m_ok = false;
        m_pos = position;
        return true;
    }
    quint32 unsignedValue(int bytes)
    {
        quint32 value = 0;
        if (!skip(bytes))
            return 0;
        for (int i = 0; i < bytes; ++i)
            value |= quint32(quint8(m_data[m_pos - bytes + i])) << (8 * i);
        return value;
    }
    quint8 u8() { return quint8(unsignedValue(1)); }
    quint16 u16() { return quint16(unsignedValue(2)); }
    qint16 i16() { return qint16(unsignedValue(2)); }
    qint32 i32() { return qint32(unsignedValue(4)); }
    QByteArray bytes(qint64 count)
    {
        const qint64 start = m_pos;
        return skip(count) ? QByteArray(m_data + start, count) : QByteArray();
    }
    QByteArray shortString() { return bytes(u8()); }

private:
    const char* m_data;
    qint64 m_size;
    qint64 m_pos = 0;
    bool m_ok = true;
};

void putU16(QByteArray& out, quint16 v) { out.append(char(v & 0xFF)).append(char(v >> 8)); }
void putU32(QByteArray& out, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        out.append(char((v >> (8 * i)) & 0xFF));
}
void putShortString(QByteArray& out, const QByteArray& text) { out.append(char(text.size())).append(text); }

int rowStride(int width, int bitsPerPixel) { return (width * bitsPerPixel + 31) / 32 * 4; }

// The file and info headers of a bottom-up BMP of kStripWidth x height.
void putBmpHeaders(QByteArray& out, int height, int bitsPerPixel, int paletteEntries)
{
    const quint32 offset = kFileHeaderBytes + kInfoHeaderBytes + 4 * paletteEntries;
    const quint32 imageBytes = quint32(rowStride(kStripWidth, bitsPerPixel)) * quint32(height);
    out.append("BM", 2);
    putU32(out, offset + imageBytes);
    putU32(out, 0);
    putU32(out, offset);
    putU32(out, kInfoHeaderBytes);
    putU32(out, kStripWidth);
    putU32(out, quint32(height));
    putU16(out, 1);
    putU16(out, quint16(bitsPerPixel));
    putU32(out, 0);  // no compression
    putU32(out, imageBytes);
    putU32(out, 0);
    putU32(out, 0);
    putU32(out, quint32(paletteEntries));
    putU32(out, 0);
}

QImage asThumbnail(const QImage& image)
{
    if (image.size() == QSize(kThumbnailSize, kThumbnailSize) && image.format() == QImage::Format_RGB888)
        return image;
    QImage cell(kThumbnailSize, kThumbnailSize, QImage::Format_RGB888);
    cell.fill(Qt::white);
    if (!image.isNull()) {
        QPainter painter(&cell);
        painter.drawImage(0, 0, image);
    }
    return cell;
}

// The image-list stream: header, the 24-bit strip, the all-opaque mask.
QByteArray imageListStream(const QList<QImage>& thumbnails)
{
    const int count = int(thumbnails.size());
    const int capacity = std::max(kCellsPerRow, (count + kCellsPerRow - 1) / kCellsPerRow * kCellsPerRow);
    const int height = capacity / kCellsPerRow * kThumbnailSize;
    QByteArray out;
    putU16(out, kImageListMagic);
    putU16(out, kImageListVersion);
    putU16(out, quint16(count));
    putU16(out, quint16(capacity));
    putU16(out, kCellsPerRow);  // growth
    putU16(out, kThumbnailSize);
    putU16(out, kThumbnailSize);
    putU32(out, 0xFFFFFFFF);  // no background colour
    putU16(out, kMaskFlag | kColour24Flag);
    for (int i = 0; i < 4; ++i)
        putU16(out, 0xFFFF);  // no overlay images

    putBmpHeaders(out, height, 24, 0);
    const int stride = rowStride(kStripWidth, 24);
    QByteArray pixels(qsizetype(stride) * height, '\0');
    for (int i = 0; i < count; ++i) {
        const QImage cell = asThumbnail(thumbnails[i]);
        const int left = i % kCellsPerRow * kThumbnailSize;
        const int top = i / kCellsPerRow * kThumbnailSize;
        for (int y = 0; y < kThumbnailSize; ++y) {
            const uchar* from = cell.constScanLine(y);
            char* to = pixels.data() + qsizetype(height - 1 - top - y) * stride + left * 3;
            for (int x = 0; x < kThumbnailSize; ++x) {
                to[3 * x] = char(from[3 * x + 2]);
                to[3 * x + 1] = char(from[3 * x + 1]);
                to[3 * x + 2] = char(from[3 * x]);
            }
        }
    }
    out.append(pixels);

    putBmpHeaders(out, height, 1, 2);
    putU32(out, 0x00000000);
    putU32(out, 0x00FFFFFF);
    out.append(QByteArray(qsizetype(rowStride(kStripWidth, 1)) * height, '\0'));
    return out;
}

// One BMP of a strip: where its rows start, their stride and order. The
// rows are known to be inside the stream once this returns.
struct StripView {
    const char* rows = nullptr;
    int stride = 0;
    int height = 0;
    int bytesPerPixel = 0;
    bool bottomUp = true;
};

std::optional<StripView> readStrip(ByteReader& in, int minimumHeight, bool mask)
{
    const qint64 start = in.position();
    if (in.bytes(2) != "BM")
        return std::nullopt;
    in.skip(8);
    const quint32 offset = quint32(in.i32());
    const quint32 infoBytes = quint32(in.i32());
    const qint32 width = in.i32();
    const qint32 height = in.i32();
    const quint16 planes = in.u16();
    const quint16 bits = in.u16();
    const quint32 compression = quint32(in.i32());
    if (!in.ok() || infoBytes < kInfoHeaderBytes || width != kStripWidth || planes != 1 || compression != 0)
        return std::nullopt;
    if (mask ? bits != 1 : bits != 24 && bits != 32)
        return std::nullopt;
    const qint64 rows = height < 0 ? -qint64(height) : height;
    if (rows < minimumHeight || rows % kThumbnailSize != 0 || rows > qint64(kMaxImages) * kThumbnailSize)
        return std::nullopt;
    StripView strip;
    strip.stride = rowStride(kStripWidth, bits);
    strip.height = int(rows);
    strip.bytesPerPixel = bits / 8;
    strip.bottomUp = height > 0;
    if (offset < kFileHeaderBytes + infoBytes || !in.seek(start + offset))
        return std::nullopt;
    strip.rows = in.here();
    if (!in.skip(qint64(strip.stride) * rows))
        return std::nullopt;
    return strip;
}

QImage cellOf(const StripView& strip, int index)
{
    QImage cell(kThumbnailSize, kThumbnailSize, QImage::Format_RGB888);
    if (cell.isNull())
        return cell;
    const int left = index % kCellsPerRow * kThumbnailSize;
    const int top = index / kCellsPerRow * kThumbnailSize;
    for (int y = 0; y < kThumbnailSize; ++y) {
        const int row = strip.bottomUp ? strip.height - 1 - top - y : top + y;
        const auto* from = reinterpret_cast<const uchar*>(strip.rows) + qsizetype(row) * strip.stride +
                           left * strip.bytesPerPixel;
        uchar* to = cell.scanLine(y);
        for (int x = 0; x < kThumbnailSize; ++x, from += strip.bytesPerPixel) {
            to[3 * x] = from[2];
            to[3 * x + 1] = from[1];
            to[3 * x + 2] = from[0];
        }
    }
    return cell;
}

std::optional<QList<QImage>> parseImageList(const QByteArray& stream)
{
    ByteReader in(stream);
    const quint16 magic = in.u16();
    const quint16 version = in.u16();
    const qint16 count = in.i16();
    const qint16 capacity = in.i16();
    in.skip(2);  // growth
    const qint16 cx = in.i16();
    const qint16 cy = in.i16();
    in.skip(4);  // background colour
    const quint16 flags = in.u16();
    in.skip(8);  // overlay images
    if (!in.ok() || magic != kImageListMagic || version != kImageListVersion || cx != kThumbnailSize ||
        cy != kThumbnailSize || count < 0 || capacity < count || count > kMaxImages)
        return std::nullopt;
    const int minimumHeight = (count + kCellsPerRow - 1) / kCellsPerRow * kThumbnailSize;
    const std::optional<StripView> image = readStrip(in, minimumHeight, false);
    if (!image || ((flags & kMaskFlag) && !readStrip(in, image->height, true)))
        return std::nullopt;
    QList<QImage> thumbnails;
    thumbnails.reserve(count);
    for (int i = 0; i < count; ++i) {
        thumbnails << cellOf(*image, i);
        if (thumbnails.last().isNull())
            return std::nullopt;
    }
    return thumbnails;
}

// Skips the value of a property this reader has no use for.
bool skipValue(ByteReader& in, quint8 type)
{
    switch (type) {
    case vaInt8: return in.skip(1);
    case vaInt16: return in.skip(2);
    case vaInt32: return in.skip(4);
    case vaFalse:
    case vaTrue: return true;
    case vaString:
    case vaIdent: return in.skip(in.u8());
    case vaBinary:
    case vaLString:
    case vaUtf8String: return in.skip(quint32(in.i32()));
    default: return false;
    }
}

std::optional<qint32> intValue(ByteReader& in, quint8 type)
{
    switch (type) {
    case vaInt8: return qint8(in.u8());
    case vaInt16: return in.i16();
    case vaInt32: return in.i32();
    default: return std::nullopt;
    }
}

// The "Bitmap" property of the image-list object, once Height and Width
// are known to be the thumbnail size.
std::optional<QByteArray> readComponent(ByteReader& in)
{
    if (in.bytes(4) != kComponentSignature || in.shortString() != kClassName)
        return std::nullopt;
    in.shortString();  // the object's name
    std::optional<QByteArray> bitmap;
    qint32 height = 0;
    qint32 width = 0;
    while (in.ok()) {
        const QByteArray name = in.shortString();
        if (name.isEmpty())
            break;  // end of the property list
        const quint8 type = in.u8();
        if (name == "Height" || name == "Width") {
            const std::optional<qint32> value = intValue(in, type);
            if (!value)
                return std::nullopt;
            (name == "Height" ? height : width) = *value;
        } else if (name == "Bitmap") {
            if (type != vaBinary)
                return std::nullopt;
            bitmap = in.bytes(quint32(in.i32()));
        } else if (!skipValue(in, type)) {
            return std::nullopt;
        }
    }
    if (in.u8() != 0 || !in.ok() || !bitmap || height != kThumbnailSize || width != kThumbnailSize)
        return std::nullopt;  // the object has no children
    return bitmap;
}

QStringList keyLines(const QByteArray& text)
{
    QStringList keys;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf('\n', start);
        if (end < 0)
            end = text.size();
        QByteArray line = text.mid(start, end - start);
        if (line.endsWith('\r'))
            line.chop(1);
        keys << platform::fromSjis(line);
        start = end + 1;
    }
    return keys;
}

}  // namespace

CatalogueReadResult parseCatalogue(const QByteArray& bytes)
{
    CatalogueReadResult result;
    ByteReader in(bytes);
    const qint32 version = in.i32();
    const qint32 size = in.i32();
    if (!in.ok())
        return result;
    if (version != kCatalogueVersion || size != kThumbnailSize) {
        result.status = CatalogueReadStatus::Ignored;
        return result;
    }
    const std::optional<QByteArray> bitmap = readComponent(in);
    if (!bitmap)
        return result;
    std::optional<QList<QImage>> thumbnails = parseImageList(*bitmap);
    if (!thumbnails)
        return result;
    QStringList keys = keyLines(bytes.mid(in.position()));
    if (keys.size() != thumbnails->size())
        return result;
    result.status = CatalogueReadStatus::Read;
    result.data.thumbnails = std::move(*thumbnails);
    result.data.keys = std::move(keys);
    return result;
}

QByteArray serializeCatalogue(const CatalogueData& data)
{
    const qsizetype count = std::min({data.thumbnails.size(), data.keys.size(), qsizetype(kMaxImages)});
    const QByteArray imageList = imageListStream(data.thumbnails.mid(0, count));
    QByteArray out;
    putU32(out, kCatalogueVersion);
    putU32(out, kThumbnailSize);
    out.append(kComponentSignature, 4);
    putShortString(out, kClassName);
    putShortString(out, {});
    for (const char* name : {"Height", "Width"}) {
        putShortString(out, name);
        out.append(char(vaInt8)).append(char(kThumbnailSize));
    }
    putShortString(out, "Bitmap");
    out.append(char(vaBinary));
    putU32(out, quint32(imageList.size()));
    out.append(imageList);
    out.append('\0').append('\0');  // end of the properties, no children
    // A name with a line break cannot be a line; an empty line keeps the
    // thumbnails and keys in step and matches no file.
    for (qsizetype i = 0; i < count; ++i) {
        const QString& key = data.keys[i];
        if (!key.contains(QLatin1Char('\n')) && !key.contains(QLatin1Char('\r')))
            out.append(platform::toSjis(key));
        out.append("\r\n");
    }
    return out;
}

CatalogueReadResult readCatalogueFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxFileBytes)
        return {};
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {};
    return parseCatalogue(bytes);
}

bool writeCatalogueFile(const QString& path, const CatalogueData& data)
{
    return platform::replaceFileAtomically(path, serializeCatalogue(data));
}
