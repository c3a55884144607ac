#include "tav/imaging/PictureQueue.h"

#include "platform/Prompt.h"
#include "tav/core/TextHelpers.h"

#include <cstdint>
#include <memory>

using imgkit::DibHandle;

namespace {

// Needs up to this many pixels are small enough to hold three pictures of at a time.
constexpr std::int64_t kSmallNeed = 1024 * 1024;

}  // namespace

int picturesAheadFor(const LoadNeed& need)
{
    return need.empty() || std::int64_t(need.width) * need.height > kSmallNeed ? 1 : 2;
}

PictureQueue::PictureQueue(const QStringList& paths, const LoadNeed& need)
    : m_need(need), m_ahead(
                        paths,
                        [need](const QString& path) {
                            Loaded loaded;
                            loaded.dib = LoadImageFileByLibrary(path, need, &loaded.full, loaded.gvMayTry);
                            return loaded;
                        },
                        picturesAheadFor(need))
{}

DibHandle PictureQueue::take(const QString& path, const QString& caption, const QString& message,
                             const QString& gvPath, ImageInfo* full)
{
    // A picture no worker has started is loaded here the plain way, box and all.
    const auto loadHere = [&](const QString&) {
        Loaded loaded;
        loaded.dib = LoadImageFileAtLeast(path, caption, message, gvPath, m_need, &loaded.full);
        return loaded;
    };
    // While a worker still decodes it, the box a plain load would show (after
    // its delay), with a cancel button where a plain load has one.
    std::unique_ptr<platform::ProgressBox> box;
    const LoadRoute route = LoadRouteFor(SplitExtension(path).extension.toUpper());
    if ((!caption.isEmpty() || !message.isEmpty()) &&
        (route == LoadRoute::Ik5 || route == LoadRoute::ImgKit)) {
        const QString cancel = route == LoadRoute::Ik5 ? QStringLiteral("ｷｬﾝｾﾙ") : QString();
        box = platform::prompts().openProgress(caption, message, cancel);
    }
    const auto waiting = [&box] {
        if (!box)
            return true;
        box->setPercent(0);
        return !box->cancelled();
    };
    std::optional<Loaded> loaded = m_ahead.take(path, waiting, loadHere);
    if (box && loaded)
        box->setPercent(100);
    box.reset();
    if (!loaded) {
        // Cancelled while decoding: as a plain load cancelled, GV may try.
        loaded.emplace();
        loaded->gvMayTry = true;
    }
    if (!loaded->dib && loaded->gvMayTry)
        loaded->dib = LoadImageFileByGv(path, gvPath, &loaded->full);
    if (loaded->dib && full)
        *full = loaded->full;
    return std::move(loaded->dib);
}
