// The main window as a tab's command sees it: the batch convention, the
// selection, the tabs' controls and the program-wide settings.
#pragma once

#include "tav/core/BatchLoop.h"

#include <QStringList>

class ControlSurface;
struct AppSettings;

class CommandHost : public BatchHost {
public:
    // Full paths of the selected files, in view order.
    virtual QStringList selectedPaths() const = 0;
    // The browser's current folder.
    virtual QString currentFolder() const = 0;
    virtual AppSettings& settings() = 0;
    // The controls of the tabs as they stand (each command reads its own).
    virtual ControlSurface& controls() = 0;
    // Rewrites the selection status text after a command.
    virtual void file_list3Click() = 0;
    // Reads the current folder again, so that files a command wrote appear.
    virtual void refreshFolder() = 0;
};
