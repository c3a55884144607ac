#include "FileBytes.h"

#include <QByteArray>
#include <QFile>

namespace imgkit {
namespace {
constexpr qint64 kMaxFileSize = qint64{1} << 30;
}

struct FileBytes::Impl {
    QFile file;
    QByteArray copy;
};

FileBytes::FileBytes(const QString& path) : m_impl(std::make_unique<Impl>())
{
    QFile& f = m_impl->file;
    f.setFileName(path);
    if (path.isEmpty() || !f.open(QIODevice::ReadOnly) || f.size() <= 0 || f.size() > kMaxFileSize)
        return;
    if (uchar* mapped = f.map(0, f.size())) {
        m_data = mapped;
        m_size = static_cast<std::size_t>(f.size());
        return;
    }
    m_impl->copy = f.readAll();  // files that cannot be mapped (pipes, some network shares)
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
    const bool written = f.write(static_cast<const char*>(data), static_cast<qint64>(size))
        == static_cast<qint64>(size);
    f.close();
    if (!written || f.error() != QFileDevice::NoError) {
        f.remove();
        return false;
    }
    return true;
}

}  // namespace imgkit
