// Whole-file replacement through a temporary file, fsync(2) and rename(2),
// and the removal of temporaries that killed saves left behind.
#include "platform/AtomicFile.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// A temporary nobody has written for this long belongs to no save still running.
constexpr time_t kStaleAgeSeconds = 60 * 60;
// How much of the target's name a temporary's name repeats: enough to tell
// whose it is, little enough that a long name still leaves room for the rest.
constexpr qsizetype kNameStartChars = 40;

QByteArray fileText(const char* path)
{
    QFile file(QString::fromLatin1(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed() : QByteArray();
}

// Process ids mean something only within one boot of one machine and one
// process namespace: eight hex digits naming that, or empty when unknown.
const QString& bootTag()
{
    static const QString tag = [] {
        const QByteArray boot = fileText("/proc/sys/kernel/random/boot_id");
        char ns[64] = {};
        const ssize_t n = ::readlink("/proc/self/ns/pid", ns, sizeof(ns) - 1);
        if (boot.isEmpty() || n <= 0)
            return QString();
        const QByteArray hash =
            QCryptographicHash::hash(boot + '/' + QByteArray(ns, n), QCryptographicHash::Sha1);
        return QString::fromLatin1(hash.toHex().left(8));
    }();
    return tag;
}

QString temporaryName(const QString& targetName)
{
    QString start = targetName.left(kNameStartChars);
    if (!start.isEmpty() && start.back().isHighSurrogate())
        start.chop(1);
    const QString tag = bootTag().isEmpty() ? QStringLiteral("00000000") : bootTag();
    return QLatin1Char('.') + start + QStringLiteral(".tmp-") + tag + QLatin1Char('-') +
           QString::number(::getpid()) + QLatin1Char('-') +
           QStringLiteral("%1").arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
}

bool processGone(const QString& pid)
{
    bool ok = false;
    const long id = pid.toLong(&ok);
    return ok && id > 0 && ::kill(pid_t(id), 0) != 0 && errno == ESRCH;
}

bool isStale(const QString& name, const struct stat& st)
{
    static const QRegularExpression current(
        QStringLiteral("^\\..*\\.tmp-([0-9a-f]{8})-([0-9]{1,10})-[0-9a-f]{8}$"));
    static const QRegularExpression earlier(
        QStringLiteral("^\\..+\\.tmp-[0-9a-f]{1,8}$|^\\.tav[0-9a-f]{8}\\.tmp$"));
    const QRegularExpressionMatch match = current.match(name);
    if (!match.hasMatch() && !earlier.match(name).hasMatch())
        return false;
    const bool ours = match.hasMatch() && !bootTag().isEmpty() && match.captured(1) == bootTag();
    if (ours && processGone(match.captured(2)))
        return true;
    return ::time(nullptr) - st.st_mtim.tv_sec > kStaleAgeSeconds;
}

QString resolvedTarget(const QString& path)
{
    const QFileInfo info(path);
    if (info.isSymLink()) {
        const QString target = info.canonicalFilePath();
        if (!target.isEmpty())
            return target;
    }
    return info.absoluteFilePath();
}

void syncFolder(const QByteArray& folder)
{
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);  // some file systems cannot; the rename has happened anyway
        ::close(fd);
    }
}

// The steps both replacements share: `fill` writes the temporary through the
// descriptor it is given or by its name, and returns the descriptor to flush
// (opened anew when it wrote by name), or -1 on failure.
template <typename Fill>
bool replaceWith(const QString& path, Fill fill)
{
    const QString target = resolvedTarget(path);
    const QByteArray targetName = QFile::encodeName(target);
    const QFileInfo info(target);

    struct stat old {};
    const bool exists = ::stat(targetName.constData(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode))
        return false;
    removeStaleTemporaries(info.absolutePath());

    QByteArray tempName;
    int fd = -1;
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        tempName = QFile::encodeName(info.absolutePath() + QLatin1Char('/') + temporaryName(info.fileName()));
        fd = ::open(tempName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return false;
    }
    if (fd < 0)
        return false;

    fd = fill(fd, tempName);
    bool ok = fd >= 0;
    if (ok && exists)
        ok = ::fchmod(fd, old.st_mode & 07777) == 0;
    // On the disk before the rename: a power cut then leaves the old file or the new one, never an empty one.
    if (ok)
        ok = ::fsync(fd) == 0;
    if (fd >= 0)
        ok = (::close(fd) == 0) && ok;
    if (ok)
        ok = ::rename(tempName.constData(), targetName.constData()) == 0;
    if (!ok) {
        ::unlink(tempName.constData());
        return false;
    }
    syncFolder(QFile::encodeName(info.absolutePath()));
    return true;
}

}  // namespace

bool replaceFileAtomically(const QString& path, const QByteArray& bytes)
{
    return replaceWith(path, [&bytes](int fd, const QByteArray&) {
        if (writeAll(fd, bytes.constData(), bytes.size()))
            return fd;
        ::close(fd);
        return -1;
    });
}

bool replaceFileThrough(const QString& path, const std::function<bool(const QString& temporary)>& write)
{
    return replaceWith(path, [&write](int fd, const QByteArray& tempName) {
        ::close(fd);
        if (!write(QFile::decodeName(tempName)))
            return -1;
        return ::open(tempName.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    });
}

int removeStaleTemporaries(const QString& folder)
{
    DIR* dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return 0;
    int removed = 0;
    while (const dirent* entry = ::readdir(dir)) {
        // Cheap tests first: folders of many pictures hold few hidden files.
        if (entry->d_name[0] != '.' || !std::strstr(entry->d_name, ".tmp"))
            continue;
        struct stat st {};
        if (::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode))
            continue;
        if (isStale(QFile::decodeName(entry->d_name), st) && ::unlinkat(::dirfd(dir), entry->d_name, 0) == 0)
            ++removed;
    }
    ::closedir(dir);
    return removed;
}

bool writeAll(int fd, const char* data, qint64 size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size_t(size));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

}  // namespace platform
