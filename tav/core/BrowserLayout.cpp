#include "tav/core/BrowserLayout.h"

#include "platform/ProfileFile.h"

#include <algorithm>

namespace {

const QString kSection = QString::fromLatin1(kBrowseSection);
const QString kWidthKey = QStringLiteral("retsuHaba");

QString historyKey(int slot) { return QStringLiteral("rireki%1").arg(slot + 1); }

}  // namespace

BrowserLayout readBrowserLayout(const platform::ProfileFile& file)
{
    BrowserLayout layout;
    bool ok = false;
    const int width = file.readString(kSection, kWidthKey, QString()).toInt(&ok);
    layout.fileColumnWidth = ok && width > 0 ? width : 0;
    for (int slot = 0; slot < kMaxRecentFolders; ++slot) {
        const QString folder = file.readValue(kSection, historyKey(slot)).value_or(QString()).trimmed();
        if (!folder.isEmpty() && !layout.recentFolders.contains(folder))
            layout.recentFolders << folder;
    }
    return layout;
}

bool writeBrowserLayout(platform::ProfileFile& file, const BrowserLayout& layout)
{
    bool written =
        file.writeString(kSection, kWidthKey, QString::number(std::max(0, layout.fileColumnWidth)));
    for (int slot = 0; slot < kMaxRecentFolders; ++slot) {
        if (slot < layout.recentFolders.size())
            written = file.writeString(kSection, historyKey(slot), layout.recentFolders[slot]) && written;
        else if (file.readValue(kSection, historyKey(slot)))
            written = file.deleteKey(kSection, historyKey(slot)) && written;
    }
    return written;
}
