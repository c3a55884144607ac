#include "tav/core/BatchLoop.h"

#include "platform/Prompt.h"
#include "tav/core/RunState.h"

#include <QFileInfo>

namespace {

// Busy mode for the length of a run, left on every path out of it.
class BusyScope {
public:
    explicit BusyScope(BatchHost& host) : m_host(host) { m_host.setBusy(true); }
    ~BusyScope() { m_host.setBusy(false); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    BatchHost& m_host;
};

bool confirmStop(const QString& question)
{
    return platform::prompts().message(platform::MessageKind::Question, {}, question,
                                       platform::Buttons::YesNo) == platform::Answer::Yes;
}

}  // namespace

BatchResult runBatch(BatchHost& host, const QStringList& paths, const BatchTexts& texts, BatchJob& job)
{
    AbortRequested = false;
    host.setGauge(0);
    if (paths.isEmpty()) {
        platform::showInformation(texts.emptySelection);
        return BatchResult::NothingSelected;
    }

    bool started = false;
    bool cutShort = false;  // a job could not go on after a file, or its output was not delivered
    bool stopped = false;
    bool completion = false;
    {
        BusyScope busy(host);
        host.setGaugeMaximum(static_cast<int>(paths.size()));
        started = job.begin();
        if (started) {
            int done = 0;
            for (const QString& path : paths) {
                host.setStatus(QFileInfo(path).fileName() + texts.progress);
                const bool counted = job.process(path);
                if (job.cannotGoOn()) {
                    cutShort = true;
                    break;
                }
                if (!counted)
                    continue;
                host.processWaitingInput();
                if (AbortRequested) {
                    if (confirmStop(texts.stopQuestion)) {
                        stopped = true;
                        break;
                    }
                    AbortRequested = false;
                }
                host.setGauge(++done);
            }
            job.end(stopped);
            cutShort = cutShort || (!stopped && !job.delivered());
            completion = !cutShort && job.showsCompletion();
        }
    }
    const bool failed = !started || cutShort;
    host.setStatus({});
    if (failed && !texts.failedToStart.isEmpty())
        platform::showInformation(texts.failedToStart);
    else if (completion && !texts.completed.isEmpty())
        platform::showInformation(texts.completed);
    host.setGauge(0);
    if (failed)
        return BatchResult::FailedToStart;
    return stopped ? BatchResult::Stopped : BatchResult::Completed;
}
