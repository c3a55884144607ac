#include "tav/core/spath.h"

#include "platform/Prompt.h"

TfrPath::TfrPath() : m_caption(QStringLiteral("パスの指定")) {}

bool TfrPath::ShowModal()
{
    m_result.clear();
    const std::optional<QString> chosen = platform::prompts().browseFolder(m_caption, m_folder);
    if (!chosen || chosen->isEmpty())
        return false;
    m_result = folderPickerResult(*chosen);
    m_folder = m_result;
    return true;
}

QString folderPickerResult(const QString& folder)
{
    QString result = folder;
    while (result.size() > 1 && (result.endsWith(QLatin1Char('/')) || result.endsWith(QLatin1Char('\\'))))
        result.chop(1);
    return result;
}
