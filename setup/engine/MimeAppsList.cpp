#include "setup/engine/MimeAppsList.h"

#include "platform/AtomicFile.h"
#include "setup/engine/FileOps.h"

#include <QDir>
#include <QFile>

namespace setup {

namespace {

const QString kDefaults = QStringLiteral("[Default Applications]");

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

MimeAppsList::MimeAppsList(QString path) : MimeAppsList(path, fileBytes(path)) {}

MimeAppsList::MimeAppsList(QString path, const QByteArray& bytes) : m_path(std::move(path))
{
    if (!bytes.isEmpty())
        m_lines = QString::fromUtf8(bytes).split(u'\n');
    while (!m_lines.isEmpty() && m_lines.last().isEmpty())
        m_lines.removeLast();
}

QString MimeAppsList::value(const QString& key) const
{
    const qsizetype at = find(key);
    return at < 0 ? QString() : m_lines[at].section(u'=', 1).trimmed();
}

void MimeAppsList::assign(const QString& key, const QString& value)
{
    const qsizetype at = find(key);
    if (at >= 0 && value.isEmpty()) {
        m_lines.removeAt(at);
    } else if (at >= 0) {
        m_lines[at] = key + u'=' + value;
    } else if (!value.isEmpty()) {
        qsizetype section = m_lines.indexOf(kDefaults);
        if (section < 0) {
            m_lines << kDefaults;
            section = m_lines.size() - 1;
        }
        m_lines.insert(section + 1, key + u'=' + value);
    }
}

QByteArray MimeAppsList::text() const { return (m_lines.join(u'\n') + u'\n').toUtf8(); }

bool MimeAppsList::save() const
{
    QDir().mkpath(folderOf(m_path));
    return platform::replaceFileAtomically(m_path, text());
}

qsizetype MimeAppsList::find(const QString& key) const
{
    bool inside = false;
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const QString line = m_lines[i].trimmed();
        if (line.startsWith(u'['))
            inside = line == kDefaults;
        else if (inside && line.section(u'=', 0, 0).trimmed() == key)
            return i;
    }
    return -1;
}

}  // namespace setup
