// The installer's file operations: folders, copies, expansion of compressed
// files, deletion with wildcards, shared-library counts, self-registration and
// free space. Results are 0 or an errno code, so the runs can log the
// system's message for a failure and tell "already exists" or "not empty"
// apart.
#pragma once

#include <QString>
#include <optional>

namespace platform {
class Registry;
}

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

// A typed install folder made absolute, with a trailing '/': "~" and "~/..."
// start at `home`, "~name/..." at that user's home folder, and "." and ".."
// parts are resolved. nullopt for a relative folder or an unknown user: the
// folder a relative path named would depend on where the program was started.
std::optional<QString> absoluteFolder(const QString& text, const QString& home);
// Creates the folder with every missing parent.
bool createFolders(const QString& path);
// Creates the one folder (its parent must exist): 0, EEXIST or an errno code.
int createFolder(const QString& path);

// The system's message for an errno code, in full-width characters, as the
// error logs show it.
QString systemMessage(int code);

// The mark in the name of a copy not yet complete: ".<name>" + mark + digits,
// beside its destination.
inline const QString kPartialMark = QStringLiteral(".ontmp-");

// Copies `source` over `destination`: the data goes to a temporary name in
// the destination's folder and is renamed over the destination only when
// whole, so a failed or killed copy leaves the old file as it was; the
// temporary is removed on failure. The copy keeps the source's date and
// permissions (with the owner's read and write bits added). When `journal`
// is given, it names the temporary while the copy runs (see WorkFolder.h).
// 0 or an errno code (ENOSPC for a full disk).
int copyOne(const QString& source, const QString& destination, const QString& journal = {});

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

// Deletes one file or link without asking; a file name with '*' or '?'
// deletes every file and link in its folder that matches. A folder is never
// deleted this way: a path naming one gives EISDIR, and folders among the
// matches are passed over. A library is unregistered first. ENOENT when a
// path without wildcards does not exist, else 0 or the first error.
int shellDelete(const QString& path);

// Removes an empty folder: 0 or an errno code (ENOTEMPTY when it holds anything).
int removeFolder(const QString& folder);

// Removes `folder` with everything in it (links are removed, not followed).
bool removeTree(const QString& folder);

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
