#include "setup/engine/Session.h"

#include "platform/PlatformPaths.h"
#include "platform/ProfileFile.h"
#include "platform/Registry.h"
#include "setup/engine/FileOps.h"
#include "setup/engine/WorkFolder.h"

#include <QDir>
#include <QFileInfo>

#include <unistd.h>

namespace setup {

namespace {

const QString kVersionKey = QStringLiteral("SOFTWARE\\Microsoft\\Windows\\CurrentVersion");

// The root of the file system holding `path`: the system has one root for all.
QString driveRoot(const QString& path) { return path.isEmpty() ? QString() : QStringLiteral("/"); }

QString field(const QString& text, int index) { return text.section(u',', index, index); }

QString lastNameOf(const QString& path)
{
    return path.mid(std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\')) + 1);
}

}  // namespace

SystemFolders SystemFolders::current(platform::Registry& registry)
{
    using platform::SpecialFolder;
    using platform::specialFolder;
    SystemFolders f;
    f.home = specialFolder(SpecialFolder::Home);
    f.windows = specialFolder(SpecialFolder::Windows);
    f.system = specialFolder(SpecialFolder::System);
    f.temp = specialFolder(SpecialFolder::Temp);
    const auto programFiles = registry.value(platform::RegRoot::LocalMachine, kVersionKey, "ProgramFilesDir");
    f.programFiles = programFiles && !programFiles->text.isEmpty()
                         ? programFiles->text
                         : specialFolder(SpecialFolder::ProgramFiles);
    f.programs = specialFolder(SpecialFolder::StartMenuPrograms);
    f.startMenu = f.programs;
    f.desktop = specialFolder(SpecialFolder::Desktop);
    f.startup = specialFolder(SpecialFolder::Startup);
    f.sendTo = specialFolder(SpecialFolder::AppData) + "/SendTo";
    // An administrator installs for every user: the system-wide menu and
    // autostart folders. There is no shared desktop, so that stays the user's.
    f.allUsers = geteuid() == 0 && platform::sandboxRoot().isEmpty();
    f.commonPrograms = f.allUsers ? QStringLiteral("/usr/local/share/applications") : f.programs;
    f.commonStartMenu = f.commonPrograms;
    f.commonDesktop = f.desktop;
    f.commonStartup = f.allUsers ? QStringLiteral("/etc/xdg/autostart") : f.startup;
    f.dataHome = f.allUsers ? QStringLiteral("/usr/local/share") : specialFolder(SpecialFolder::AppData);
    f.configHome = f.allUsers ? QStringLiteral("/etc/xdg") : QFileInfo(f.startup).path();
    return f;
}

Session Session::prepare(const QString& programFile, const QString& argument, const SystemFolders& system)
{
    Session s;
    s.system = system;
    s.sourceFolder = folderOf(QFileInfo(programFile).absoluteFilePath());
    const QString temp = system.temp.isEmpty() ? s.sourceFolder : withSlash(system.temp);
    if (system.windows.isEmpty())
        s.fatalText += QStringLiteral("【致命的エラー  →  Windowsフォルダ取得失敗】\r");
    if (system.system.isEmpty())
        s.fatalText += QStringLiteral("【致命的エラー  →  WindowsSystemフォルダ取得失敗】\r");

    FolderTable& t = s.folders;
    const bool programFilesKnown = !system.programFiles.isEmpty() && folderExists(system.programFiles);
    t.set("(Prg)", programFilesKnown ? system.programFiles : driveRoot(system.windows) + "Program Files/");
    t.set("(Win)", system.windows);
    t.set("(Sys)", system.system);
    t.set("(Tmp)", temp);
    t.set("(Boo)", driveRoot(system.windows));
    t.set("(Edr)", driveRoot(s.sourceFolder));
    const auto special = [](const QString& folder) {
        return folder.isEmpty() ? QStringLiteral("/") : folder;
    };
    t.set("(Smn)", special(system.startMenu));
    t.set("(Sta)", special(system.programs));
    t.set("(Dsk)", special(system.desktop));
    t.set("(Sup)", special(system.startup));
    t.set("(Sen)", special(system.sendTo));
    t.set("(C_Smn)", special(system.allUsers ? system.commonStartMenu : system.startMenu));
    t.set("(C_Sta)", special(system.allUsers ? system.commonPrograms : system.programs));
    t.set("(C_Dsk)", special(system.allUsers ? system.commonDesktop : system.desktop));
    t.set("(C_Sup)", special(system.allUsers ? system.commonStartup : system.startup));

    s.mode = lastNameOf(argument) == kUninstallRecord ? Mode::Uninstall : Mode::Install;

    // The folders of earlier runs that were killed go first, copies and all.
    removeStaleWorkFolders(temp);
    for (int n = 1; n <= 99; ++n) {
        s.workFolder = temp + "ONTMP" + QString::number(n) + u'/';
        if (!QFileInfo::exists(s.workFolder)) {
            createFolders(s.workFolder);
            break;
        }
    }
    markWorkFolder(s.workFolder);
    copyOne(programFile, s.workFolder + kSetupCopy);
    if (s.mode == Mode::Install) {
        s.scriptPath = s.workFolder + kSetupScript;
        if (QFileInfo::exists(s.sourceFolder + kSetupScript))
            copyOne(s.sourceFolder + kSetupScript, s.scriptPath);
    } else {
        s.scriptPath = s.workFolder + kUninstallRecord;
        copyOne(QString(argument).replace(u'\\', u'/'), s.scriptPath);
    }
    if (!QFileInfo(s.scriptPath).isFile())
        s.fatalText += QStringLiteral("【致命的エラー  →  iniファイル読み込み失敗】\r");
    s.m_script = std::make_shared<Script>(s.scriptPath);
    if (s.fatalText.isEmpty())
        s.readScriptKeys();
    return s;
}

void Session::readScriptKeys()
{
    const Script& sc = script();
    setupString = sc.readKey("Extend", "SetupString", setupString);
    unSetupString = sc.readKey("Extend", "UnSetupString", unSetupString);
    const QString speed = sc.readKey("Extend", "SetupSpeed", "350").trimmed();
    bool ok = false;
    const int delay = speed.toInt(&ok);
    if (!ok)
        fatalText += QStringLiteral("【致命的エラー  →  SetupSpeedの値「") + speed +
                     QStringLiteral("」が数値ではありません】\r");
    stepDelayMs = std::max(1, ok ? delay : 350);
    installTitle = sc.readKey("Title", "Setup", installTitle);
    uninstallTitle = sc.readKey("Title", "UnSetup", installTitle);
    programId = sc.readKey("ProgramID", "ID");
}

QString Session::defaultFolder(platform::Registry& registry) const
{
    const Script& sc = script();
    QString folder;
    if (mode == Mode::Uninstall) {
        folder = sc.readKey("SetupFolder", "Folder");
    } else {
        folder = sc.readKey("DefaultFolder", "Folder", "(Prg)\\");
        if (!programId.isEmpty()) {
            const QString last = platform::ProfileFile(withSlash(system.windows) + kProgramIds)
                                     .readValue(programId, "Folder")
                                     .value_or(QString());
            if (!last.isEmpty())
                folder = last;
        }
        const QString referRegistry = sc.readKey("DefaultFolder", "ReferRegistry");
        if (!referRegistry.isEmpty()) {
            const auto [root, key] = readRootAndKey(field(referRegistry, 0));
            const auto value = registry.value(root, key, field(referRegistry, 1));
            const bool isText = value && (value->type == platform::RegType::String ||
                                          value->type == platform::RegType::ExpandString);
            if (registry.keyExists(root, key) && isText && !value->text.isEmpty())
                folder = value->text;
        }
        const QString referIni = folders.expandValue(sc.readKey("DefaultFolder", "ReferIniFile"));
        if (!referIni.isEmpty()) {
            const QString value = platform::ProfileFile(field(referIni, 2).replace(u'\\', u'/'))
                                      .readValue(field(referIni, 0), field(referIni, 1))
                                      .value_or(QString());
            if (!value.isEmpty())
                folder = value;
        }
    }
    folder = folders.expand(folder);
    return folder.isEmpty() ? folder : withSlash(folder);
}

void Session::removeWorkFolder() const
{
    if (!workFolder.isEmpty())
        QDir(workFolder).removeRecursively();
}

}  // namespace setup
