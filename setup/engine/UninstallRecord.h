// The uninstall record "UNSETUP.INI": what an install run made, so that the
// uninstaller can undo it. A reinstall into the same folder starts from the
// old record's lists, so the record always covers every install.
#pragma once

#include "setup/engine/RunContext.h"

#include <QString>
#include <QStringList>

namespace setup {

// The record's lists. Each keeps one entry per path (the text before the
// first ','), in the order first met.
struct RecordLists {
    QStringList folders;  // [DeleteFolder] Folder<n>
    QStringList files;  // [DeleteFile] File<n>, path + option text
    QStringList shortcuts;  // [DeleteShortCut] File<n>
    QStringList registry;  // [DeleteRegistry] Key<n>
    QStringList extraFiles;  // [AddDeleteFile] File<n>

    // The lists of an old record, to start a reinstall's lists from.
    static RecordLists fromRecord(const Script& record);
};

// Adds `entry` at the place of an entry for the same path (compared exactly:
// names differing in case are different files here), or at the end. A file recorded as shared ("/S") stays
// shared when `keepShared` is set.
void placeEntry(QStringList& list, const QString& entry, bool keepShared = false);

// What the record says besides the lists.
struct RecordHeader {
    QString uninstallTitle;
    QString installFolder;  // with trailing '/'
    QStringList restoreRelate;  // the 20 restore slots
    QStringList restoreDesktop;  // the 20 desktop slots "ext,type,previous default"
    QString unSetupOption;  // the script's [Extend] UnSetupOption, may be empty
    QString setupString;
    QString unSetupString;
    QString uninstallKey;  // the subkey name under the system's Uninstall key
    QString programId;
};

// The registry key of the system's uninstall entries (under HKEY_LOCAL_MACHINE).
inline const QString kUninstallKeyBase =
    QStringLiteral("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\");

// The record section of what the associations changed on the desktop.
inline const QString kDesktopRestoreSection = QStringLiteral("RestoreDesktop");

// Writes the record at `path`, replacing an old one whole (the old one stays
// when the new one cannot be written), showing a status text before each
// list. False when the file could not be written.
bool writeRecord(RunContext& ctx, const QString& path, const RecordHeader& header, const RecordLists& lists);

}  // namespace setup
