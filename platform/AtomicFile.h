// Replacing a whole file so that a reader, or a process killed half-way,
// only ever sees the old content or the new one.
#pragma once

#include <QByteArray>
#include <QString>

namespace platform {

// Writes `bytes` to a temporary file in the folder of `path` and renames it
// over `path` (following a symbolic link to its target). The file keeps its
// permissions; a new file gets the usual ones. No fsync: the rename makes it
// safe against a killed process, and many writes in a row stay cheap.
// False when anything fails; the old file is then untouched.
bool replaceFileAtomically(const QString& path, const QByteArray& bytes);

}  // namespace platform
