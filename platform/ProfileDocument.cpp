// Parsing and editing of profile files line by line.
#include "platform/ProfileDocument.h"

#include "platform/Sjis.h"

namespace platform {

namespace {

bool sameName(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

// Blanks as the profile functions strip them: spaces and tabs.
QString trimmedBlanks(const QString& s)
{
    qsizetype begin = 0;
    qsizetype end = s.size();
    while (begin < end && (s[begin] == u' ' || s[begin] == u'\t'))
        ++begin;
    while (end > begin && (s[end - 1] == u' ' || s[end - 1] == u'\t'))
        --end;
    return s.mid(begin, end - begin);
}

}  // namespace

ProfileDocument ProfileDocument::parse(const QByteArray& bytes)
{
    ProfileDocument doc;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        const qsizetype next = end < 0 ? bytes.size() : end + 1;
        if (end < 0)
            end = bytes.size();
        qsizetype stop = end;
        if (stop > start && bytes[stop - 1] == '\r')
            --stop;

        Line line;
        line.raw = bytes.mid(start, stop - start);
        const QString text = trimmedBlanks(fromSjis(line.raw));
        if (text.startsWith(u'[')) {
            const qsizetype close = text.indexOf(u']');
            line.kind = Line::Kind::Section;
            line.name = trimmedBlanks(close < 0 ? text.mid(1) : text.mid(1, close - 1));
        } else if (!text.startsWith(u';')) {
            const qsizetype eq = text.indexOf(u'=');
            if (eq >= 0) {
                line.kind = Line::Kind::Key;
                line.name = trimmedBlanks(text.left(eq));
                line.value = trimmedBlanks(text.mid(eq + 1));
            }
        }
        doc.m_lines.append(std::move(line));
        start = next;
    }
    return doc;
}

QByteArray ProfileDocument::serialize() const
{
    QByteArray out;
    for (const Line& line : m_lines) {
        out += line.raw;
        out += "\r\n";
    }
    return out;
}

ProfileDocument::Line ProfileDocument::makeKeyLine(const QString& key, const QString& value)
{
    // A line break inside a value would start a new line of the file; it
    // becomes a blank so the file stays one key per line.
    QString flat = value;
    flat.replace(u'\r', u' ').replace(u'\n', u' ');
    Line line;
    line.kind = Line::Kind::Key;
    line.name = key;
    line.value = trimmedBlanks(flat);
    line.raw = toSjis(key + u'=' + flat);
    return line;
}

qsizetype ProfileDocument::findSection(const QString& section) const
{
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        if (m_lines[i].kind == Line::Kind::Section && sameName(m_lines[i].name, section))
            return i;
    }
    return -1;
}

qsizetype ProfileDocument::sectionEnd(qsizetype header) const
{
    qsizetype i = header + 1;
    while (i < m_lines.size() && m_lines[i].kind != Line::Kind::Section)
        ++i;
    return i;
}

qsizetype ProfileDocument::findKey(qsizetype header, const QString& key) const
{
    const qsizetype end = sectionEnd(header);
    for (qsizetype i = header + 1; i < end; ++i) {
        if (m_lines[i].kind == Line::Kind::Key && sameName(m_lines[i].name, key))
            return i;
    }
    return -1;
}

const QString* ProfileDocument::findValue(const QString& section, const QString& key) const
{
    const qsizetype header = findSection(section);
    if (header < 0)
        return nullptr;
    const qsizetype index = findKey(header, key);
    return index < 0 ? nullptr : &m_lines[index].value;
}

bool ProfileDocument::setValue(const QString& section, const QString& key, const QString& value)
{
    const qsizetype header = findSection(section);
    if (header < 0) {
        if (!m_lines.isEmpty() && !m_lines.last().raw.trimmed().isEmpty())
            m_lines.append(Line{});
        Line head;
        head.kind = Line::Kind::Section;
        head.name = section;
        head.raw = toSjis(u'[' + section + u']');
        m_lines.append(std::move(head));
        m_lines.append(makeKeyLine(key, value));
        return true;
    }

    const qsizetype index = findKey(header, key);
    if (index >= 0) {
        Line line = makeKeyLine(m_lines[index].name, value);
        if (line.raw == m_lines[index].raw)
            return false;
        m_lines[index] = std::move(line);
        return true;
    }

    // After the section's last key line, so trailing blank lines stay
    // between this section and the next.
    qsizetype insertAt = header + 1;
    const qsizetype end = sectionEnd(header);
    for (qsizetype i = header + 1; i < end; ++i) {
        if (m_lines[i].kind == Line::Kind::Key)
            insertAt = i + 1;
    }
    m_lines.insert(insertAt, makeKeyLine(key, value));
    return true;
}

bool ProfileDocument::removeKey(const QString& section, const QString& key)
{
    const qsizetype header = findSection(section);
    if (header < 0)
        return false;
    const qsizetype index = findKey(header, key);
    if (index < 0)
        return false;
    m_lines.removeAt(index);
    return true;
}

bool ProfileDocument::removeSection(const QString& section)
{
    const qsizetype header = findSection(section);
    if (header < 0)
        return false;
    m_lines.remove(header, sectionEnd(header) - header);
    return true;
}

QStringList ProfileDocument::sectionNames() const
{
    QStringList names;
    for (const Line& line : m_lines) {
        if (line.kind == Line::Kind::Section)
            names.append(line.name);
    }
    return names;
}

QStringList ProfileDocument::keyNames(const QString& section) const
{
    QStringList names;
    const qsizetype header = findSection(section);
    if (header < 0)
        return names;
    const qsizetype end = sectionEnd(header);
    for (qsizetype i = header + 1; i < end; ++i) {
        if (m_lines[i].kind == Line::Kind::Key)
            names.append(m_lines[i].name);
    }
    return names;
}

}  // namespace platform
