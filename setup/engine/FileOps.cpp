#include "setup/engine/FileOps.h"

#include "platform/AtomicFile.h"
#include "platform/Prompt.h"
#include "platform/Registry.h"
#include "setup/engine/LzExpand.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace setup {

namespace {

const QString kSharedKey = QStringLiteral("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs");

bool hasWildcard(const QString& name) { return name.contains(u'*') || name.contains(u'?'); }

// The source's permission bits with the owner's read and write added.
mode_t sourceMode(const QString& source)
{
    struct stat st {};
    const mode_t bits = ::stat(QFile::encodeName(source).constData(), &st) == 0 ? st.st_mode & 0777 : 0644;
    return bits | S_IRUSR | S_IWUSR;
}

// One file or link, never a folder: a folder is only ever removed empty, by
// its own entry. A library is unregistered first.
int removeFileEntry(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat st {};
    if (::lstat(name.constData(), &st) != 0)
        return errno;
    if (S_ISDIR(st.st_mode))
        return EISDIR;
    if (S_ISREG(st.st_mode) && isLibraryFile(path))
        registerServer(path, false);
    return ::unlink(name.constData()) == 0 ? 0 : errno;
}

// The name a copy is written under before it replaces its destination.
QString temporaryName(const QString& destination)
{
    return folderOf(destination) + u'.' + fileNameOf(destination) + kPartialMark +
           QString::number(QRandomGenerator::global()->generate(), 16);
}

}  // namespace

bool isLibraryFile(const QString& path)
{
    const QString name = fileNameOf(path).toUpper();
    return name.contains(".DLL") || name.contains(".OCX") || name.endsWith(".SO") || name.contains(".SO.");
}

QString withSlash(const QString& path) { return path.endsWith(u'/') ? path : path + u'/'; }

QString withoutSlash(const QString& path)
{
    return path.endsWith(u'/') && path.size() > 1 ? path.chopped(1) : path;
}

QString folderOf(const QString& path) { return path.left(path.lastIndexOf(u'/') + 1); }

QString fileNameOf(const QString& path) { return path.mid(path.lastIndexOf(u'/') + 1); }

bool folderExists(const QString& path) { return !path.isEmpty() && QFileInfo(path).isDir(); }

std::optional<QString> absoluteFolder(const QString& text, const QString& home)
{
    QString path = text.trimmed();
    if (path.startsWith(u'~')) {
        const qsizetype slash = path.indexOf(u'/');
        const QString user = path.mid(1, slash < 0 ? -1 : slash - 1);
        QString userHome = home;
        if (!user.isEmpty()) {
            const passwd* entry = ::getpwnam(QFile::encodeName(user).constData());
            if (!entry)
                return std::nullopt;
            userHome = QFile::decodeName(entry->pw_dir);
        }
        if (userHome.isEmpty())
            return std::nullopt;
        path = withoutSlash(userHome) + (slash < 0 ? QString() : path.mid(slash));
    }
    if (!path.startsWith(u'/'))
        return std::nullopt;
    return withSlash(QDir::cleanPath(path));
}

bool createFolders(const QString& path) { return !path.isEmpty() && QDir().mkpath(path); }

int createFolder(const QString& path)
{
    const QByteArray name = QFile::encodeName(withoutSlash(path));
    if (::mkdir(name.constData(), 0755) == 0)
        return 0;
    return errno;
}

QString systemMessage(int code)
{
    QString text = QString::fromLocal8Bit(std::strerror(code));
    for (QChar& c : text) {
        if (c == u' ')
            c = QChar(0x3000);
        else if (c.unicode() > 0x20 && c.unicode() < 0x7F)
            c = QChar(c.unicode() + 0xFEE0);
    }
    return text;
}

int copyOne(const QString& source, const QString& destination, const QString& journal)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return in.exists() ? EACCES : ENOENT;
    const QFileInfo target(destination);
    if (target.isDir() && !target.isSymLink())
        return EISDIR;
    if (!folderExists(folderOf(destination)))
        return ENOENT;

    // The copy goes to a temporary name beside the destination and replaces
    // it only when whole, so a full disk or a killed run never leaves the
    // old file cut short. The journal names the temporary meanwhile, so that
    // the next start can remove it after a kill.
    const QString temporary = temporaryName(destination);
    if (!journal.isEmpty() && !platform::replaceFileAtomically(journal, temporary.toUtf8()))
        return EIO;
    const QByteArray tempName = QFile::encodeName(temporary);
    const int fd = ::open(tempName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return errno;
    int error = 0;
    char buffer[1 << 16];
    for (;;) {
        const qint64 got = in.read(buffer, sizeof buffer);
        if (got < 0) {
            error = EIO;
            break;
        }
        if (got == 0)
            break;
        if (!platform::writeAll(fd, buffer, got)) {
            error = errno;
            break;
        }
    }
    if (!error && ::fsync(fd) != 0)
        error = errno;
    // The copy keeps the source's date, so a later install can tell whether
    // its file is newer than the one in place.
    const qint64 ms = QFileInfo(in).lastModified().toMSecsSinceEpoch();
    const timespec times[2] = {{0, UTIME_OMIT}, {time_t(ms / 1000), long(ms % 1000) * 1000000}};
    if (!error && ::futimens(fd, times) != 0)
        error = errno;
    const mode_t mode = sourceMode(source);
    if (!error && ::fchmod(fd, mode) != 0)
        error = errno;
    if (::close(fd) != 0 && !error)
        error = errno;
    if (!error && ::rename(tempName.constData(), QFile::encodeName(destination).constData()) != 0)
        error = errno;
    if (error)
        ::unlink(tempName.constData());
    if (!journal.isEmpty())
        QFile::remove(journal);
    return error;
}

