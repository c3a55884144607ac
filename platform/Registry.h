// The registry: four roots, keys with sub-keys, named and default values.
// Key and value names compare without regard to case and keep the spelling
// they were created with. The store is an SQLite database (one per user, or
// inside the sandbox folder, see PlatformPaths.h); every change is one
// transaction, so a killed process never leaves half a key, and several
// processes may use it at once.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <optional>

namespace platform {

enum class RegRoot { ClassesRoot, CurrentUser, LocalMachine, Users };

// Numbers as the registry's own type codes.
enum class RegType : int { String = 1, ExpandString = 2, Binary = 3, Dword = 4 };

struct RegValue {
    RegType type = RegType::String;
    QString text;  // String, ExpandString
    std::uint32_t number = 0;  // Dword
    QByteArray bytes;  // Binary

    static RegValue string(const QString& s) { return {RegType::String, s, 0, {}}; }
    static RegValue expandString(const QString& s) { return {RegType::ExpandString, s, 0, {}}; }
    static RegValue dword(std::uint32_t n) { return {RegType::Dword, {}, n, {}}; }
    static RegValue binary(const QByteArray& b) { return {RegType::Binary, {}, 0, b}; }
};

class Registry {
public:
    // Opens (creating when needed) the store at `databasePath`.
    explicit Registry(const QString& databasePath);
    ~Registry();
    Registry(const Registry&) = delete;
    Registry& operator=(const Registry&) = delete;

    // The store of this user (or of the sandbox), opened on first use.
    static Registry& current();

    bool isOpen() const;

    // Paths are backslash-separated below the root, e.g. "Software\\Kavano\\GV";
    // an empty path is the root itself.
    bool keyExists(RegRoot root, const QString& path) const;
    bool createKey(RegRoot root, const QString& path);  // with missing parents
    bool deleteKey(RegRoot root, const QString& path);  // with its sub-keys
    QStringList subKeyNames(RegRoot root, const QString& path) const;
    QStringList valueNames(RegRoot root, const QString& path) const;

    // An empty name is the key's default (unnamed) value. setValue fails when
    // the key does not exist.
    bool setValue(RegRoot root, const QString& path, const QString& name, const RegValue& value);
    std::optional<RegValue> value(RegRoot root, const QString& path, const QString& name) const;
    bool deleteValue(RegRoot root, const QString& path, const QString& name);

private:
    // The names `query` selects below the key (its id bound as ?1), in creation order.
    QStringList childNames(RegRoot root, const QString& path, const char* query) const;

    struct Store;
    std::unique_ptr<Store> m_store;
};

}  // namespace platform
