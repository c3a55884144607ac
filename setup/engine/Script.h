// The installer's script: an INI file in Shift-JIS read one key at a time.
// The install run reads "SETUP.INI", the uninstall run the uninstall record
// "UNSETUP.INI"; both are the copies in the work folder.
#pragma once

#include "platform/ProfileFile.h"

#include <QString>
#include <QStringList>

namespace setup {

class Script {
public:
    explicit Script(QString path) : m_file(std::move(path)) {}

    const QString& path() const { return m_file.path(); }

    // The whole value of `key`, however long; `fallback` when the key is
    // absent. A key present with an empty value reads as empty.
    QString readKey(const QString& section, const QString& key, const QString& fallback = {}) const;

    // The numbered keys prefix1, prefix2, ... up to the first empty value.
    QStringList numbered(const QString& section, const QString& prefix) const;

    // prefix1 .. prefix<count>, every one (empty ones included).
    QStringList numbered(const QString& section, const QString& prefix, int count) const;

private:
    platform::ProfileFile m_file;
};

}  // namespace setup
