// The run-wide state of one start of setup: the mode, the source and work
// folders, the script copy, the folder table and what the script says about
// titles, action words and the step delay. Built once before the main window
// is set up; a fault found on the way goes to the fatal text, which the main
// window shows instead of starting anything.
#pragma once

#include "setup/engine/Macros.h"
#include "setup/engine/Script.h"

#include <QString>
#include <memory>

namespace platform {
class Registry;
}

namespace setup {

enum class Mode { Install, Uninstall };

// The folders the system gives the installer; empty when one is unknown.
struct SystemFolders {
    QString home;  // "~" of a typed install folder
    // Where file associations meet the desktop: the data folder (mime/,
    // applications/) and the config folder (mimeapps.list); empty: not at all.
    QString dataHome, configHome;
    QString windows;
    QString system;
    QString temp;
    QString programFiles;  // the registry's ProgramFilesDir, or empty
    QString startMenu, programs, desktop, startup, sendTo;
    // The all-users counterparts, used only by an administrator's run.
    QString commonStartMenu, commonPrograms, commonDesktop, commonStartup;
    bool allUsers = false;

    // This machine's folders (the sandbox's under TAV_SANDBOX).
    static SystemFolders current(platform::Registry& registry);
};

// The file names the installer uses in its folders.
inline const QString kSetupScript = QStringLiteral("SETUP.INI");
inline const QString kUninstallRecord = QStringLiteral("UNSETUP.INI");
inline const QString kOldRecordCopy = QStringLiteral("UNSETUPO.INI");
inline const QString kSetupCopy = QStringLiteral("SETUPO.EXE");
inline const QString kUninstaller = QStringLiteral("UNONSET.EXE");
inline const QString kProgramIds = QStringLiteral("ONSET98.INI");

class Session {
public:
    // Prepares a run of the program file `programFile` started with
    // `argument` (the first command-line argument, or empty): fills the
    // folder table, makes the work folder, copies the program and the script
    // into it and reads the script's run-wide keys.
    static Session prepare(const QString& programFile, const QString& argument, const SystemFolders& system);

    Mode mode = Mode::Install;
    QString sourceFolder;  // with trailing '/'
    QString workFolder;  // with trailing '/'
    QString scriptPath;
    FolderTable folders;
    SystemFolders system;
    QString fatalText;  // empty when the run may go on

    QString setupString = QStringLiteral("インストール");
    QString unSetupString = QStringLiteral("アンインストール");
    QString installTitle = QStringLiteral("Ondo! Setup 98");
    QString uninstallTitle;
    QString programId;
    int stepDelayMs = 350;
    bool rebootRequested = false;

    bool uninstallSupported() const { return !uninstallTitle.contains("Setup Only.", Qt::CaseInsensitive); }
    const Script& script() const { return *m_script; }
    // The install folder the main window shows first.
    QString defaultFolder(platform::Registry& registry) const;
    // Removes the work folder (end of the program).
    void removeWorkFolder() const;

private:
    void readScriptKeys();
    std::shared_ptr<Script> m_script;
};

}  // namespace setup
