#include "tav/core/BatchLoop.h"
#include "platform/tests/ScriptedPrompt.h"
#include "tav/core/RunState.h"

#include <functional>
#include <gtest/gtest.h>

namespace {

using platform::Answer;

// Records what the window was told; `input` runs as the waiting input of
// each file (pressing ESC, say).
struct FakeHost : BatchHost {
    void setBusy(bool on) override { busy.push_back(on); }
    void setStatus(const QString& t) override { status.push_back(t); }
    void setGaugeMaximum(int m) override { maximum = m; }
    void setGauge(int v) override { gauge = v; }
    void processWaitingInput() override
    {
        if (input)
            input(++inputs);
    }
    std::vector<bool> busy;
    QStringList status;
    int maximum = 0;
    int gauge = -1;
    int inputs = 0;
    std::function<void(int)> input;
};

struct RecordingJob : BatchJob {
    bool begin() override { return canBegin; }
    bool process(const QString& path) override
    {
        done << path;
        return true;
    }
    bool cannotGoOn() const override { return goesOnFor > 0 && done.size() >= goesOnFor; }
    void end(bool s) override
    {
        ended = true;
        stopped = s;
    }
    bool showsCompletion() const override { return !preview; }
    bool canBegin = true;
    bool preview = false;
    int goesOnFor = 0;  // files before the job cannot go on; 0: all
    QStringList done;
    bool ended = false;
    bool stopped = false;
};

const BatchTexts kTexts{QStringLiteral("印刷するﾌｧｲﾙが選択されていません。"),
                        QStringLiteral("を印刷中です。(ESCｷｰまたは、「中止」ﾎﾞﾀﾝで中断できます)"),
                        QStringLiteral("本当に印刷を中断してよろしいですか？"), QStringLiteral("印刷完了。"),
                        QStringLiteral("印刷出来ませんでした。")};

const QStringList kFiles{QStringLiteral("/p/a.jpg"), QStringLiteral("/p/b.jpg"), QStringLiteral("/p/c.jpg")};

class BatchLoopTest : public ::testing::Test {
protected:
    void SetUp() override { AbortRequested = false; }
    platform::ScriptedPrompt prompt;
    FakeHost host;
    RecordingJob job;
};

TEST_F(BatchLoopTest, RunsEveryFileInBusyModeAndReportsCompletion)
{
    EXPECT_EQ(runBatch(host, kFiles, kTexts, job), BatchResult::Completed);
    EXPECT_EQ(job.done, kFiles);
    EXPECT_EQ(host.busy, (std::vector<bool>{true, false}));
    EXPECT_EQ(host.maximum, 3);
    EXPECT_EQ(host.gauge, 0);
    EXPECT_EQ(host.status.first(),
              QStringLiteral("a.jpgを印刷中です。(ESCｷｰまたは、「中止」ﾎﾞﾀﾝで中断できます)"));
    EXPECT_EQ(host.status.last(), QString());
    EXPECT_EQ(prompt.texts(), QStringList{QStringLiteral("印刷完了。")});
    EXPECT_FALSE(job.stopped);
}

TEST_F(BatchLoopTest, EmptySelectionIsRefusedWithoutBusyMode)
{
    EXPECT_EQ(runBatch(host, {}, kTexts, job), BatchResult::NothingSelected);
    EXPECT_TRUE(host.busy.empty());
    EXPECT_EQ(prompt.texts(), QStringList{QStringLiteral("印刷するﾌｧｲﾙが選択されていません。")});
}

TEST_F(BatchLoopTest, EscAnsweredNoGoesOnAndASecondEscAsksAgain)
{
    host.input = [](int) { AbortRequested = true; };
    prompt.answer(Answer::No);
    prompt.answer(Answer::No);
    prompt.answer(Answer::No);
    EXPECT_EQ(runBatch(host, kFiles, kTexts, job), BatchResult::Completed);
    EXPECT_EQ(job.done.size(), 3);
    EXPECT_EQ(prompt.texts().count(QStringLiteral("本当に印刷を中断してよろしいですか？")), 3);
    EXPECT_EQ(prompt.shown()[0].buttons, platform::Buttons::YesNo);
    EXPECT_FALSE(AbortRequested);
}

TEST_F(BatchLoopTest, EscPressedTwiceAsksOnceAndYesStops)
{
    host.input = [](int) {
        AbortRequested = true;
        AbortRequested = true;
    };
    prompt.answer(Answer::Yes);
    EXPECT_EQ(runBatch(host, kFiles, kTexts, job), BatchResult::Stopped);
    EXPECT_EQ(job.done.size(), 1);
    EXPECT_TRUE(job.ended);
    EXPECT_TRUE(job.stopped);
    EXPECT_TRUE(AbortRequested);  // stays set after a confirmed stop
    EXPECT_EQ(prompt.texts().count(QStringLiteral("本当に印刷を中断してよろしいですか？")), 1);
    EXPECT_EQ(host.busy, (std::vector<bool>{true, false}));
}

TEST_F(BatchLoopTest, EscWhileIdleDoesNotStopTheNextBatch)
{
    AbortRequested = true;
    EXPECT_EQ(runBatch(host, kFiles, kTexts, job), BatchResult::Completed);
    EXPECT_EQ(job.done.size(), 3);
    EXPECT_FALSE(prompt.texts().contains(QStringLiteral("本当に印刷を中断してよろしいですか？")));
}

TEST_F(BatchLoopTest, AJobThatCannotStartEndsWithItsMessage)
{
    job.canBegin = false;
    EXPECT_EQ(runBatch(host, kFiles, kTexts, job), BatchResult::FailedToStart);
    EXPECT_TRUE(job.done.isEmpty());
    EXPECT_FALSE(job.ended);
    EXPECT_EQ(host.busy, (std::vector<bool>{true, false}));
    EXPECT_EQ(prompt.texts(), QStringList{QStringLiteral("印刷出来ませんでした。")});
}

TEST_F(BatchLoopTest, AJobThatCannotGoOnSkipsTheRestAndEndsAsOneThatCouldNotStart)
{
    job.goesOnFor = 2;
    host.input = [](int) {};
    EXPECT_EQ(runBatch(host, kFiles, kTexts, job), BatchResult::FailedToStart);
    EXPECT_EQ(job.done, kFiles.mid(0, 2));
    EXPECT_TRUE(job.ended);
    EXPECT_FALSE(job.stopped);
    EXPECT_EQ(host.inputs, 1);  // the file that could not go on is not counted
    EXPECT_EQ(host.busy, (std::vector<bool>{true, false}));
    EXPECT_EQ(host.gauge, 0);
    EXPECT_EQ(prompt.texts(), QStringList{QStringLiteral("印刷出来ませんでした。")});

    // Without a failed-to-start text (a preview) the run ends without a word.
    prompt.clear();
    job.done.clear();
    BatchTexts preview = kTexts;
    preview.failedToStart.clear();
    EXPECT_EQ(runBatch(host, kFiles, preview, job), BatchResult::FailedToStart);
    EXPECT_TRUE(prompt.texts().isEmpty());
}

TEST_F(BatchLoopTest, APreviewRunShowsNoCompletionMessage)
{
    job.preview = true;
    EXPECT_EQ(runBatch(host, kFiles, kTexts, job), BatchResult::Completed);
    EXPECT_TRUE(prompt.texts().isEmpty());
}

}  // namespace
