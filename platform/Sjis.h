// Shift-JIS (code page 932) at the file boundary. Inside the program text is
// Unicode (QString); every file the system calls ANSI text is Shift-JIS on disk.
#pragma once

#include <QByteArray>
#include <QString>

namespace platform {

// Characters that code page 932 cannot hold become '?', as the Windows
// conversion does with its default character.
QByteArray toSjis(const QString& text);

// Invalid or truncated byte sequences become U+FFFD; nothing is dropped silently.
QString fromSjis(const QByteArray& bytes);

// The length of `bytes` cut to at most `maxBytes` without splitting a
// double-byte character (a lone lead byte at the end is dropped).
qsizetype sjisCutLength(const QByteArray& bytes, qsizetype maxBytes);

}  // namespace platform
