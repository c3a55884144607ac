#include "setup/engine/WorkFolder.h"

#include "platform/AtomicFile.h"
#include "setup/engine/FileOps.h"

#include <QFile>
#include <QStringList>

#include <sys/stat.h>
#include <unistd.h>

namespace setup {

namespace {

const QString kOwnerFile = QStringLiteral("OWNER");

QByteArray readSmall(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(4096) : QByteArray();
}

// The start time of process `pid` in clock ticks since boot (field 22 of its
// stat line), empty when the process does not exist.
QByteArray processStart(qint64 pid)
{
    const QByteArray stat = readSmall(QStringLiteral("/proc/%1/stat").arg(pid));
    const qsizetype nameEnd = stat.lastIndexOf(')');
    if (nameEnd < 0)
        return {};
    // Fields from the third on, after the command name in parentheses.
    const QList<QByteArray> fields = stat.mid(nameEnd + 2).split(' ');
    return fields.size() > 19 ? fields[19] : QByteArray();
}

QByteArray bootId() { return readSmall(QStringLiteral("/proc/sys/kernel/random/boot_id")).trimmed(); }

QByteArray ownerMark(qint64 pid)
{
    return QByteArray::number(pid) + ' ' + processStart(pid) + ' ' + bootId();
}

bool isOwnDirectory(const QString& folder)
{
    struct stat st {};
    return ::lstat(QFile::encodeName(withoutSlash(folder)).constData(), &st) == 0 && S_ISDIR(st.st_mode) &&
           st.st_uid == ::geteuid();
}

}  // namespace

bool markWorkFolder(const QString& folder)
{
    return platform::replaceFileAtomically(folder + kOwnerFile, ownerMark(::getpid()));
}

QString copyJournal(const QString& folder) { return folder + QStringLiteral("PARTIAL"); }

bool workFolderOwnerAlive(const QString& folder)
{
    const QByteArray mark = readSmall(folder + kOwnerFile).trimmed();
    const QList<QByteArray> parts = mark.split(' ');
    bool ok = false;
    const qint64 pid = parts.value(0).toLongLong(&ok);
    if (!ok || pid <= 0 || parts.size() != 3 || parts[1].isEmpty())
        return true;
    return ownerMark(pid) == mark;
}

int removeStaleWorkFolders(const QString& tempFolder)
{
    int removed = 0;
    for (int n = 1; n <= 99; ++n) {
        const QString folder = tempFolder + "ONTMP" + QString::number(n) + u'/';
        if (!isOwnDirectory(folder) || workFolderOwnerAlive(folder))
            continue;
        // A copy the dead run left half-written beside its destination.
        const QString partial = QString::fromUtf8(readSmall(copyJournal(folder)));
        struct stat st {};
        if (fileNameOf(partial).contains(kPartialMark) &&
            ::lstat(QFile::encodeName(partial).constData(), &st) == 0 && S_ISREG(st.st_mode))
            QFile::remove(partial);
        if (removeTree(folder))
            ++removed;
    }
    return removed;
}

}  // namespace setup
