// The registry on SQLite. Table `keys` holds one row per key (the roots
// included, with an empty path), `vals` one row per value. Names are looked
// up through their case-folded form and shown with the spelling they were
// created with. Every change runs in one IMMEDIATE transaction; the database
// is in WAL mode with a busy timeout, so several processes can share it.
#include "platform/Registry.h"

#include "platform/PlatformPaths.h"

#include <QDir>
#include <QFileInfo>

#include <mutex>
#include <sqlite3.h>

namespace platform {

namespace {

constexpr int kBusyTimeoutMs = 10000;

const char* const kSchema = R"sql(
CREATE TABLE IF NOT EXISTS keys (
  id     INTEGER PRIMARY KEY,
  root   INTEGER NOT NULL,
  lpath  TEXT NOT NULL,
  path   TEXT NOT NULL,
  name   TEXT NOT NULL,
  parent INTEGER,
  UNIQUE (root, lpath)
);
CREATE INDEX IF NOT EXISTS keys_parent ON keys (parent);
CREATE TABLE IF NOT EXISTS vals (
  id     INTEGER PRIMARY KEY,
  key_id INTEGER NOT NULL,
  lname  TEXT NOT NULL,
  name   TEXT NOT NULL,
  type   INTEGER NOT NULL,
  data,
  UNIQUE (key_id, lname)
);
)sql";

QStringList segmentsOf(const QString& path) { return path.split(u'\\', Qt::SkipEmptyParts); }

QString folded(const QString& s) { return s.toCaseFolded(); }

// A prepared statement that finalises itself.
class Statement {
public:
    Statement(sqlite3* db, const char* sql)
    {
        if (db)
            sqlite3_prepare_v2(db, sql, -1, &m_stmt, nullptr);
    }
    ~Statement() { sqlite3_finalize(m_stmt); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool valid() const { return m_stmt != nullptr; }
    Statement& bind(int i, qint64 v)
    {
        sqlite3_bind_int64(m_stmt, i, v);
        return *this;
    }
    Statement& bind(int i, const QString& s)
    {
        const QByteArray utf8 = s.toUtf8();
        sqlite3_bind_text(m_stmt, i, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        return *this;
    }
    Statement& bindBlob(int i, const QByteArray& b)
    {
        sqlite3_bind_blob(m_stmt, i, b.constData(), int(b.size()), SQLITE_TRANSIENT);
        return *this;
    }
    // SQLITE_ROW, SQLITE_DONE or an error code.
    int step() { return m_stmt ? sqlite3_step(m_stmt) : SQLITE_MISUSE; }
    bool run()
    {
        const int rc = step();
        return rc == SQLITE_DONE || rc == SQLITE_ROW;
    }

    qint64 integer(int col) const { return sqlite3_column_int64(m_stmt, col); }
    QString text(int col) const
    {
        return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, col)),
                                 sqlite3_column_bytes(m_stmt, col));
    }
    QByteArray blob(int col) const
    {
        const void* data = sqlite3_column_blob(m_stmt, col);
        return QByteArray(static_cast<const char*>(data), sqlite3_column_bytes(m_stmt, col));
    }

private:
    sqlite3_stmt* m_stmt = nullptr;
};

}  // namespace

struct Registry::Store {
    sqlite3* db = nullptr;
    mutable std::mutex mutex;

    bool exec(const char* sql) const
    {
        return db && sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
    }

    // Runs `body` in one write transaction; rolled back unless it returns true.
    template <typename Body>
    bool transaction(Body body)
    {
        std::lock_guard lock(mutex);
        if (!exec("BEGIN IMMEDIATE"))
            return false;
        if (!body()) {
            exec("ROLLBACK");
            return false;
        }
        if (exec("COMMIT"))
            return true;
        exec("ROLLBACK");
        return false;
    }

    // The id of the key, or 0 when it does not exist.
    qint64 keyId(RegRoot root, const QStringList& segments) const
    {
        Statement q(db, "SELECT id FROM keys WHERE root = ?1 AND lpath = ?2");
        q.bind(1, qint64(root)).bind(2, folded(segments.join(u'\\')));
        return q.step() == SQLITE_ROW ? q.integer(0) : 0;
    }

    // The id of the key, created with its missing parents; 0 on failure.
    qint64 ensureKey(RegRoot root, const QStringList& segments)
    {
        qint64 parent = 0;
        QString path;
        for (qsizetype depth = 0; depth <= segments.size(); ++depth) {
            const QStringList prefix = segments.first(depth);
            const qint64 id = keyId(root, prefix);
            if (id) {
                Statement q(db, "SELECT path FROM keys WHERE id = ?1");
                q.bind(1, id);
                if (q.step() == SQLITE_ROW)
                    path = q.text(0);
                parent = id;
                continue;
            }
            const QString name = depth ? segments[depth - 1] : QString();
            path = depth > 1 ? path + u'\\' + name : name;
            Statement insert(db, "INSERT INTO keys (root, lpath, path, name, parent) "
                                 "VALUES (?1, ?2, ?3, ?4, ?5)");
            insert.bind(1, qint64(root)).bind(2, folded(prefix.join(u'\\'))).bind(3, path);
            insert.bind(4, name).bind(5, parent);
            if (!insert.run())
                return 0;
            parent = sqlite3_last_insert_rowid(db);
        }
        return parent;
    }
};

