#include "setup/engine/LzExpand.h"

#include <array>

namespace setup {

namespace {
constexpr unsigned char kMagic[8] = {'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27, 0x33};
constexpr int kHeaderBytes = 14;
constexpr int kRingSize = 4096;
constexpr int kRingStart = kRingSize - 16;
}  // namespace

bool isLzCompressed(const QByteArray& bytes)
{
    if (bytes.size() < int(sizeof kMagic))
        return false;
    for (size_t i = 0; i < sizeof kMagic; ++i)
        if (static_cast<unsigned char>(bytes[i]) != kMagic[i])
            return false;
    return true;
}

std::optional<LzExpanded> lzExpand(const QByteArray& bytes, qint64 maxBytes)
{
    if (bytes.size() < kHeaderBytes || !isLzCompressed(bytes) || bytes[8] != 'A')
        return std::nullopt;
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.constData());
    const quint32 length =
        quint32(in[10]) | quint32(in[11]) << 8 | quint32(in[12]) << 16 | quint32(in[13]) << 24;
    if (qint64(length) > maxBytes)
        return std::nullopt;

    LzExpanded result;
    result.missingChar = bytes[9];
    // Reserve no more than the input can expand to (one control byte and
    // eight pairs of 18 bytes each: 9 times the input at most), so a lying
    // header cannot make us allocate gigabytes.
    result.data.reserve(int(std::min<qint64>(length, qint64(bytes.size()) * 9)));

    std::array<unsigned char, kRingSize> ring;
    ring.fill(' ');
    int ringPos = kRingStart;
    qsizetype pos = kHeaderBytes;
    const qsizetype end = bytes.size();
    while (quint32(result.data.size()) < length) {
        if (pos >= end)
            return std::nullopt;
        const unsigned control = in[pos++];
        for (int bit = 0; bit < 8 && quint32(result.data.size()) < length; ++bit) {
            if (control & (1u << bit)) {
                if (pos >= end)
                    return std::nullopt;
                const unsigned char c = in[pos++];
                result.data.append(char(c));
                ring[ringPos] = c;
                ringPos = (ringPos + 1) & (kRingSize - 1);
            } else {
                if (pos + 1 >= end)
                    return std::nullopt;
                int from = in[pos] | (in[pos + 1] & 0xF0) << 4;
                const int count = (in[pos + 1] & 0x0F) + 3;
                pos += 2;
                for (int k = 0; k < count && quint32(result.data.size()) < length; ++k) {
                    const unsigned char c = ring[from];
                    from = (from + 1) & (kRingSize - 1);
                    result.data.append(char(c));
                    ring[ringPos] = c;
                    ringPos = (ringPos + 1) & (kRingSize - 1);
                }
            }
        }
    }
    return result;
}

}  // namespace setup
