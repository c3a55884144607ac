// What every step of the install and uninstall runs works with: the script,
// the folder table, the windows' view (SetupUi), the registry, the step delay
// and the error log of failed steps.
#pragma once

#include "setup/engine/DesktopAssociations.h"
#include "setup/engine/Macros.h"
#include "setup/engine/Script.h"
#include "setup/engine/SetupUi.h"

#include <QString>

namespace platform {
class Registry;
}

namespace setup {

// Thrown by RunContext::checkAbort once the user aborted; the run catches it
// and stops at once, leaving what it did so far in place.
struct RunAborted {};

class RunContext {
public:
    RunContext(const Script& script, FolderTable& folders, SetupUi& ui, platform::Registry& registry,
               int stepDelayMs)
        : script(script), folders(folders), ui(ui), registry(registry), stepDelayMs(stepDelayMs)
    {}

    QString expand(const QString& text) const { return folders.expand(text); }

    // Shows `text` on the progress window's message line.
    void status(const QString& text) { ui.setStatus(text); }
    // Throws RunAborted when the user aborted.
    void checkAbort()
    {
        if (ui.abortRequested())
            throw RunAborted{};
    }
    // A status text followed by the abort check, the pattern of every step.
    void step(const QString& text)
    {
        status(text);
        checkAbort();
    }
    void waitStep() { ui.pause(stepDelayMs); }

    // One failed step: a header line, a reason line and an empty line.
    void logFailure(const QString& header, const QString& reason)
    {
        errorLog += header + "\r\n" + reason + "\r\n\r\n";
        ++failures;
    }

    const Script& script;
    FolderTable& folders;
    SetupUi& ui;
    platform::Registry& registry;
    int stepDelayMs;
    DesktopFolders desktop;  // where associations meet the desktop; unused when empty
    QString errorLog;
    int failures = 0;
};

}  // namespace setup
