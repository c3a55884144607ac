// One [CopyFile] entry of the script, after macro expansion: an optional
// "(Dch)" (change disks first), the destination path, an optional '|' and
// destination name, and from the first ',' on the options ("/S", "/W", "/R",
// and the uninstaller's "/C", "/L", "/F").
#pragma once

#include <QString>

namespace setup {

struct CopyEntry {
    // `sourceFolder` ends with '/'; the source files lie flat in it.
    CopyEntry(QString text, const QString& sourceFolder);

    bool has(const char* option) const
    {
        return options.contains(QLatin1String(option), Qt::CaseInsensitive);
    }

    bool diskChange = false;
    QString destination;  // a compressed file's name "AUTO.EXT" until it is expanded
    QString source;
    QString options;  // from the first ',' on, the ',' included
};

}  // namespace setup
