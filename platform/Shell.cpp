// Opening with the associated program, and the freedesktop trash. With a
// sandbox the trash is <sandbox>/Trash, laid out like the real one.
#include "platform/Shell.h"

#include "platform/PlatformPaths.h"

#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

#include <fcntl.h>
#include <unistd.h>

namespace platform {

namespace {

// "mailto:x", "https://..." are addresses; "/home/..", "a.jpg", "C:\..." are paths.
bool isAddress(const QString& s)
{
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    return scheme.match(s).hasMatch();
}

// Creates the .trashinfo exclusively, which also reserves the name in files/.
bool writeTrashInfo(const QString& infoPath, const QString& original)
{
    const QByteArray name = QFile::encodeName(infoPath);
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    const QByteArray text =
        "[Trash Info]\nPath=" + QUrl::toPercentEncoding(original, "/") +
        "\nDeletionDate=" + QDateTime::currentDateTime().toString(Qt::ISODate).left(19).toUtf8() + "\n";
    const bool ok = ::write(fd, text.constData(), size_t(text.size())) == text.size();
    return (::close(fd) == 0) && ok;
}

bool moveToSandboxTrash(const QString& root, const QString& path)
{
    const QFileInfo source(path);
    const QString files = root + "/Trash/files";
    const QString info = root + "/Trash/info";
    if (!QDir().mkpath(files) || !QDir().mkpath(info))
        return false;

    const QString base = source.fileName();
    for (int n = 1; n < 10000; ++n) {
        const QString name = n == 1 ? base : QStringLiteral("%1.%2").arg(base).arg(n);
        const QString infoPath = info + u'/' + name + ".trashinfo";
        if (QFileInfo::exists(files + u'/' + name))
            continue;
        if (!writeTrashInfo(infoPath, source.absoluteFilePath()))
            continue;  // name taken by another trash entry
        const bool moved = source.isDir() ? QDir().rename(source.absoluteFilePath(), files + u'/' + name)
                                          : QFile::rename(source.absoluteFilePath(), files + u'/' + name);
        if (moved)
            return true;
        QFile::remove(infoPath);
        return false;
    }
    return false;
}

}  // namespace

bool shellOpen(const QString& pathOrUrl)
{
    if (pathOrUrl.isEmpty())
        return false;
    const QUrl url = isAddress(pathOrUrl) ? QUrl(pathOrUrl) : QUrl::fromLocalFile(pathOrUrl);
    return QDesktopServices::openUrl(url);
}

bool moveToTrash(const QString& path)
{
    const QFileInfo source(path);
    if (!source.exists() && !source.isSymLink())
        return false;
    const QString root = sandboxRoot();
    if (!root.isEmpty())
        return moveToSandboxTrash(root, path);
    return QFile::moveToTrash(path);
}

}  // namespace platform
