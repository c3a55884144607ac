#include "setup/engine/Shortcuts.h"

#include "platform/AtomicFile.h"
#include "setup/engine/DesktopEntry.h"
#include "setup/engine/FileOps.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

namespace setup {

namespace {

const QString kDesktopSuffix = QStringLiteral(".desktop");
const QString kLnkSuffix = QStringLiteral(".lnk");

bool isDelimiter(QChar c) { return c == u'/' || c == u'\\'; }

// The last name of a path, also for a folder written with a trailing '/'.
QString lastName(const QString& path) { return QFileInfo(QDir::cleanPath(path)).fileName(); }

// A link file: the link name with ".desktop", never a second extension; a
// ".lnk" name becomes ".desktop" so that the desktops recognise it.
QString linkFilePath(const QString& linkName)
{
    if (linkName.endsWith(kDesktopSuffix, Qt::CaseInsensitive))
        return linkName;
    if (linkName.endsWith(kLnkSuffix, Qt::CaseInsensitive))
        return linkName.chopped(kLnkSuffix.size()) + kDesktopSuffix;
    return linkName + kDesktopSuffix;
}

bool isLinkFile(const QString& path)
{
    return path.contains(kLnkSuffix, Qt::CaseInsensitive) ||
           path.contains(kDesktopSuffix, Qt::CaseInsensitive);
}

// The Exec line: a program with its arguments, any other target opened by
// the desktop's opener (which takes the target alone).
QString execLine(const QString& target, const QString& arguments)
{
    const QFileInfo info(target);
    if (!(info.isFile() && info.isExecutable()))
        return QStringLiteral("xdg-open ") + execWord(target);
    QString line = execWord(target);
    for (const QString& word : QProcess::splitCommand(arguments))
        line += u' ' + execWord(word);
    return line;
}

}  // namespace

bool shortcutAllowed(const QString& name, const ShortcutBoxes& boxes)
{
    const auto has = [&](const char* kind) {
        return name.contains(QLatin1String(kind), Qt::CaseInsensitive);
    };
    if (has("Dsk)"))
        return boxes.desktop;
    if (has("Sta)") || name == u"Default")
        return boxes.startMenu;
    if (has("Sup)"))
        return boxes.startup;
    if (has("Sen)"))
        return boxes.sendTo;
    return true;
}

QString makeShortcut(const QString& target, const QString& linkName, const QString& workFolder,
                     const QString& arguments)
{
    if (target.isEmpty())
        return {};
    QString link = linkName;
    if (link.isEmpty() || isDelimiter(link.back()))
        link += lastName(target);
    const QString file = linkFilePath(link);
    const QFileInfo fileInfo(file);
    // A relative link path means a folder macro stayed unresolved: no link
    // is put into whatever the current folder happens to be.
    if (lastName(link).isEmpty() || !fileInfo.isAbsolute())
        return {};

    QString folder = workFolder;
    if (folder.isEmpty() || !QFileInfo(folder).isAbsolute() || !QFileInfo(folder).isDir())
        folder = folderOf(target);
    if (!folder.isEmpty() && !isDelimiter(folder.back()))
        folder += u'/';

    if (!QDir().mkpath(fileInfo.absolutePath()))
        return {};
    if (isLinkFile(target)) {
        QFile source(target);
        if (!source.open(QIODevice::ReadOnly) || !platform::replaceFileAtomically(file, source.readAll()))
            return {};
        // Desktops start only launchers marked executable.
        QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                        QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                        QFile::ExeOther);
        return file;
    }
    DesktopEntry entry;
    entry.name = fileInfo.completeBaseName();
    entry.exec = execLine(target, arguments);
    entry.path = folder;
    entry.icon = iconFor(target);
    return writeDesktopEntry(file, entry) ? file : QString();
}

QString makeUninstallEntry(const QString& menuFolder, const QString& key, const QString& product,
                           const QString& unSetupString, const QString& uninstaller, const QString& record)
{
    // A file name from the key: letters, digits, '-', '_' and '.' only.
    QString name;
    for (QChar c : key)
        name += c.isLetterOrNumber() || c == u'-' || c == u'_' || c == u'.' ? c : QChar(u'-');
    if (menuFolder.isEmpty() || !QDir().mkpath(menuFolder))
        return {};
    const QString file = withSlash(menuFolder) + QStringLiteral("uninstall-") + name + kDesktopSuffix;
    DesktopEntry entry;
    entry.name = QStringLiteral("Uninstall ") + product;
    entry.localName = product + QStringLiteral(" の") + unSetupString;
    entry.exec = execWord(uninstaller) + u' ' + execWord(record);
    entry.icon = QStringLiteral("edit-delete");
    return writeDesktopEntry(file, entry) ? file : QString();
}

QStringList makeShortcuts(RunContext& ctx, const ShortcutBoxes& boxes)
{
    QStringList made;
    const QStringList targets = ctx.script.numbered("ShortCut", "Make");
    for (qsizetype i = 0; i < targets.size(); ++i) {
        QString name = ctx.script.readKey("ShortCut", "Name" + QString::number(i + 1), "Default");
        // A name written empty would make a nameless link: it means the same as no name.
        if (name.isEmpty())
            name = QStringLiteral("Default");
        if (!shortcutAllowed(name, boxes))
            continue;

        const QString expandedTarget = ctx.folders.expandValue(targets[i]);
        const QString target = expandedTarget.section(u',', 0, 0).replace(u'\\', u'/');
        const QString arguments = expandedTarget.section(u',', 1);

        // The target's own name holds no macro, so "Default" always goes to
        // the Programs folder, even for a file name with parentheses.
        const bool isDefault = name == u"Default";
        QString link = isDefault ? lastName(target) : name;
        if (isDefault || (!link.contains(u'(') && !link.contains(u')')))
            link.prepend(QStringLiteral("(Sta)"));
        const QString expandedLink = ctx.expand(link);
        const QString linkName = expandedLink.section(u',', 0, 0);
        const QString workFolder = expandedLink.section(u',', 1);

        ctx.step(QStringLiteral("ショートカットを作成しています．．．\rCreateTarget -> ") + target +
                 QStringLiteral("\rCreating -> ") + linkName);
        const QString file = makeShortcut(target, linkName, workFolder, arguments);
        if (!file.isEmpty())
            made << file;
        ctx.waitStep();
    }
    return made;
}

}  // namespace setup
