// The install run's shortcuts: the entries of [ShortCut] become desktop
// entry files (the desktop's launchers) on the desktop, in the Programs
// folder, the Startup folder, the Send To folder or wherever the script names.
#pragma once

#include "setup/engine/RunContext.h"

#include <QString>
#include <QStringList>

namespace setup {

// The main window's four shortcut boxes, read once when the run starts.
struct ShortcutBoxes {
    bool desktop = true, startMenu = true, startup = true, sendTo = true;
};

// Whether the box that governs a shortcut of `name` (the unexpanded
// [ShortCut] Name<n>) lets it be made: "(Dsk)"-like names follow the desktop
// box, "(Sta)"-like names and "Default" the Start Menu box, then Startup and
// Send To; any other name is always made.
bool shortcutAllowed(const QString& name, const ShortcutBoxes& boxes);

// Makes one link to `target` named `linkName` (a path without or with the
// extension ".desktop" or ".lnk"; a link name naming a folder gets the
// target's file name). `workFolder` is used when it exists, else the
// target's folder. A target that is itself a link file is copied. Returns
// the path of the link file made, or an empty text when none could be made.
QString makeShortcut(const QString& target, const QString& linkName, const QString& workFolder,
                     const QString& arguments);

// The applications-menu entry "Uninstall <product>" that starts `uninstaller`
// with the uninstall record `record`, made in `menuFolder` (the folder of
// the product's menu shortcuts) as "uninstall-<key>.desktop". Returns the
// file made, or an empty text.
QString makeUninstallEntry(const QString& menuFolder, const QString& key, const QString& product,
                           const QString& unSetupString, const QString& uninstaller, const QString& record);

// The [ShortCut] step: returns the link files made, in order (for the
// uninstall record's shortcut list). Throws RunAborted on abort.
QStringList makeShortcuts(RunContext& ctx, const ShortcutBoxes& boxes);

}  // namespace setup
