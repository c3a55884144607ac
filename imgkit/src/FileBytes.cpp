#include "imgkit/src/FileBytes.h"

#include <QByteArray>
#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace imgkit {
namespace {
constexpr qint64 kMaxFileSize = qint64{1} << 30;

// A descriptor of `path` when it names a regular file, else -1. The file is
// opened without blocking and examined before anything is read, so a FIFO,
// a device or a folder named like a picture is refused at once instead of
// waiting for a writer that never comes.
int openRegularFile(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return -1;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}
}  // namespace

struct FileBytes::Impl {
    QFile file;
    QByteArray copy;
};

FileBytes::FileBytes(const QString& path) : m_impl(std::make_unique<Impl>())
{
    QFile& f = m_impl->file;
    const int fd = path.isEmpty() ? -1 : openRegularFile(path);
    if (fd < 0)
        return;
    if (!f.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return;
    }
    if (f.size() <= 0 || f.size() > kMaxFileSize)
        return;
    if (uchar* mapped = f.map(0, f.size())) {
        m_data = mapped;
        m_size = static_cast<std::size_t>(f.size());
        return;
    }
    m_impl->copy = f.readAll();  // files that cannot be mapped (some network shares)
    if (!m_impl->copy.isEmpty()) {
        m_data = reinterpret_cast<const std::uint8_t*>(m_impl->copy.constData());
        m_size = static_cast<std::size_t>(m_impl->copy.size());
    }
}

FileBytes::~FileBytes() = default;

bool writeFileBytes(const QString& path, const void* data, std::size_t size)
{
    if (path.isEmpty())
        return false;
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const bool written =
        f.write(static_cast<const char*>(data), static_cast<qint64>(size)) == static_cast<qint64>(size);
    f.close();
    if (!written || f.error() != QFileDevice::NoError) {
        f.remove();
        return false;
    }
    return true;
}

}  // namespace imgkit
