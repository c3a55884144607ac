// The uninstall run: undoes what the uninstall record lists (files, shortcuts,
// folders, registry keys, associations, the system's uninstall entry and the
// install folder), asking before it deletes anything other programs may use,
// and refusing what RemovalGuard refuses.
#pragma once

#include "setup/engine/InstallRun.h"

namespace setup {

// What the main window holds when the start button is pressed.
struct UninstallChoices {
    QString folder;  // the folder field's text
    bool deleteAllLayout = false;  // the record asked for "DeleteAll"
    bool firstBox = false;  // "*.INI" files, or everything in the install folder
    bool secondBox = false;  // "*.GID" files
};

RunEnd runUninstall(Session& session, const UninstallChoices& choices, SetupUi& ui,
                    platform::Registry& registry);

}  // namespace setup
