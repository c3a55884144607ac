#include "imgkit/src/Exif.h"

#include <algorithm>
#include <cstring>

namespace imgkit {
namespace {

constexpr std::uint16_t kTagOrientation = 0x0112;
constexpr std::uint16_t kTagDateTime = 0x0132;
constexpr std::uint16_t kTagExifIfd = 0x8769;
constexpr std::uint16_t kTagGpsIfd = 0x8825;
constexpr std::uint16_t kTagDateTimeOriginal = 0x9003;
constexpr std::size_t kEntrySize = 12;

bool startsWith(const std::uint8_t* data, std::size_t size, const char* magic, std::size_t n)
{
    return size >= n && std::memcmp(data, magic, n) == 0;
}

std::uint32_t be32(const std::uint8_t* p)
{
    return (std::uint32_t(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
}

std::uint32_t le32At(const std::uint8_t* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (std::uint32_t(p[3]) << 24);
}

// One directory entry, its value field read in the block's byte order.
struct Entry {
    std::size_t at = 0;  // offset of the 12-byte entry
    std::uint16_t tag = 0;
    std::uint16_t type = 0;
    std::uint32_t count = 0;
};

// Reads a TIFF structure held in writable or read-only memory, in its byte
// order, never outside [0, size).
class TiffView {
public:
    TiffView(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size)
    {
        if (startsWith(data, size, "II*\0", 4))
            m_little = true;
        else if (!startsWith(data, size, "MM\0*", 4))
            m_size = 0;
    }

    bool ok() const { return m_size >= 8; }
    std::size_t size() const { return m_size; }

    std::uint16_t u16(std::size_t at) const
    {
        if (at + 2 > m_size)
            return 0;
        const std::uint8_t* p = m_data + at;
        return m_little ? std::uint16_t(p[0] | (p[1] << 8)) : std::uint16_t((p[0] << 8) | p[1]);
    }
    std::uint32_t u32(std::size_t at) const
    {
        if (at + 4 > m_size)
            return 0;
        return m_little ? le32At(m_data + at) : be32(m_data + at);
    }
    void put16(std::uint8_t* base, std::size_t at, std::uint16_t v) const
    {
        base[at] = std::uint8_t(m_little ? v : v >> 8);
        base[at + 1] = std::uint8_t(m_little ? v >> 8 : v);
    }
    void put32(std::uint8_t* base, std::size_t at, std::uint32_t v) const
    {
        for (int i = 0; i < 4; ++i)
            base[at + i] = std::uint8_t(v >> (m_little ? 8 * i : 24 - 8 * i));
    }

    std::size_t firstIfd() const { return u32(4); }

    // The entries of the directory at `ifd`; none when it does not fit.
    std::vector<Entry> entries(std::size_t ifd) const
    {
        std::vector<Entry> out;
        if (ifd < 8 || ifd + 2 > m_size)
            return out;
        const std::size_t n = u16(ifd);
        if (ifd + 2 + n * kEntrySize + 4 > m_size)
            return out;
        for (std::size_t i = 0; i < n; ++i) {
            const std::size_t at = ifd + 2 + i * kEntrySize;
            out.push_back({at, u16(at), u16(at + 2), u32(at + 4)});
        }
        return out;
    }

    // Where an entry's value lies (in the entry itself for four bytes or
    // fewer) and how long it is; {0, 0} when it lies outside the block.
    std::pair<std::size_t, std::size_t> valueOf(const Entry& e) const
    {
        static constexpr std::uint8_t kTypeSize[] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8, 4};
        const std::size_t unit = e.type < std::size(kTypeSize) ? kTypeSize[e.type] : 0;
        const std::uint64_t length = std::uint64_t(unit) * e.count;
        if (length <= 4)
            return {e.at + 8, std::size_t(length)};
        const std::uint64_t offset = u32(e.at + 8);
        if (offset < 8 || offset + length > m_size)
            return {0, 0};
        return {std::size_t(offset), std::size_t(length)};
    }

    std::string text(const Entry& e) const
    {
        if (e.type != 2)
            return {};
        const auto [at, length] = valueOf(e);
        if (length == 0)
            return {};
        const char* p = reinterpret_cast<const char*>(m_data + at);
        return std::string(p, strnlen(p, length));
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    bool m_little = false;
};

const Entry* findTag(const std::vector<Entry>& entries, std::uint16_t tag)
{
    const auto it =
        std::find_if(entries.begin(), entries.end(), [tag](const Entry& e) { return e.tag == tag; });
    return it == entries.end() ? nullptr : &*it;
}

// "YYYY:MM:DD HH:MM:SS" with a real year, month and day; cameras without a
// set clock write blanks or zeros.
bool plausibleDate(const std::string& s)
{
    if (s.size() < 19 || s[4] != ':' || s[7] != ':' || s[13] != ':' || s[16] != ':')
        return false;
    for (int i : {0, 1, 2, 3, 5, 6, 8, 9, 11, 12, 14, 15, 17, 18})
        if (s[i] < '0' || s[i] > '9')
            return false;
    const int year = std::stoi(s.substr(0, 4));
    const int month = std::stoi(s.substr(5, 2));
    const int day = std::stoi(s.substr(8, 2));
    return year > 0 && month >= 1 && month <= 12 && day >= 1 && day <= 31;
}

ExifBlock tiffBlock(const std::uint8_t* data, std::size_t size, bool wholeFile = false)
{
    if (!(startsWith(data, size, "II*\0", 4) || startsWith(data, size, "MM\0*", 4)) || size < 8)
        return {};
    return {data, size, wholeFile};
}

ExifBlock findInJpeg(const std::uint8_t* data, std::size_t size)
{
    std::size_t pos = 2;
    while (pos + 4 <= size) {
        if (data[pos] != 0xFF)
            return {};
        const std::uint8_t marker = data[pos + 1];
        if (marker == 0xFF) {  // fill byte
            ++pos;
            continue;
        }
        if (marker == 0xD9 || marker == 0xDA)  // end of image, start of scan
            return {};
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            pos += 2;
            continue;
        }
        const std::size_t length = (std::size_t(data[pos + 2]) << 8) | data[pos + 3];
        if (length < 2 || pos + 2 + length > size)
            return {};
        if (marker == 0xE1 && length >= 8 && startsWith(data + pos + 4, length - 2, "Exif\0\0", 6))
            return tiffBlock(data + pos + 10, length - 8);
        pos += 2 + length;
    }
    return {};
}

ExifBlock findInPng(const std::uint8_t* data, std::size_t size)
{
    std::size_t pos = 8;
    while (pos + 12 <= size) {
        const std::size_t length = be32(data + pos);
        if (length > size - pos - 12)
            return {};
        const std::uint8_t* type = data + pos + 4;
        if (std::memcmp(type, "eXIf", 4) == 0)
            return tiffBlock(data + pos + 8, length);
        if (std::memcmp(type, "IEND", 4) == 0)
            return {};
        pos += 12 + length;
    }
    return {};
}

ExifBlock findInWebp(const std::uint8_t* data, std::size_t size)
{
    std::size_t pos = 12;
    while (pos + 8 <= size) {
        const std::size_t length = le32At(data + pos + 4);
        if (length > size - pos - 8)
            return {};
        if (std::memcmp(data + pos, "EXIF", 4) == 0) {
            const std::uint8_t* block = data + pos + 8;
            // Some writers keep the JPEG segment's "Exif\0\0" in front.
            if (startsWith(block, length, "Exif\0\0", 6))
                return tiffBlock(block + 6, length - 6);
            return tiffBlock(block, length);
        }
        pos += 8 + length + (length & 1);
    }
    return {};
}

// Zeroes the GPS directory's entries and every value they point to.
void blankDirectory(const TiffView& view, std::uint8_t* bytes, std::size_t ifd)
{
    const std::vector<Entry> entries = view.entries(ifd);
    for (const Entry& e : entries) {
        const auto [at, length] = view.valueOf(e);
        if (length > 4)
            std::memset(bytes + at, 0, length);
    }
    if (!entries.empty())
        std::memset(bytes + ifd, 0, 2 + entries.size() * kEntrySize + 4);
}

// Removes entry `index` of the directory at `ifd`: the later entries move up
// and the freed twelve bytes after the next-directory link are zeroed.
void removeEntry(const TiffView& view, std::uint8_t* bytes, std::size_t ifd, std::size_t index,
                 std::size_t count)
{
    const std::size_t at = ifd + 2 + index * kEntrySize;
    const std::size_t end = ifd + 2 + count * kEntrySize + 4;  // past the link
    std::memmove(bytes + at, bytes + at + kEntrySize, end - at - kEntrySize);
    std::memset(bytes + end - kEntrySize, 0, kEntrySize);
    view.put16(bytes, ifd, std::uint16_t(count - 1));
}

}  // namespace

ExifBlock findExif(const std::uint8_t* data, std::size_t size)
{
    if (!data)
        return {};
    if (startsWith(data, size, "\xFF\xD8", 2))
        return findInJpeg(data, size);
    if (startsWith(data, size, "\x89PNG\r\n\x1A\n", 8))
        return findInPng(data, size);
    if (size >= 12 && startsWith(data, size, "RIFF", 4) && std::memcmp(data + 8, "WEBP", 4) == 0)
        return findInWebp(data, size);
    return tiffBlock(data, size, true);
}

ExifData parseExif(const ExifBlock& block)
{
    ExifData out;
    const TiffView view(block.data, block.size);
    if (!view.ok())
        return out;
    const std::vector<Entry> ifd0 = view.entries(view.firstIfd());
    if (const Entry* e = findTag(ifd0, kTagOrientation); e && e->type == 3 && e->count >= 1) {
        const int value = view.u16(e->at + 8);
        if (value >= 1 && value <= 8)
            out.orientation = value;
    }
    if (const Entry* e = findTag(ifd0, kTagExifIfd); e && (e->type == 4 || e->type == 13)) {
        const std::vector<Entry> exif = view.entries(view.u32(e->at + 8));
        if (const Entry* original = findTag(exif, kTagDateTimeOriginal)) {
            const std::string text = view.text(*original);
            if (plausibleDate(text))
                out.dateTime = text.substr(0, 19);
        }
    }
    if (out.dateTime.empty())
        if (const Entry* e = findTag(ifd0, kTagDateTime)) {
            const std::string text = view.text(*e);
            if (plausibleDate(text))
                out.dateTime = text.substr(0, 19);
        }
    return out;
}

std::vector<std::uint8_t> exifForUprightCopy(const ExifBlock& block, bool keepGps)
{
    if (block.wholeFile || block.empty())
        return {};
    std::vector<std::uint8_t> bytes(block.data, block.data + block.size);
    const TiffView view(bytes.data(), bytes.size());
    const std::size_t ifd = view.firstIfd();
    std::vector<Entry> ifd0 = view.entries(ifd);
    if (!view.ok() || ifd0.empty())
        return {};
    if (const Entry* e = findTag(ifd0, kTagOrientation); e && e->type == 3)
        view.put16(bytes.data(), e->at + 8, 1);
    if (!keepGps)
        for (std::size_t i = 0; i < ifd0.size(); ++i) {
            if (ifd0[i].tag != kTagGpsIfd)
                continue;
            const std::uint32_t gps = view.u32(ifd0[i].at + 8);
            if (gps != ifd)  // a link back to IFD0 itself must not blank it
                blankDirectory(view, bytes.data(), gps);
            removeEntry(view, bytes.data(), ifd, i, ifd0.size());
            ifd0 = view.entries(ifd);
            break;
        }
    view.put32(bytes.data(), ifd + 2 + ifd0.size() * kEntrySize, 0);  // no thumbnail directory
    return bytes;
}

}  // namespace imgkit
