#include "setup/ui/FolderDialog.h"

#include "platform/Prompt.h"

bool TFolderDialog::Execute(const QString& initial)
{
    const std::optional<QString> chosen = platform::prompts().browseFolder(Title, initial);
    if (!chosen || chosen->isEmpty() || chosen->size() > kMaxPath)
        return false;
    QString folder = *chosen;
    while (folder.size() > 1 && (folder.endsWith(u'/') || folder.endsWith(u'\\')))
        folder.chop(1);
    m_folder = folder;
    return true;
}
