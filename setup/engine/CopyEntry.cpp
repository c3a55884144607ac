#include "setup/engine/CopyEntry.h"

#include "setup/engine/FileOps.h"

namespace setup {

CopyEntry::CopyEntry(QString text, const QString& sourceFolder)
{
    if (text.startsWith("(Dch)")) {
        diskChange = true;
        text.remove(0, 5);
    }
    const qsizetype comma = text.indexOf(u',');
    const QString filePart = comma < 0 ? text : text.left(comma);
    options = comma < 0 ? QString() : text.mid(comma);
    const qsizetype bar = filePart.indexOf(u'|');
    const QString path = bar < 0 ? filePart : filePart.left(bar);
    if (bar >= 0) {
        QString name = filePart.mid(bar + 1);
        if (!name.startsWith(u'/'))
            name.prepend(u'/');
        destination = withoutSlash(folderOf(path)) + name;
    } else if (path.endsWith(u'_')) {
        destination = folderOf(path) + "AUTO.EXT";
    } else {
        destination = path;
    }
    source = sourceFolder + fileNameOf(path);
}

}  // namespace setup
