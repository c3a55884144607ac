// mimeapps.list, the desktop's key file of default applications (UTF-8): one
// key of its [Default Applications] group read or set, every other line kept
// as it was.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace setup {

class MimeAppsList {
public:
    // The list in the file at `path`; an unreadable or missing file is empty.
    explicit MimeAppsList(QString path);
    // The list held in `bytes`, to be saved at `path`.
    MimeAppsList(QString path, const QByteArray& bytes);

    // The value of `key` in [Default Applications], empty when absent.
    QString value(const QString& key) const;
    // Sets `key` (an empty value removes it), adding the group when missing.
    void assign(const QString& key, const QString& value);
    // Writes the list back whole; false when it could not be written.
    bool save() const;
    QByteArray text() const;

private:
    qsizetype find(const QString& key) const;

    QString m_path;
    QStringList m_lines;
};

}  // namespace setup
