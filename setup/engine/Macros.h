// The script's folder macros ("(App)", "(Prg)", ... "(C_Sup)") and registry
// root macros ("(Class)", "(Local)", "(Users)", "(Cuser)").
#pragma once

#include "platform/Registry.h"

#include <QString>
#include <utility>
#include <vector>

namespace setup {

// The folder table: each macro with its folder, a path ending in '/'.
// A macro whose folder is not known yet (like "(App)" before the run fixes
// the install folder) is left in the text unchanged.
class FolderTable {
public:
    // Sets (or adds) `macro`'s folder; a trailing '/' is ensured.
    void set(const QString& macro, const QString& folder);
    QString folder(const QString& macro) const;
    // The text with every known macro replaced, found without regard to case,
    // in table order. A macro followed by a path delimiter gives the same
    // result as one without: the folder's own '/' stands for it. For a text
    // that is a path: every '\' comes out as '/'.
    QString expand(const QString& text) const;
    // The same for a text that is data (registry and INI values, arguments):
    // only the path right after each macro, up to a '"', ',' or ';', has its
    // '\' turned into '/'; any other '\' (as in "DOMAIN\user") stays.
    QString expandValue(const QString& text) const;

private:
    std::vector<std::pair<QString, QString>> m_folders;
};

// The table's macros in the order they are tried.
const QStringList& folderMacroNames();

// A registry root macro and the key after it: the first seven characters
// name the root when they are "(" ... ")", anything else means the whole
// text is a key under HKEY_CURRENT_USER. The key loses one leading and one
// trailing '\'.
std::pair<platform::RegRoot, QString> readRootAndKey(const QString& text);

}  // namespace setup
