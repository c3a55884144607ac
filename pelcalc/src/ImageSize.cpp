// PcImageSize: checks, direction rules, the target block, the progress box
// and the run on the worker threads.
#include "pelcalc/src/HostPrompts.h"
#include "pelcalc/src/Resampler.h"
#include "pelcalc/src/WorkerRun.h"

#include "pelcalc/include/Pelcalc.h"
#include "platform/Prompt.h"

#include <cstdlib>
#include <cstring>
#include <mutex>

namespace pelcalc {

namespace {

// One resampling at a time per process.
std::mutex oneAtATime;

bool isAbsent(const char* text) { return text == nullptr || *text == '\0'; }

// Mode 0 or 1 and a direction the operation knows; 0 otherwise.
int operationCode(const Picture& source, int newWidth, int newHeight, int mode)
{
    if (newWidth < 1 || newHeight < 1)
        return 0;
    if (newWidth < source.width)
        return newHeight < source.height ? mode + 10 : 0;
    return newHeight > source.height ? mode + 20 : 0;
}

// The target's header: the source's, with the new size. The target carries
// no colour table, so a table count the source had does not pass over.
DibHeader targetHeader(const void* image)
{
    DibHeader header = readHeader(image);
    if (header.clrUsed != 0) {
        header.clrUsed = 0;
        header.clrImportant = 0;
    }
    return header;
}

void clearRowPadding(const Picture& picture)
{
    const std::size_t used = 3 * static_cast<std::size_t>(picture.width);
    if (picture.stride == used)
        return;
    for (int r = 0; r < picture.height; ++r)
        std::memset(picture.row(r) + used, 0, picture.stride - used);
}

void* imageSize(const void* image, const char* caption, const char* message, int newWidth, int newHeight,
                int mode)
{
    if (mode != 0 && mode != 1)
        return nullptr;
    Picture source;
    switch (checkPicture(image, source)) {
    case PictureCheck::Ok: break;
    case PictureCheck::NotTrueColour:
        hostPrompts().message(platform::MessageKind::Information, QStringLiteral("bb"), QStringLiteral("aa"),
                              platform::Buttons::Ok);
        return nullptr;
    case PictureCheck::Unusable: return nullptr;
    }
    const int code = operationCode(source, newWidth, newHeight, mode);
    if (code == 0)
        return nullptr;

    std::unique_lock running(oneAtATime, std::try_to_lock);
    if (!running.owns_lock())
        return nullptr;

    void* block = newPicture(newWidth, newHeight, targetHeader(image));
    if (block == nullptr)
        return nullptr;
    Picture target;
    checkPicture(block, target);
    clearRowPadding(target);

    std::unique_ptr<platform::ProgressBox> box;
    if (!isAbsent(caption) || !isAbsent(message)) {
        box = hostPrompts().openProgress(QString::fromUtf8(caption ? caption : ""),
                                         QString::fromUtf8(message ? message : ""),
                                         QStringLiteral("キャンセル"));
        if (!box) {
            hostPrompts().message(platform::MessageKind::Information, QString(),
                                  QStringLiteral("CreateDialog NG"), platform::Buttons::Ok);
            std::free(block);
            return nullptr;
        }
    }

    const auto operation = static_cast<Operation>(code);
    const std::unique_ptr<Resampler> resampler = makeResampler(operation, source, target);
    const ProgressPosition position =
        operation == Operation::AreaAverage ? ProgressPosition::RowsFinished : ProgressPosition::LastRowIndex;
    const bool ok = resampler && runOnWorkers(*resampler, newHeight, newWidth, position, box.get());
    box.reset();
    if (!ok) {
        std::free(block);
        return nullptr;
    }
    return block;
}

}  // namespace

}  // namespace pelcalc

extern "C" PELCALC_API void* PcImageSize(const void* image, const char* caption, const char* message,
                                         int newWidth, int newHeight, int mode)
{
    try {
        return pelcalc::imageSize(image, caption, message, newWidth, newHeight, mode);
    } catch (...) {
        return nullptr;  // nothing may cross the C boundary
    }
}
