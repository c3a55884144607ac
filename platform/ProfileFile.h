// Private-profile INI files with the semantics of the Windows profile functions:
// one key read or written at a time; sections and keys compared without regard
// to case; lines the program does not know kept in their order; a new key is
// appended to the end of its section, a new section to the end of the file.
// Files are Shift-JIS; lines are written with CR LF, read with CR LF or LF.
// A write replaces the file atomically (temporary file, then rename), so a
// process killed mid-write leaves either the old file or the new one.
#pragma once

#include "platform/ProfileDocument.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

namespace platform {

class ProfileFile {
public:
    explicit ProfileFile(QString path);

    const QString& path() const { return m_path; }

    // GetPrivateProfileString: the value of `key`, or `fallback` when the file,
    // section or key is absent. The value is returned through a buffer of
    // `bufferBytes` bytes, so at most bufferBytes - 1 Shift-JIS bytes come back.
    // Surrounding blanks of the value are stripped, as are one pair of
    // enclosing double quotes.
    QString readString(const QString& section, const QString& key, const QString& fallback,
                       int bufferBytes = 2048) const;

    // The whole value however long it is; nullopt when the key is absent.
    std::optional<QString> readValue(const QString& section, const QString& key) const;

    // WritePrivateProfileString. Returns false (and leaves the file as it was)
    // when the file cannot be written.
    bool writeString(const QString& section, const QString& key, const QString& value);

    // WritePrivateProfileString with a null value / a null key.
    bool deleteKey(const QString& section, const QString& key);
    bool deleteSection(const QString& section);

    // Names as they stand in the file, in file order.
    QStringList sectionNames() const;
    QStringList keyNames(const QString& section) const;

    // Writes and deletions between the two reach the file in one replacement
    // (one flush to the disk instead of one per key); reads through this
    // object see them at once. A file that exists but cannot be read fails
    // every write of the batch. commitBatch() is false when the file cannot
    // be written; it is then as it was.
    void beginBatch();
    bool commitBatch();

private:
    template <typename Edit>
    bool edit(Edit edit);
    // The batch's document, or the parsed file; null when there is none.
    std::shared_ptr<const ProfileDocument> document() const;

    QString m_path;
    struct Batch {
        ProfileDocument document;
        bool readable = true;
        bool changed = false;
    };
    std::optional<Batch> m_batch;
};

}  // namespace platform
