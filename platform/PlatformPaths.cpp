// Platform locations: the freedesktop folders of the user, or the same layout
// below the sandbox folder when TAV_SANDBOX is set.
#include "platform/PlatformPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace platform {

namespace {

QString ensured(const QString& folder)
{
    QDir().mkpath(folder);
    return QDir::cleanPath(folder);
}

// An XDG base folder: the variable when it holds an absolute path, else the
// documented default below the home folder.
QString xdgFolder(const char* variable, const QString& fallbackBelowHome)
{
    const QString value = qEnvironmentVariable(variable);
    if (!value.isEmpty() && QDir::isAbsolutePath(value))
        return value;
    return QDir::homePath() + u'/' + fallbackBelowHome;
}

QString standardOr(QStandardPaths::StandardLocation location, const QString& fallbackBelowHome)
{
    const QString path = QStandardPaths::writableLocation(location);
    return path.isEmpty() ? QDir::homePath() + u'/' + fallbackBelowHome : path;
}

QString realFolder(SpecialFolder folder)
{
    switch (folder) {
    case SpecialFolder::Home: return QDir::homePath();
    case SpecialFolder::Desktop: return standardOr(QStandardPaths::DesktopLocation, "Desktop");
    case SpecialFolder::Documents: return standardOr(QStandardPaths::DocumentsLocation, "Documents");
    case SpecialFolder::StartMenuPrograms:
        return xdgFolder("XDG_DATA_HOME", ".local/share") + "/applications";
    case SpecialFolder::Startup: return xdgFolder("XDG_CONFIG_HOME", ".config") + "/autostart";
    case SpecialFolder::AppData: return xdgFolder("XDG_DATA_HOME", ".local/share");
    case SpecialFolder::ProgramFiles: return QDir::homePath() + "/.local/opt";
    case SpecialFolder::Windows: return xdgFolder("XDG_DATA_HOME", ".local/share") + "/windows";
    case SpecialFolder::System: return xdgFolder("XDG_DATA_HOME", ".local/share") + "/windows/system";
    case SpecialFolder::Fonts: return xdgFolder("XDG_DATA_HOME", ".local/share") + "/fonts";
    case SpecialFolder::Temp: return QDir::tempPath();
    }
    return QDir::homePath();
}

QString sandboxFolder(const QString& root, SpecialFolder folder)
{
    const QString home = root + "/home";
    switch (folder) {
    case SpecialFolder::Home: return home;
    case SpecialFolder::Desktop: return home + "/Desktop";
    case SpecialFolder::Documents: return home + "/Documents";
    case SpecialFolder::StartMenuPrograms: return home + "/.local/share/applications";
    case SpecialFolder::Startup: return home + "/.config/autostart";
    case SpecialFolder::AppData: return home + "/.local/share";
    case SpecialFolder::ProgramFiles: return home + "/.local/opt";
    case SpecialFolder::Windows: return home + "/.local/share/windows";
    case SpecialFolder::System: return home + "/.local/share/windows/system";
    case SpecialFolder::Fonts: return home + "/.local/share/fonts";
    case SpecialFolder::Temp: return root + "/tmp";
    }
    return home;
}

}  // namespace

QString sandboxRoot()
{
    const QString root = qEnvironmentVariable(kSandboxVariable);
    if (root.isEmpty())
        return {};
    return ensured(QDir(root).absolutePath());
}

QString registryStorePath()
{
    const QString root = sandboxRoot();
    const QString folder = root.isEmpty() ? xdgFolder("XDG_DATA_HOME", ".local/share") + "/Kavano" : root;
    return ensured(folder) + "/registry.sqlite3";
}

QString specialFolder(SpecialFolder folder)
{
    const QString root = sandboxRoot();
    return ensured(root.isEmpty() ? realFolder(folder) : sandboxFolder(root, folder));
}

QString programFolder()
{
    static const QString folder = [] {
        QString dir = QCoreApplication::instance()
                          ? QCoreApplication::applicationDirPath()
                          : QFileInfo(QFileInfo("/proc/self/exe").symLinkTarget()).absolutePath();
        if (!dir.endsWith(u'/'))
            dir += u'/';
        return dir;
    }();
    return folder;
}

}  // namespace platform