std::optional<Expanded> expandCompressed(const QString& source, const QString& destination,
                                         const QString& tempFolder)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = in.readAll();
    Expanded result{withSlash(tempFolder) + "EXPAND.ONS", destination};
    QByteArray data = bytes;
    QChar missing;
    if (isLzCompressed(bytes)) {
        const auto expanded = lzExpand(bytes);
        if (!expanded)
            return std::nullopt;
        data = expanded->data;
        missing = QChar::fromLatin1(expanded->missingChar);
    }
    if (fileNameOf(destination) == u"AUTO.EXT") {
        QString name = fileNameOf(source);
        if (name.endsWith(u'_'))
            name.chop(1);
        if (!missing.isNull() && missing.isPrint())
            name += missing;
        result.destination = folderOf(destination) + name.toUpper();
    }
    QFile::remove(result.temporary);
    QFile out(result.temporary);
    if (!out.open(QIODevice::WriteOnly) || out.write(data) != data.size())
        return std::nullopt;
    return result;
}

bool registerServer(const QString& path, bool doRegister)
{
    using platform::MessageKind;
    const auto fail = [&](const QString& text, const QString& caption) {
        if (doRegister)
            platform::prompts().message(MessageKind::Warning, caption, path + text, platform::Buttons::Ok);
        return false;
    };
    void* library = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!library)
        return fail(QStringLiteral("の読み込みに失敗しました．"),
                    QStringLiteral("OCX/DLL登録エラー(LoadLibrary)"));
    using Entry = long (*)();
    const char* entryName = doRegister ? "DllRegisterServer" : "DllUnregisterServer";
    const auto entry = reinterpret_cast<Entry>(dlsym(library, entryName));
    bool ok = false;
    if (!entry)
        fail(QStringLiteral("のDllRegisterServerエントリが見つかりません．"),
             QStringLiteral("OCX/DLL登録エラー(GetProcAddress)"));
    else if (entry() < 0)
        fail(QStringLiteral("のDllRegisterServer関数が失敗しました．"),
             QStringLiteral("OCX/DLL登録エラー(Procedure)"));
    else
        ok = true;
    dlclose(library);
    return ok;
}

int shellDelete(const QString& path)
{
    const QString name = fileNameOf(path);
    if (!hasWildcard(name))
        return removeFileEntry(path);
    const QString folder = folderOf(path);
    // "*.*" names every entry, as it always did, extensionless ones included.
    const QString pattern = name == u"*.*" ? QStringLiteral("*") : name;
    const QRegularExpression match(QRegularExpression::wildcardToRegularExpression(pattern),
                                   QRegularExpression::CaseInsensitiveOption);
    int result = 0;
    const QDir dir(folder.isEmpty() ? QStringLiteral(".") : folder);
    for (const QString& entry :
         dir.entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        if (!match.match(entry).hasMatch())
            continue;
        const int error = removeFileEntry(dir.filePath(entry));
        if (error && error != EISDIR && !result)
            result = error;
    }
    return result;
}

bool removeTree(const QString& folder) { return QDir(folder).removeRecursively(); }

int removeFolder(const QString& folder)
{
    return ::rmdir(QFile::encodeName(withoutSlash(folder)).constData()) == 0 ? 0 : errno;
}

int sharedCount(platform::Registry& registry, const QString& path)
{
    const auto value = registry.value(platform::RegRoot::LocalMachine, kSharedKey, path);
    if (!value || value->type != platform::RegType::Dword)
        return 0;
    return int(value->number);
}

void sharedCountUp(platform::Registry& registry, const QString& path)
{
    int count = sharedCount(registry, path);
    if (count == 0 && QFileInfo::exists(path))
        count = 1;
    registry.createKey(platform::RegRoot::LocalMachine, kSharedKey);
    registry.setValue(platform::RegRoot::LocalMachine, kSharedKey, path,
                      platform::RegValue::dword(std::uint32_t(count + 1)));
}

int sharedCountDown(platform::Registry& registry, const QString& path)
{
    const int old = sharedCount(registry, path);
    const int count = old - 1;
    if (old == 1 || count < 0)
        registry.deleteValue(platform::RegRoot::LocalMachine, kSharedKey, path);
    else
        registry.setValue(platform::RegRoot::LocalMachine, kSharedKey, path,
                          platform::RegValue::dword(std::uint32_t(count)));
    return count;
}

std::optional<qint64> freeBytes(const QString& folder)
{
    QString probe = withoutSlash(folder);
    while (!probe.isEmpty() && !QFileInfo(probe).isDir())
        probe = withoutSlash(folderOf(probe));
    if (probe.isEmpty())
        return std::nullopt;
    struct statvfs info {};
    if (statvfs(QFile::encodeName(probe).constData(), &info) != 0)
        return std::nullopt;
    return qint64(info.f_bavail) * qint64(info.f_frsize);
}

bool openFile(const QString& file, const QString& parameters)
{
    const QFileInfo info(file);
    if (info.isFile() && info.isExecutable())
        return QProcess::startDetached(file, QProcess::splitCommand(parameters), info.absolutePath());
    // Any other file opens with the desktop's program for its type.
    return info.exists() && QProcess::startDetached(QStringLiteral("xdg-open"), {file});
}

qint64 fileTime(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() ? info.lastModified().toMSecsSinceEpoch() : -1;
}

}  // namespace setup
