#include "setup/engine/Macros.h"

namespace setup {

namespace {
bool isDelimiter(QChar c) { return c == u'/' || c == u'\\'; }
}  // namespace

const QStringList& folderMacroNames()
{
    static const QStringList names = {"(App)", "(Prg)",   "(Win)",   "(Sys)",   "(Tmp)",  "(Boo)",
                                      "(Set)", "(Edr)",   "(Smn)",   "(Sta)",   "(Dsk)",  "(Sup)",
                                      "(Sen)", "(C_Smn)", "(C_Sta)", "(C_Dsk)", "(C_Sup)"};
    return names;
}

void FolderTable::set(const QString& macro, const QString& folder)
{
    QString path = folder;
    path.replace(u'\\', u'/');
    if (!path.endsWith(u'/'))
        path += u'/';
    for (auto& entry : m_folders)
        if (entry.first.compare(macro, Qt::CaseInsensitive) == 0) {
            entry.second = path;
            return;
        }
    m_folders.emplace_back(macro, path);
}

QString FolderTable::folder(const QString& macro) const
{
    for (const auto& entry : m_folders)
        if (entry.first.compare(macro, Qt::CaseInsensitive) == 0)
            return entry.second;
    return {};
}

QString FolderTable::expand(const QString& text) const
{
    QString result = expandValue(text);
    result.replace(u'\\', u'/');
    return result;
}

QString FolderTable::expandValue(const QString& text) const
{
    QString result = text;
    for (const QString& macro : folderMacroNames()) {
        const QString path = folder(macro);
        if (path.isEmpty())
            continue;
        qsizetype from = 0;
        qsizetype at;
        while ((at = result.indexOf(macro, from, Qt::CaseInsensitive)) >= 0) {
            qsizetype after = at + macro.size();
            if (after < result.size() && isDelimiter(result[after]))
                ++after;
            result = result.left(at) + path + result.mid(after);
            // Searching on after the inserted folder: a folder whose own name
            // holds a macro's text would otherwise be expanded without end.
            from = at + path.size();
            // The path written after the macro is a path on this system too.
            for (qsizetype i = from; i < result.size() && !QStringLiteral("\",;").contains(result[i]); ++i)
                if (result[i] == u'\\')
                    result[i] = u'/';
        }
    }
    return result;
}

std::pair<platform::RegRoot, QString> readRootAndKey(const QString& text)
{
    using platform::RegRoot;
    RegRoot root = RegRoot::CurrentUser;
    QString key = text;
    if (text.size() >= 7 && text[0] == u'(' && text[6] == u')') {
        const QString macro = text.left(7);
        if (macro == u"(Class)")
            root = RegRoot::ClassesRoot;
        else if (macro == u"(Local)")
            root = RegRoot::LocalMachine;
        else if (macro == u"(Users)")
            root = RegRoot::Users;
        key = text.mid(7);
    }
    if (key.startsWith(u'\\'))
        key.remove(0, 1);
    if (key.endsWith(u'\\'))
        key.chop(1);
    return {root, key};
}

}  // namespace setup
