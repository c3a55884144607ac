// The installer's file operations: folders, copies, expansion of compressed
// files, deletion with wildcards, shared-library counts, self-registration and
// free space. Results are 0 or an errno code, so the runs can log the
// system's message for a failure and tell "already exists" or "not empty"
// apart.
#pragma once

#include <QString>
#include <optional>

namespace platform { class Registry; }

namespace setup {

// `path` with a trailing '/' ensured or removed.
QString withSlash(const QString& path);
QString withoutSlash(const QString& path);
// The folder part of `path`, with its trailing '/'; the file name after it.
QString folderOf(const QString& path);
QString fileNameOf(const QString& path);

// A shared library: ".DLL", ".OCX" or ".so" (with or without a version).
bool isLibraryFile(const QString& path);

bool folderExists(const QString& path);
// Creates the folder with every missing parent.
bool createFolders(const QString& path);
// Creates the one folder (its parent must exist): 0, EEXIST or an errno code.
int createFolder(const QString& path);

// The system's message for an errno code, in full-width characters, as the
// error logs show it.
QString systemMessage(int code);

// Copies `source` over `destination` (made writable first when it exists);
// the copy keeps the source's permissions with the owner's write bit added.
// 0 or an errno code.
int copyOne(const QString& source, const QString& destination);

// A compressed file expanded into "EXPAND.ONS" of `tempFolder` (an old one is
// removed first). A destination named "AUTO.EXT" becomes the name stored in
// the compressed file, upper-cased. A file that is not compressed is taken as
// it is.
struct Expanded {
    QString temporary;
    QString destination;
};
std::optional<Expanded> expandCompressed(const QString& source, const QString& destination,
                                         const QString& tempFolder);

// The library's own registration entry ("DllRegisterServer" or
// "DllUnregisterServer") called. Failures of a registration are reported
// with the path and what went wrong; unregistering is silent.
bool registerServer(const QString& path, bool doRegister);

// Deletes `path` without asking; a file name with '*' or '?' deletes every
// match in its folder, and folders among the matches with all they hold. A
// library is unregistered first. 2 (ENOENT) when nothing matches a path
// without wildcards, else 0 or the first error.
int shellDelete(const QString& path);

// The shared-library counts kept in the registry, by full path.
int sharedCount(platform::Registry& registry, const QString& path);
void sharedCountUp(platform::Registry& registry, const QString& path);
int sharedCountDown(platform::Registry& registry, const QString& path);

// Bytes free for this user on the file system holding `folder` (or its
// nearest existing parent); nullopt when that cannot be found out.
std::optional<qint64> freeBytes(const QString& folder);

// Starts `file` with `parameters` (a program) or opens it with its
// associated program (any other file). False when nothing could be started.
bool openFile(const QString& file, const QString& parameters);

// The file's modification time in milliseconds since the epoch; -1 when absent.
qint64 fileTime(const QString& path);

}  // namespace setup
