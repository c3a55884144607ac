// Profile files read and written one key at a time. The parsed file is cached
// per path and reused while the file on disk is the same one (device, inode,
// size and modification time), so reading many keys in a row parses it once;
// every write replaces the file (a new inode), which the next read notices.
#include "platform/ProfileFile.h"

#include "platform/AtomicFile.h"
#include "platform/ProfileDocument.h"
#include "platform/Sjis.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <ctime>
#include <memory>
#include <mutex>
#include <sys/stat.h>

namespace platform {

namespace {

struct FileStamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    long long mtimeNs = 0;
    bool operator==(const FileStamp&) const = default;
};

std::optional<FileStamp> stampOf(const QString& path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    return FileStamp{st.st_dev, st.st_ino, st.st_size,
                     (long long)st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec};
}

long long nowNs()
{
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return (long long)ts.tv_sec * 1000000000LL + ts.tv_nsec;
}

// File times advance in clock ticks of a few milliseconds: a file changed in
// place within the tick of our reading it would keep its stamp. A copy read
// that soon after the last change is therefore not trusted later.
constexpr long long kTimestampTickNs = 50'000'000;

using DocumentPtr = std::shared_ptr<const ProfileDocument>;

class DocumentCache {
public:
    // The parsed file, or null when it does not exist or cannot be read.
    DocumentPtr load(const QString& path)
    {
        const auto stamp = stampOf(path);
        std::lock_guard lock(m_mutex);
        if (!stamp) {
            m_entries.remove(path);
            return nullptr;
        }
        const auto it = m_entries.constFind(path);
        if (it != m_entries.constEnd() && it->stamp == *stamp &&
            it->readAtNs - stamp->mtimeNs > kTimestampTickNs)
            return it->document;

        const long long readAt = nowNs();
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return nullptr;
        const QByteArray bytes = file.readAll();
        auto document = std::make_shared<const ProfileDocument>(ProfileDocument::parse(bytes));
        // The stamp taken before reading: if the file changed meanwhile, the
        // next read sees a different stamp and parses again.
        m_entries.insert(path, {*stamp, readAt, document});
        return document;
    }

private:
    struct Entry {
        FileStamp stamp;
        long long readAtNs = 0;
        DocumentPtr document;
    };
    std::mutex m_mutex;
    QHash<QString, Entry> m_entries;
};

DocumentCache& cache()
{
    static DocumentCache instance;
    return instance;
}

QString cacheKey(const QString& path) { return QFileInfo(path).absoluteFilePath(); }

QString unquoted(const QString& value)
{
    if (value.size() >= 2 && value.startsWith(u'"') && value.endsWith(u'"'))
        return value.mid(1, value.size() - 2);
    return value;
}

}  // namespace

ProfileFile::ProfileFile(QString path) : m_path(std::move(path)) {}

// Applies `edit` to the batch, or to the current content, replacing the file
// when it changed.
template <typename Edit>
bool ProfileFile::edit(Edit edit)
{
    if (m_batch) {
        if (!m_batch->readable)
            return false;
        m_batch->changed = edit(m_batch->document) || m_batch->changed;
        return true;
    }
    const QString key = cacheKey(m_path);
    const DocumentPtr current = cache().load(key);
    if (!current && QFileInfo::exists(key))
        return false;  // present but unreadable: never replace what cannot be read
    ProfileDocument edited = current ? *current : ProfileDocument{};
    if (!edit(edited))
        return true;
    // The replaced file is a new inode: the next read parses it afresh.
    return replaceFileAtomically(key, edited.serialize());
}

DocumentPtr ProfileFile::document() const
{
    if (m_batch)
        return DocumentPtr(DocumentPtr(), &m_batch->document);  // not owned
    return cache().load(cacheKey(m_path));
}

void ProfileFile::beginBatch()
{
    const QString key = cacheKey(m_path);
    const DocumentPtr current = cache().load(key);
    m_batch = Batch{current ? *current : ProfileDocument{}, current || !QFileInfo::exists(key), false};
}

bool ProfileFile::commitBatch()
{
    if (!m_batch)
        return true;
    const Batch batch = std::move(*m_batch);
    m_batch.reset();
    if (!batch.readable)
        return false;
    return !batch.changed || replaceFileAtomically(cacheKey(m_path), batch.document.serialize());
}

std::optional<QString> ProfileFile::readValue(const QString& section, const QString& key) const
{
    const DocumentPtr doc = document();
    if (!doc)
        return std::nullopt;
    const QString* value = doc->findValue(section, key);
    if (!value)
        return std::nullopt;
    return unquoted(*value);
}

QString ProfileFile::readString(const QString& section, const QString& key, const QString& fallback,
                                int bufferBytes) const
{
    const QString value = readValue(section, key).value_or(fallback);
    if (bufferBytes <= 0)
        return {};
    const QByteArray bytes = toSjis(value);
    if (bytes.size() < bufferBytes)
        return value;
    return fromSjis(bytes.left(sjisCutLength(bytes, bufferBytes - 1)));
}

bool ProfileFile::writeString(const QString& section, const QString& key, const QString& value)
{
    return edit([&](ProfileDocument& d) { return d.setValue(section, key, value); });
}

bool ProfileFile::deleteKey(const QString& section, const QString& key)
{
    return edit([&](ProfileDocument& d) { return d.removeKey(section, key); });
}

bool ProfileFile::deleteSection(const QString& section)
{
    return edit([&](ProfileDocument& d) { return d.removeSection(section); });
}

QStringList ProfileFile::sectionNames() const
{
    const DocumentPtr doc = document();
    return doc ? doc->sectionNames() : QStringList{};
}

QStringList ProfileFile::keyNames(const QString& section) const
{
    const DocumentPtr doc = document();
    return doc ? doc->keyNames(section) : QStringList{};
}

}  // namespace platform