Registry::Registry(const QString& databasePath) : m_store(std::make_unique<Store>())
{
    QDir().mkpath(QFileInfo(databasePath).absolutePath());
    sqlite3* db = nullptr;
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX;
    if (sqlite3_open_v2(QFile::encodeName(databasePath).constData(), &db, flags, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return;
    }
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    m_store->db = db;
    const bool ready = m_store->exec("PRAGMA journal_mode = WAL") &&
                       m_store->exec("PRAGMA synchronous = NORMAL") &&
                       m_store->transaction([&] { return m_store->exec(kSchema); });
    if (!ready) {
        sqlite3_close(db);
        m_store->db = nullptr;
    }
}

Registry::~Registry()
{
    if (m_store && m_store->db)
        sqlite3_close(m_store->db);
}

Registry& Registry::current()
{
    static Registry store(registryStorePath());
    return store;
}

bool Registry::isOpen() const { return m_store->db != nullptr; }

bool Registry::keyExists(RegRoot root, const QString& path) const
{
    const QStringList segments = segmentsOf(path);
    if (segments.isEmpty())
        return isOpen();
    std::lock_guard lock(m_store->mutex);
    return m_store->keyId(root, segments) != 0;
}

bool Registry::createKey(RegRoot root, const QString& path)
{
    const QStringList segments = segmentsOf(path);
    return m_store->transaction([&] { return m_store->ensureKey(root, segments) != 0; });
}

bool Registry::deleteKey(RegRoot root, const QString& path)
{
    const QStringList segments = segmentsOf(path);
    if (segments.isEmpty())
        return false;  // a root cannot be deleted
    const QString lpath = folded(segments.join(u'\\'));
    return m_store->transaction([&] {
        if (!m_store->keyId(root, segments))
            return false;
        // The key and every key whose path continues it with a backslash:
        // those sort between "path\" and "path]" ('\' + 1 == ']').
        const char* const where = "root = ?1 AND (lpath = ?2 OR (lpath >= ?3 AND lpath < ?4))";
        Statement values(m_store->db, (QByteArray("DELETE FROM vals WHERE key_id IN "
                                                  "(SELECT id FROM keys WHERE ") +
                                       where + ")")
                                          .constData());
        values.bind(1, qint64(root)).bind(2, lpath).bind(3, lpath + u'\\').bind(4, lpath + u']');
        Statement keys(m_store->db, (QByteArray("DELETE FROM keys WHERE ") + where).constData());
        keys.bind(1, qint64(root)).bind(2, lpath).bind(3, lpath + u'\\').bind(4, lpath + u']');
        return values.run() && keys.run();
    });
}

QStringList Registry::childNames(RegRoot root, const QString& path, const char* query) const
{
    QStringList names;
    std::lock_guard lock(m_store->mutex);
    const qint64 id = m_store->keyId(root, segmentsOf(path));
    if (!id)
        return names;
    Statement q(m_store->db, query);
    q.bind(1, id);
    while (q.step() == SQLITE_ROW)
        names.append(q.text(0));
    return names;
}

QStringList Registry::subKeyNames(RegRoot root, const QString& path) const
{
    return childNames(root, path, "SELECT name FROM keys WHERE parent = ?1 ORDER BY id");
}

QStringList Registry::valueNames(RegRoot root, const QString& path) const
{
    return childNames(root, path, "SELECT name FROM vals WHERE key_id = ?1 ORDER BY id");
}

bool Registry::setValue(RegRoot root, const QString& path, const QString& name, const RegValue& value)
{
    const QStringList segments = segmentsOf(path);
    return m_store->transaction([&] {
        // A root exists without being created; any other key must.
        const qint64 id =
            segments.isEmpty() ? m_store->ensureKey(root, segments) : m_store->keyId(root, segments);
        if (!id)
            return false;
        Statement q(m_store->db,
                    "INSERT INTO vals (key_id, lname, name, type, data) VALUES (?1, ?2, ?3, ?4, ?5) "
                    "ON CONFLICT (key_id, lname) DO UPDATE SET type = excluded.type, "
                    "data = excluded.data");
        q.bind(1, id).bind(2, folded(name)).bind(3, name).bind(4, qint64(value.type));
        switch (value.type) {
        case RegType::String:
        case RegType::ExpandString: q.bind(5, value.text); break;
        case RegType::Dword: q.bind(5, qint64(value.number)); break;
        case RegType::Binary: q.bindBlob(5, value.bytes); break;
        }
        return q.run();
    });
}

std::optional<RegValue> Registry::value(RegRoot root, const QString& path, const QString& name) const
{
    std::lock_guard lock(m_store->mutex);
    const qint64 id = m_store->keyId(root, segmentsOf(path));
    if (!id)
        return std::nullopt;
    Statement q(m_store->db, "SELECT type, data FROM vals WHERE key_id = ?1 AND lname = ?2");
    q.bind(1, id).bind(2, folded(name));
    if (q.step() != SQLITE_ROW)
        return std::nullopt;
    switch (RegType(q.integer(0))) {
    case RegType::String: return RegValue::string(q.text(1));
    case RegType::ExpandString: return RegValue::expandString(q.text(1));
    case RegType::Dword: return RegValue::dword(std::uint32_t(q.integer(1)));
    case RegType::Binary: return RegValue::binary(q.blob(1));
    }
    return std::nullopt;  // a type this program does not write
}

bool Registry::deleteValue(RegRoot root, const QString& path, const QString& name)
{
    const QStringList segments = segmentsOf(path);
    return m_store->transaction([&] {
        const qint64 id = m_store->keyId(root, segments);
        if (!id)
            return false;
        Statement q(m_store->db, "DELETE FROM vals WHERE key_id = ?1 AND lname = ?2");
        q.bind(1, id).bind(2, folded(name));
        return q.run() && sqlite3_changes(m_store->db) > 0;
    });
}

}  // namespace platform
