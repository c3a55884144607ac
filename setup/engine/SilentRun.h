// The unattended run: "setup --silent" installs with every default of the
// main window, "UNONSET.EXE --silent <record>" uninstalls; no window opens.
// Messages and the error log go to the standard error stream, questions get
// their default answer (below), and the exit status tells the outcome.
#pragma once

#include <QString>

namespace platform {
class Registry;
}

namespace setup {

struct SystemFolders;

// The first argument that asks for the unattended run.
inline const QString kSilentOption = QStringLiteral("--silent");

// Exit statuses of the unattended run.
enum SilentStatus {
    kSilentDone = 0,  // every step ran
    kSilentIncomplete = 1,  // finished, but some steps failed or were refused
    kSilentStopped = 2,  // refused at start or stopped by a question's default
};

// Runs `programFile` started with `argument` (the script's or the record's
// path, or empty) without windows; returns the exit status.
int runSilent(const QString& programFile, const QString& argument, const SystemFolders& system,
              platform::Registry& registry);

}  // namespace setup
