// The install run: carries the script out in a fixed order (space check,
// install folder, folders, files, shortcuts, registry values, INI entries,
// associations, the uninstaller and its record, the report of failed steps
// and the final program start). Window-free: it talks to the user through
// SetupUi and the prompt service.
#pragma once

#include "setup/engine/Session.h"
#include "setup/engine/SetupUi.h"
#include "setup/engine/Shortcuts.h"

#include <optional>

namespace platform {
class Registry;
}

namespace setup {

// What the main window holds when the start button is pressed.
struct InstallChoices {
    QString folder;  // the folder field's text
    bool overwrite = false;
    ShortcutBoxes boxes;
};

enum class RunEnd {
    Finished,  // every step ran
    Stopped,  // a fatal stop: the user declined to go on, or a step could not
    Aborted,  // the user aborted from the progress window
    Incomplete,  // every step ran, but some failed or were refused
};

// The folder field made absolute ("~" expanded, "\\" read as "/"), with a
// trailing '/'; nullopt for a folder that cannot be made absolute.
std::optional<QString> installFolderFor(const QString& field, const SystemFolders& system);
// The message for such a folder.
QString relativeFolderMessage(const QString& field, const QString& setupString);

RunEnd runInstall(Session& session, const InstallChoices& choices, SetupUi& ui, platform::Registry& registry);

}  // namespace setup
