#include "tav/core/spath.h"

#include "platform/Prompt.h"
#include "tav/core/TextHelpers.h"

TfrPath::TfrPath() : m_caption(QStringLiteral("パスの指定")) {}

bool TfrPath::ShowModal()
{
    m_result.clear();
    const std::optional<QString> chosen = platform::prompts().browseFolder(m_caption, m_folder);
    if (!chosen || chosen->isEmpty())
        return false;
    m_result = withoutTrailingSeparator(*chosen);
    m_folder = m_result;
    return true;
}
