// Code page 932 through the C library's iconv. Conversions run a character at
// a time only where iconv stops; the common case is one call per text.
#include "Sjis.h"

#include <QList>

#include <iconv.h>

#include <cerrno>
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

bool isLeadByte(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

}  // namespace

QByteArray toSjis(const QString& text)
{
    if (text.isEmpty())
        return {};
    const QList<uint> ucs4 = text.toUcs4();
    QByteArray out;
    iconv_t cd = unicodeToSjis();
    if (!cd) {
        // Without the code page only ASCII survives.
        for (uint c : ucs4)
            out.append(c < 0x80 ? char(c) : '?');
        return out;
    }
    iconv(cd, nullptr, nullptr, nullptr, nullptr);

    char* in = const_cast<char*>(reinterpret_cast<const char*>(ucs4.constData()));
    size_t inLeft = size_t(ucs4.size()) * 4;
    std::vector<char> buffer(inLeft / 2 + 16);
    while (inLeft > 0) {
        char* dst = buffer.data();
        size_t dstLeft = buffer.size();
        const size_t rc = iconv(cd, &in, &inLeft, &dst, &dstLeft);
        out.append(buffer.data(), qsizetype(dst - buffer.data()));
        if (rc != size_t(-1))
            break;
        if (errno == E2BIG)
            continue;
        // EILSEQ: a character the code page lacks; EINVAL cannot happen with
        // whole UTF-32 units, but is handled the same way.
        out.append('?');
        const size_t skip = inLeft < 4 ? inLeft : 4;
        in += skip;
        inLeft -= skip;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    return out;
}

QString fromSjis(const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return {};
    iconv_t cd = sjisToUnicode();
    if (!cd) {
        QString ascii;
        for (char c : bytes)
            ascii.append(uchar(c) < 0x80 ? QChar(uchar(c)) : QChar(QChar::ReplacementCharacter));
        return ascii;
    }
    iconv(cd, nullptr, nullptr, nullptr, nullptr);

    std::vector<char32_t> ucs4;
    char* in = const_cast<char*>(bytes.constData());
    size_t inLeft = size_t(bytes.size());
    std::vector<char32_t> buffer(inLeft + 4);
    while (inLeft > 0) {
        char* dst = reinterpret_cast<char*>(buffer.data());
        size_t dstLeft = buffer.size() * 4;
        const size_t rc = iconv(cd, &in, &inLeft, &dst, &dstLeft);
        const auto produced = (reinterpret_cast<char32_t*>(dst) - buffer.data());
        ucs4.insert(ucs4.end(), buffer.data(), buffer.data() + produced);
        if (rc != size_t(-1))
            break;
        if (errno == E2BIG)
            continue;
        ucs4.push_back(char32_t(QChar::ReplacementCharacter));
        if (errno == EINVAL)  // truncated sequence at the end
            break;
        ++in;  // EILSEQ: skip the offending byte and go on
        --inLeft;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    return QString::fromUcs4(ucs4.data(), qsizetype(ucs4.size()));
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
    return i;
}

}  // namespace platform
