#include "setup/engine/DesktopEntry.h"

#include "platform/AtomicFile.h"
#include "setup/engine/FileOps.h"

#include <QFile>
#include <QFileInfo>

namespace setup {

QString desktopValue(const QString& text)
{
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\\')
            out += u"\\\\";
        else if (c == u'\n')
            out += u"\\n";
        else if (c == u'\t')
            out += u"\\t";
        else if (c == u'\r')
            out += u"\\r";
        else if (c == u' ' && i == 0)
            out += u"\\s";  // a leading blank would be stripped otherwise
        else
            out += c;
    }
    return out;
}

QString execWord(const QString& word)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    QString text = word;
    text.replace(QStringLiteral("%"), QStringLiteral("%%"));
    bool quote = text.isEmpty();
    for (QChar c : text)
        quote = quote || reserved.contains(c);
    if (!quote)
        return text;
    QString quoted = QStringLiteral("\"");
    for (QChar c : text) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        quoted += c;
    }
    return quoted + u'"';
}

namespace {

QString iconFile(const QString& folder, const QString& base)
{
    for (const char* suffix : {".svg", ".png", ".xpm", ".ico"}) {
        const QString file = folder + base + QLatin1String(suffix);
        if (QFileInfo(file).isFile())
            return file;
    }
    return {};
}

}  // namespace

QString iconFor(const QString& program, const QString& iconIndex)
{
    const QString folder = folderOf(program);
    const QString base = QFileInfo(fileNameOf(program)).completeBaseName();
    const QString index = iconIndex.trimmed();
    bool isNumber = false;
    const int n = index.toInt(&isNumber);
    if (!index.isEmpty() && !isNumber) {
        if (index.startsWith(u'/'))
            return index;
        if (QFileInfo(folder + index).isFile())
            return folder + index;
        return index;  // an icon theme name
    }
    if (isNumber && n > 0)
        if (const QString file = iconFile(folder, base + u'-' + QString::number(n)); !file.isEmpty())
            return file;
    return base.isEmpty() ? QString() : iconFile(folder, base);
}

QByteArray DesktopEntry::text() const
{
    QString t = QStringLiteral("[Desktop Entry]\nType=Application\n");
    t += QStringLiteral("Name=") + desktopValue(name) + u'\n';
    if (!localName.isEmpty() && localName != name)
        t += QStringLiteral("Name[ja]=") + desktopValue(localName) + u'\n';
    t += QStringLiteral("Exec=") + desktopValue(exec) + u'\n';
    if (!path.isEmpty())
        t += QStringLiteral("Path=") + desktopValue(path) + u'\n';
    if (!icon.isEmpty())
        t += QStringLiteral("Icon=") + desktopValue(icon) + u'\n';
    if (!mimeTypes.isEmpty())
        t += QStringLiteral("MimeType=") + mimeTypes + u'\n';
    if (noDisplay)
        t += QStringLiteral("NoDisplay=true\n");
    return t.toUtf8();
}

bool writeDesktopEntry(const QString& file, const DesktopEntry& entry)
{
    if (!platform::replaceFileAtomically(file, entry.text()))
        return false;
    QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                                    QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
    return true;
}

}  // namespace setup
