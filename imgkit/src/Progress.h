// The progress box every long operation shows through the prompt service:
// none when both caption and text are empty, a cancel button when a cancel
// text is given.
#pragma once

#include <QString>

#include <cstdint>
#include <memory>

namespace platform {
class ProgressBox;
}

namespace imgkit {

class Progress {
public:
    Progress(const QString& caption, const QString& text, const QString& cancelText = {});
    ~Progress();
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    // Reports `done` of `total` units; false once the user has cancelled.
    bool update(std::int64_t done, std::int64_t total);
    bool cancelled() const;

private:
    std::unique_ptr<platform::ProgressBox> m_box;
    int m_percent = -1;
};

// Reports through `progress` when there is one; false once cancelled.
inline bool reportProgress(Progress* progress, std::int64_t done, std::int64_t total)
{
    return !progress || progress->update(done, total);
}

}  // namespace imgkit
