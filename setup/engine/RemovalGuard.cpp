#include "setup/engine/RemovalGuard.h"

#include "setup/engine/FileOps.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace setup {

namespace {

// Both spellings of a folder: as written, and with its links resolved.
void addFolder(QStringList& list, const QString& folder)
{
    if (folder.isEmpty() || !folder.startsWith(u'/'))
        return;
    const QString clean = QDir::cleanPath(folder);
    if (!list.contains(clean))
        list << clean;
    const QString real = QFileInfo(clean).canonicalFilePath();
    if (!real.isEmpty() && !list.contains(real))
        list << real;
}

bool isAtOrBelow(const QString& path, const QString& folder)
{
    return path == folder || path.startsWith(folder == u"/" ? folder : folder + u'/');
}

// The path as written and as it resolves: a link may lead elsewhere.
QStringList spellings(const QString& path)
{
    QStringList list;
    addFolder(list, path);
    const QFileInfo info(QDir::cleanPath(path));
    // The file itself is not resolved (removing a link removes the link), its folder is.
    const QString realFolder = QFileInfo(info.absolutePath()).canonicalFilePath();
    if (!realFolder.isEmpty())
        addFolder(list, realFolder + u'/' + info.fileName());
    return list;
}

int depth(const QString& cleanPath) { return cleanPath == u"/" ? 0 : int(cleanPath.count(u'/')); }

}  // namespace

RemovalGuard::RemovalGuard(const SystemFolders& system, const FolderTable& folders)
{
    for (const QString& home : {QDir::homePath(), system.home})
        addFolder(m_homes, home);
    using SP = QStandardPaths;
    const SP::StandardLocation userLocations[] = {
        SP::DesktopLocation,  SP::DocumentsLocation, SP::DownloadLocation,    SP::MusicLocation,
        SP::PicturesLocation, SP::MoviesLocation,    SP::PublicShareLocation, SP::TemplatesLocation};
    for (const SP::StandardLocation location : userLocations) {
        const QString folder = SP::writableLocation(location);
        if (!m_homes.contains(QDir::cleanPath(folder)))
            addFolder(m_userFolders, folder);
    }
    for (const QString& home : QStringList(m_homes)) {
        for (const char* name :
             {"Desktop", "Documents", "Downloads", "Music", "Pictures", "Videos", "Public", "Templates"})
            addFolder(m_userFolders, home + u'/' + QLatin1String(name));
        addFolder(m_desktops, home + QStringLiteral("/Desktop"));
        for (const char* base : {".config", ".local", ".local/share", ".local/bin", ".local/state", ".cache"})
            addFolder(m_protected, home + u'/' + QLatin1String(base));
    }
    addFolder(m_desktops, system.desktop);
    addFolder(m_desktops, system.commonDesktop);
    addFolder(m_desktops, SP::writableLocation(SP::DesktopLocation));
    for (const QString& folder : m_desktops)
        addFolder(m_userFolders, folder);
    m_protected << m_homes << m_userFolders;
    for (const QString& folder :
         {system.windows, system.system, system.temp, system.programFiles, system.startMenu, system.programs,
          system.startup, system.sendTo, system.commonStartMenu, system.commonPrograms, system.commonStartup})
        addFolder(m_protected, folder);
    for (const QString& macro : folderMacroNames())
        if (macro != u"(App)" && macro != u"(Set)")
            addFolder(m_protected, folders.folder(macro));
}

QString RemovalGuard::pathFault(const QString& path) const
{
    if (!path.startsWith(u'/'))
        return QStringLiteral("絶対パスではないため，削除しませんでした．");
    for (const QString& part : path.split(u'/'))
        if (part == u"." || part == u"..")
            return QStringLiteral("「.」「..」を含むパスのため，削除しませんでした．");
    return {};
}

bool RemovalGuard::guardsFolder(const QString& folder) const
{
    for (const QString& spelling : spellings(folder)) {
        if (depth(spelling) <= 1)
            return true;
        for (const QString& guarded : m_protected)
            if (isAtOrBelow(guarded, spelling))
                return true;
    }
    return false;
}

bool RemovalGuard::insideUserFolder(const QString& path) const
{
    for (const QString& spelling : spellings(path))
        for (const QString& folder : m_userFolders)
            if (spelling != folder && isAtOrBelow(spelling, folder))
                return true;
    return false;
}

bool RemovalGuard::isDesktopLauncher(const QString& path) const
{
    if (!path.endsWith(QStringLiteral(".desktop")))
        return false;
    for (const QString& spelling : spellings(path))
        if (!m_desktops.contains(QDir::cleanPath(folderOf(spelling))))
            return false;
    return true;
}

QString RemovalGuard::refuseFile(const QString& path) const
{
    if (QString fault = pathFault(path); !fault.isEmpty())
        return fault;
    const QFileInfo info(path);
    if (info.isDir() && !info.isSymLink())
        return QStringLiteral("フォルダのため，ファイルとしては削除しませんでした．");
    if (guardsFolder(path))
        return QStringLiteral("システムや個人用のフォルダのため，削除しませんでした．");
    for (const QString& spelling : spellings(path)) {
        const QString folder = QDir::cleanPath(folderOf(spelling));
        if (depth(folder) <= 1 || m_homes.contains(folder))
            return QStringLiteral("ルート・最上位・ホームフォルダ直下のファイルのため，削除しませんでした．");
    }
    if (insideUserFolder(path) && !isDesktopLauncher(path))
        return QStringLiteral("個人用のフォルダの中のファイルのため，削除しませんでした．");
    return {};
}

QString RemovalGuard::refuseWildcard(const QString& pattern, const QString& installFolder) const
{
    if (QString fault = pathFault(pattern); !fault.isEmpty())
        return fault;
    const QString folder = folderOf(pattern);
    if (installFolder.isEmpty() || !isAtOrBelow(QDir::cleanPath(folder), QDir::cleanPath(installFolder)))
        return QStringLiteral("インストールフォルダの外のワイルドカードのため，削除しませんでした．");
    if (folder.contains(u'*') || folder.contains(u'?'))
        return QStringLiteral("フォルダ名にワイルドカードを含むため，削除しませんでした．");
    if (QString refusal = refuseFolder(folder); !refusal.isEmpty())
        return QStringLiteral("ワイルドカードの") + refusal;
    return {};
}

QString RemovalGuard::refuseFolder(const QString& folder) const
{
    if (QString fault = pathFault(folder); !fault.isEmpty())
        return fault;
    if (guardsFolder(folder))
        return QStringLiteral(
            "システムや個人用のフォルダ(またはそれを含むフォルダ)のため，削除しませんでした．");
    if (insideUserFolder(folder))
        return QStringLiteral("個人用のフォルダの中のため，削除しませんでした．");
    return {};
}

}  // namespace setup
