// Shift-JIS (code page 932) at the file boundary. Inside the program text is
// Unicode (QString); every file the system calls ANSI text is Shift-JIS on disk.
#pragma once

#include <QByteArray>
#include <QString>

namespace platform {

// Text that code page 932 holds is written as its bytes, unchanged. A
// character it cannot hold (or would read back as another character) is
// written as a numeric reference "&#xHEX;" (uppercase hexadecimal code
// point), so Linux names and typed text round-trip exactly through files that
// stay Shift-JIS. A literal "&" that would read back as such a reference is
// itself written as "&#x26;". docs/TEXT-FILES.md describes the escape.
QByteArray toSjis(const QString& text);

// The inverse of toSjis: references "&#xHEX;" of a valid code point become
// that character. Invalid or truncated byte sequences become U+FFFD; nothing
// is dropped silently.
QString fromSjis(const QByteArray& bytes);

// The length of `bytes` cut to at most `maxBytes` without splitting a
// double-byte character (a lone lead byte at the end is dropped) or a
// "&#xHEX;" reference.
qsizetype sjisCutLength(const QByteArray& bytes, qsizetype maxBytes);

}  // namespace platform
