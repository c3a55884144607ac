#include "imgkit/src/Progress.h"

#include "platform/Prompt.h"

namespace imgkit {

Progress::Progress(const QString& caption, const QString& text, const QString& cancelText)
{
    if (!caption.isEmpty() || !text.isEmpty())
        m_box = platform::prompts().openProgress(caption, text, cancelText);
}

Progress::~Progress() = default;

bool Progress::update(std::int64_t done, std::int64_t total)
{
    if (!m_box)
        return true;
    const int percent = total > 0 ? static_cast<int>(done * 100 / total) : 100;
    if (percent != m_percent) {
        m_percent = percent;
        m_box->setPercent(percent);
    }
    return !m_box->cancelled();
}

bool Progress::cancelled() const { return m_box && m_box->cancelled(); }

}  // namespace imgkit
