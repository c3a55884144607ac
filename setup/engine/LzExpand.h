// Expansion of files compressed in the classic LZ format ("SZDD"): a 14-byte
// header (magic, mode 'A', the last character of the original name, the
// expanded length) and LZSS data over a 4 KiB ring buffer.
#pragma once

#include <QByteArray>
#include <QChar>
#include <optional>

namespace setup {

struct LzExpanded {
    QByteArray data;
    char missingChar = 0;  // the name's last character the compressed name replaced by '_'
};

// True when `bytes` start with the format's magic.
bool isLzCompressed(const QByteArray& bytes);

// The expanded contents, or nullopt for a bad header, truncated data or an
// expanded length above `maxBytes`.
std::optional<LzExpanded> lzExpand(const QByteArray& bytes, qint64 maxBytes = qint64(1) << 31);

}  // namespace setup
