// Replacing a whole file so that a reader, a process killed half-way or a
// power cut only ever leaves the old content or the new one.
#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

namespace platform {

// Writes `bytes` to a hidden temporary file in the folder of `path`, flushes
// it to the disk and renames it over `path` (following a symbolic link to its
// target), then flushes the folder. The file keeps its permissions; a new
// file gets the usual ones. False when anything fails; the old file is then
// untouched and the temporary gone. Before writing, stale temporaries of
// earlier saves into the same folder are removed (removeStaleTemporaries).
bool replaceFileAtomically(const QString& path, const QByteArray& bytes);

// The same for content another writer produces: `write` is given the path
// of the temporary (already created, empty) and fills it; its false fails
// the replacement.
bool replaceFileThrough(const QString& path, const std::function<bool(const QString& temporary)>& write);

// Removes from `folder` the temporaries of the two functions above that no
// save is writing any more, and returns how many. A temporary's name is
// "." + the start of the target's name + ".tmp-" + the tag of this machine's
// boot and process namespace + "-" + the writing process's id + "-" + eight
// random hexadecimal digits. One is stale when it carries this boot's tag and
// its process is gone, or, whoever made it (another machine sharing the
// folder, say), when it has not been written for an hour. Temporaries named
// as earlier versions named them (".name.tmp-hex", ".tavXXXXXXXX.tmp") go by
// the hour alone. Only regular files are removed.
int removeStaleTemporaries(const QString& folder);

// Writes all `size` bytes at `data` to the descriptor, going on after
// interrupted and partial writes. False on the first error (errno tells).
bool writeAll(int fd, const char* data, qint64 size);

}  // namespace platform
