// Code page 932 through the C library's iconv, with numeric references for
// what it cannot hold. The common case is one call per direction and text;
// only text the code page does not hold exactly goes a character at a time.
#include "platform/Sjis.h"

#include <QList>

#include <iconv.h>

#include <cerrno>
#include <optional>
#include <vector>

namespace platform {

namespace {

// One conversion descriptor per direction and thread (iconv_t is not shareable).
class Converter {
public:
    Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~Converter()
    {
        if (valid())
            iconv_close(m_cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }
    iconv_t handle() const { return m_cd; }

private:
    iconv_t m_cd;
};

iconv_t unicodeToSjis()
{
    thread_local Converter converter("CP932", "UTF-32LE");
    return converter.valid() ? converter.handle() : nullptr;
}

iconv_t sjisToUnicode()
{
    thread_local Converter converter("UTF-32LE", "CP932");
    return converter.valid() ? converter.handle() : nullptr;
}

bool isLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

int hexValue(char32_t c)
{
    if (c >= '0' && c <= '9')
        return int(c - '0');
    if (c >= 'A' && c <= 'F')
        return int(c - 'A' + 10);
    if (c >= 'a' && c <= 'f')
        return int(c - 'a' + 10);
    return -1;
}

// The character at `i` of bytes or of code points, as a code point: a code
// point is never cut to its low byte, where U+0130 would pass for a '0'.
char32_t unitAt(const QByteArray& bytes, qsizetype i) { return char32_t(uchar(bytes[i])); }
char32_t unitAt(const QList<uint>& ucs4, qsizetype i) { return char32_t(ucs4[i]); }

// A reference "&#xHEX;" (one to six hex digits naming a valid code point)
// starting at `at`: its length, with the code point in `codePoint`; 0 if
// none starts there. Works on bytes and on code points alike.
template <typename Sequence>
qsizetype referenceAt(const Sequence& text, qsizetype at, char32_t* codePoint = nullptr)
{
    const qsizetype size = qsizetype(text.size());
    if (at + 4 > size || text[at] != '&' || text[at + 1] != '#' || text[at + 2] != 'x')
        return 0;
    char32_t value = 0;
    qsizetype i = at + 3;
    for (; i < size && i < at + 9; ++i) {
        const int digit = hexValue(unitAt(text, i));
        if (digit < 0)
            break;
        value = value * 16 + char32_t(digit);
    }
    if (i == at + 3 || i >= size || text[i] != ';')
        return 0;
    if (value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return 0;
    if (codePoint)
        *codePoint = value;
    return i + 1 - at;
}

QByteArray reference(char32_t codePoint)
{
    return "&#x" + QByteArray::number(uint(codePoint), 16).toUpper() + ';';
}

// The code page's bytes for `ucs4`, or nothing when some character has none.
std::optional<QByteArray> plainToSjis(const char32_t* ucs4, size_t count)
{
    iconv_t cd = unicodeToSjis();
    QByteArray out;
    if (!cd) {
        // Without the code page only ASCII is known to be held.
        for (size_t i = 0; i < count; ++i) {
            if (ucs4[i] >= 0x80)
                return std::nullopt;
            out.append(char(ucs4[i]));
        }
        return out;
    }
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(reinterpret_cast<const char*>(ucs4));
    size_t inLeft = count * 4;
    std::vector<char> buffer(inLeft / 2 + 16);
    while (inLeft > 0) {
        char* dst = buffer.data();
        size_t dstLeft = buffer.size();
        const size_t rc = iconv(cd, &in, &inLeft, &dst, &dstLeft);
        out.append(buffer.data(), qsizetype(dst - buffer.data()));
        if (rc != size_t(-1))
            break;
        if (errno != E2BIG)
            return std::nullopt;
    }
    return out;
}

// The code page's bytes as Unicode, without reading references.
QList<uint> plainFromSjis(const QByteArray& bytes)
{
    iconv_t cd = sjisToUnicode();
    QList<uint> ucs4;
    if (!cd) {
        for (char c : bytes)
            ucs4.append(uchar(c) < 0x80 ? uint(uchar(c)) : uint(QChar::ReplacementCharacter));
        return ucs4;
    }
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(bytes.constData());
    size_t inLeft = size_t(bytes.size());
    std::vector<char32_t> buffer(inLeft + 4);
    while (inLeft > 0) {
        char* dst = reinterpret_cast<char*>(buffer.data());
        size_t dstLeft = buffer.size() * 4;
        const size_t rc = iconv(cd, &in, &inLeft, &dst, &dstLeft);
        const auto produced = (reinterpret_cast<char32_t*>(dst) - buffer.data());
        ucs4.append(QList<uint>(buffer.data(), buffer.data() + produced));
        if (rc != size_t(-1))
            break;
        if (errno == E2BIG)
            continue;
        ucs4.append(uint(QChar::ReplacementCharacter));
        if (errno == EINVAL)  // truncated sequence at the end
            break;
        ++in;  // EILSEQ: skip the offending byte and go on
        --inLeft;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    return ucs4;
}

bool hasReferenceLookalike(const QList<uint>& ucs4)
{
    for (qsizetype i = 0; i < ucs4.size(); ++i)
        if (ucs4[i] == '&' && referenceAt(ucs4, i))
            return true;
    return false;
}

// One character's bytes when the code page holds it and reads it back as the
// same character (it maps some characters, such as U+00A5, onto others).
std::optional<QByteArray> heldCharacter(char32_t c)
{
    std::optional<QByteArray> bytes = plainToSjis(&c, 1);
    if (bytes && plainFromSjis(*bytes) == QList<uint>{uint(c)})
        return bytes;
    return std::nullopt;
}

}  // namespace

QByteArray toSjis(const QString& text)
{
    if (text.isEmpty())
        return {};
    const QList<uint> ucs4 = text.toUcs4();
    const auto* units = reinterpret_cast<const char32_t*>(ucs4.constData());
    if (!hasReferenceLookalike(ucs4)) {
        // The common case: the code page holds every character exactly.
        std::optional<QByteArray> whole = plainToSjis(units, size_t(ucs4.size()));
        if (whole && plainFromSjis(*whole) == ucs4)
            return *whole;
    }
    QByteArray out;
    for (qsizetype i = 0; i < ucs4.size(); ++i) {
        const char32_t c = units[i];
        if (c == '&') {
            out.append(referenceAt(ucs4, i) ? reference(c) : QByteArray("&"));
            continue;
        }
        const std::optional<QByteArray> held = heldCharacter(c);
        out.append(held ? *held : reference(c));
    }
    return out;
}

QString fromSjis(const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return {};
    const QList<uint> plain = plainFromSjis(bytes);
    QList<uint> ucs4;
    ucs4.reserve(plain.size());
    for (qsizetype i = 0; i < plain.size();) {
        char32_t codePoint = 0;
        if (const qsizetype length = referenceAt(plain, i, &codePoint)) {
            ucs4.append(uint(codePoint));
            i += length;
        } else {
            ucs4.append(plain[i++]);
        }
    }
    return QString::fromUcs4(reinterpret_cast<const char32_t*>(ucs4.constData()), ucs4.size());
}

qsizetype sjisCutLength(const QByteArray& bytes, qsizetype maxBytes)
{
    const qsizetype limit = qMin(bytes.size(), qMax<qsizetype>(maxBytes, 0));
    qsizetype i = 0;
    while (i < limit) {
        const qsizetype width = isLeadByte(uchar(bytes[i])) ? 2 : 1;
        if (i + width > limit || i + width > bytes.size())
            break;
        i += width;
    }
    // A reference cut in two would read back as its bytes: cut before it.
    // '&' is never the second byte of a double-byte character.
    const qsizetype amp = i > 0 ? bytes.lastIndexOf('&', i - 1) : -1;
    if (amp >= 0 && amp + referenceAt(bytes, amp) > i)
        i = amp;
    return i;
}

}  // namespace platform
