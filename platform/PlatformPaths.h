// Where the platform keeps things. Setting the environment variable
// TAV_SANDBOX to a folder moves every platform location (the registry store,
// the special folders, the trash) below that folder, so tests and trial runs
// never touch the user's real home folder.
#pragma once

#include <QString>

namespace platform {

inline constexpr const char* kSandboxVariable = "TAV_SANDBOX";

// The sandbox folder, or an empty string when none is set.
QString sandboxRoot();

// The registry database file.
QString registryStorePath();

// The special folders the programs and the installer name.
enum class SpecialFolder {
    Home,
    Desktop,
    Documents,
    StartMenuPrograms,  // menu entries (freedesktop applications folder)
    Startup,  // programs started at log-in (autostart)
    AppData,  // per-user data
    ProgramFiles,  // where programs are installed
    Windows,  // the system folder of the installer's macros
    System,
    Fonts,
    Temp,
};

// The folder, without a trailing separator. Created when absent.
QString specialFolder(SpecialFolder folder);

// The folder of the running program, with a trailing '/'. Computed once.
QString programFolder();

}  // namespace platform
