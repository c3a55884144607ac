#include "setup/engine/DesktopAssociations.h"

#include "platform/AtomicFile.h"
#include "setup/engine/Associations.h"
#include "setup/engine/DesktopEntry.h"
#include "setup/engine/FileOps.h"
#include "setup/engine/MimeAppsList.h"

#include <QDir>
#include <QFile>
#include <QMimeDatabase>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

namespace setup {

namespace {

QString launcherId(const QString& extension) { return extension + QStringLiteral("_auto_file.desktop"); }
QString ownType(const QString& extension) { return "application/x-" + extension.toLower() + "-auto-file"; }
QString packageFile(const DesktopFolders& f, const QString& extension)
{
    return f.data + "/mime/packages/x-" + extension.toLower() + "-auto-file.xml";
}
QString launcherFile(const DesktopFolders& f, const QString& extension)
{
    return f.data + "/applications/" + launcherId(extension);
}

// Refreshes a desktop cache when its tool is installed; the files are valid without it.
void runTool(const char* tool, const QString& folder)
{
    const QString program = QStandardPaths::findExecutable(QLatin1String(tool));
    if (program.isEmpty())
        return;
    QProcess process;
    process.start(program, {folder});
    if (!process.waitForFinished(30000))
        process.kill();
}

// The type the system knows for "*.ext", empty when none.
QString knownType(const QString& extension)
{
    const QString glob = QStringLiteral("*.") + extension;
    for (const QMimeType& type : QMimeDatabase().mimeTypesForFileName(QStringLiteral("x.") + extension))
        if (type.name() != ownType(extension) && type.globPatterns().contains(glob, Qt::CaseInsensitive))
            return type.name();
    return {};
}

QString xmlText(QString text)
{
    return text.replace(u'&', QStringLiteral("&amp;"))
        .replace(u'<', QStringLiteral("&lt;"))
        .replace(u'>', QStringLiteral("&gt;"))
        .replace(u'"', QStringLiteral("&quot;"));
}

// The Exec line of the launcher: "%1" becomes the file's field code, which
// goes last when the command names none.
QString execLine(const Association& a)
{
    QString line = execWord(a.program);
    bool placed = false;
    for (const QString& argument : a.arguments)
        for (const QString& word : QProcess::splitCommand(argument)) {
            const bool isFile = word == u"%1";
            line += u' ' + (isFile ? QStringLiteral("%f") : execWord(word));
            placed = placed || isFile;
        }
    return placed ? line : line + QStringLiteral(" %f");
}

}  // namespace

bool desktopExtension(const QString& extension)
{
    static const QRegularExpression allowed(QStringLiteral("^[A-Za-z0-9_+-]+$"));
    return allowed.match(extension).hasMatch();
}

QString registerWithDesktop(const DesktopFolders& folders, const Association& a, const QString& icon)
{
    if (!folders.usable() || !desktopExtension(a.extension))
        return {};
    QString type = knownType(a.extension);
    if (type.isEmpty()) {
        type = ownType(a.extension);
        const QString package =
            QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                           "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                           "  <mime-type type=\"%1\">\n    <comment>%2</comment>\n"
                           "    <glob pattern=\"*.%3\"/>\n  </mime-type>\n</mime-info>\n")
                .arg(type, xmlText(a.description), a.extension);
        if (!QDir().mkpath(folders.data + "/mime/packages") ||
            !platform::replaceFileAtomically(packageFile(folders, a.extension), package.toUtf8()))
            return {};
        runTool("update-mime-database", folders.data + "/mime");
    }
    DesktopEntry launcher;
    launcher.name = a.description;
    launcher.exec = execLine(a);
    launcher.icon = icon;
    launcher.mimeTypes = type + u';';
    launcher.noDisplay = true;
    if (!QDir().mkpath(folders.data + "/applications") ||
        !writeDesktopEntry(launcherFile(folders, a.extension), launcher))
        return {};
    runTool("update-desktop-database", folders.data + "/applications");

    MimeAppsList list(folders.config + "/mimeapps.list");
    const QString previous = list.value(type);
    const QString ours = launcherId(a.extension) + u';';
    if (previous != ours) {
        list.assign(type, ours);
        if (!list.save())
            return {};
    }
    return a.extension + u',' + type + u',' + (previous == ours ? QString() : previous);
}

void unregisterFromDesktop(const DesktopFolders& folders, const QString& entry)
{
    const QString extension = entry.section(u',', 0, 0);
    const QString type = entry.section(u',', 1, 1);
    const QString previous = entry.section(u',', 2);
    if (!folders.usable() || !desktopExtension(extension) || type.isEmpty() || type.contains(u'/') == false)
        return;
    MimeAppsList list(folders.config + "/mimeapps.list");
    // The user may have chosen another program since: that choice stays.
    if (list.value(type).section(u';', 0, 0) == launcherId(extension)) {
        list.assign(type, previous);
        list.save();
    }
    if (QFile::remove(launcherFile(folders, extension)))
        runTool("update-desktop-database", folders.data + "/applications");
    if (type == ownType(extension) && QFile::remove(packageFile(folders, extension)))
        runTool("update-mime-database", folders.data + "/mime");
}

}  // namespace setup
