#include "platform/DdeWire.h"

#include "platform/PlatformPaths.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <cerrno>
#include <ctime>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace platform::dde {
namespace {

// Creates `path` with mode 0700 when absent and checks that it is a real
// folder of this user that nobody else may enter.
bool makePrivateFolder(const QString& path)
{
    const QByteArray native = QFile::encodeName(path);
    if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST)
        return false;
    struct stat st {};
    if (::lstat(native.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid())
        return false;
    if ((st.st_mode & 0077) != 0 && ::chmod(native.constData(), 0700) != 0)
        return false;
    return true;
}

QString preferredFolder()
{
    const QString sandbox = sandboxRoot();
    if (!sandbox.isEmpty())
        return sandbox + QStringLiteral("/dde");
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir(runtime).exists())
        return runtime + QStringLiteral("/tav-dde");
    return QDir::tempPath() + QStringLiteral("/tav-dde-%1").arg(::getuid());
}

// The longest service name plus the separator.
constexpr int kServiceRoom = 33;

}  // namespace

QString endpointFolder()
{
    QString folder = preferredFolder();
    // A socket path is limited to sizeof(sun_path) bytes; a deep sandbox
    // folder moves to a short one named after it in the temporary folder.
    if (QFile::encodeName(folder).size() + kServiceRoom >= int(sizeof(sockaddr_un::sun_path))) {
        const QByteArray hash = QCryptographicHash::hash(folder.toUtf8(), QCryptographicHash::Sha1).toHex();
        folder = QStringLiteral("/tmp/tav-dde-%1-%2").arg(::getuid()).arg(QString::fromLatin1(hash.left(16)));
    }
    if (!sandboxRoot().isEmpty())
        QDir().mkpath(sandboxRoot());
    return makePrivateFolder(folder) ? folder : QString();
}

QString endpointPath(const QString& service)
{
    static const QRegularExpression validName(QStringLiteral("^[A-Za-z0-9_-]{1,32}$"));
    if (!validName.match(service).hasMatch())
        return {};
    const QString folder = endpointFolder();
    return folder.isEmpty() ? QString() : folder + QLatin1Char('/') + service;
}

bool peerIsSameUser(int fd)
{
    struct ucred cred {};
    socklen_t len = sizeof(cred);
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &cred, &len) == 0 && len == sizeof(cred) &&
           cred.uid == ::getuid();
}

std::int64_t nowMs()
{
    timespec ts{};
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    return std::int64_t(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

void enlargeSocketBuffers(int fd)
{
    const int bytes = 4 << 20;
    ::setsockopt(fd, SOL_SOCKET, SO_SNDBUF, &bytes, sizeof(bytes));
    ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &bytes, sizeof(bytes));
}

}  // namespace platform::dde
