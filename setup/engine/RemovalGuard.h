// What the uninstall run may remove, whatever its record says. A record is a
// text file anybody can edit, so each path it names is checked before
// anything is deleted:
// - paths must be absolute and free of "." and ".." parts;
// - a file entry removes one file or link, never a folder;
// - a folder is only removed empty, and never a root or top-level folder, the
//   home folder, the user's own folders in it (Desktop, Documents, Pictures
//   ...), the desktop's base folders or the system folders the installer
//   knows, nor a folder holding one of them;
// - nothing inside the user's own folders is removed, except the launchers
//   the installer puts on the desktop, and no file right in a root, top-level
//   or home folder;
// - wildcards only match inside the install folder, in a folder that may
//   itself be removed.
// Each check returns the reason of a refusal, or an empty text.
#pragma once

#include "setup/engine/Session.h"

#include <QString>
#include <QStringList>

namespace setup {

class RemovalGuard {
public:
    RemovalGuard(const SystemFolders& system, const FolderTable& folders);

    QString refuseFile(const QString& path) const;
    QString refuseWildcard(const QString& pattern, const QString& installFolder) const;
    QString refuseFolder(const QString& folder) const;
    // Removing `folder` with all it holds (the install folder in the
    // "DeleteAll" layout).
    QString refuseTree(const QString& folder) const { return refuseFolder(folder); }

private:
    QString pathFault(const QString& path) const;
    // The folder is protected or holds a protected folder.
    bool guardsFolder(const QString& folder) const;
    // Inside one of the user's own folders (below it, not the folder itself).
    bool insideUserFolder(const QString& path) const;
    bool isDesktopLauncher(const QString& path) const;

    QStringList m_protected;  // cleaned, with symbolic links resolved too
    QStringList m_userFolders;  // Desktop, Documents, Pictures ...
    QStringList m_desktops;
    QStringList m_homes;
};

}  // namespace setup
