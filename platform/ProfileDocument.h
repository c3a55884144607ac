// The parsed form of a profile file: its lines as they stand, with the section
// headers and key lines recognised. Lines are kept as their original bytes so
// a file round-trips unchanged except for what was edited.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace platform {

class ProfileDocument {
public:
    static ProfileDocument parse(const QByteArray& bytes);
    QByteArray serialize() const;  // every line ended with CR LF

    // The raw value of the first matching key of the first matching section.
    const QString* findValue(const QString& section, const QString& key) const;

    // Each returns true when the document changed.
    bool setValue(const QString& section, const QString& key, const QString& value);
    bool removeKey(const QString& section, const QString& key);
    bool removeSection(const QString& section);

    QStringList sectionNames() const;
    QStringList keyNames(const QString& section) const;

private:
    struct Line {
        enum class Kind { Other, Section, Key };
        Kind kind = Kind::Other;
        QByteArray raw;  // without the line break
        QString name;  // section or key name, trimmed
        QString value;  // key value, trimmed
    };

    static Line makeKeyLine(const QString& key, const QString& value);
    qsizetype findSection(const QString& section) const;  // header index or -1
    qsizetype sectionEnd(qsizetype header) const;  // index of the next header
    qsizetype findKey(qsizetype header, const QString& key) const;

    QList<Line> m_lines;
};

}  // namespace platform
