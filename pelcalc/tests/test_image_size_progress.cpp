// PcImageSize's progress box, cancel, one-at-a-time rule and event flow.
#include "pelcalc/tests/ReferenceResample.h"

#include "pelcalc/include/Pelcalc.h"
#include "platform/ScriptedPrompt.h"

#include <QCoreApplication>
#include <QTimer>

#include <gtest/gtest.h>

using namespace pelcalc_test;

namespace {

const platform::PromptRecord* findProgress(const platform::ScriptedPrompt& prompts)
{
    for (const platform::PromptRecord& record : prompts.shown())
        if (record.type == platform::PromptRecord::Type::Progress)
            return &record;
    return nullptr;
}

}  // namespace

TEST(PcImageSizeProgress, NoBoxWithoutTextsAndABoxWithThem)
{
    platform::ScriptedPrompt prompts;
    const Block source = makeBlock(randomPixels(64, 48, 1));
    Block plain(PcImageSize(source.get(), nullptr, "", 32, 24, 1));
    EXPECT_NE(plain, nullptr);
    EXPECT_TRUE(prompts.shown().isEmpty());

    Block boxed(PcImageSize(source.get(), "縮小", "画像を縮小しています", 32, 24, 1));
    ASSERT_NE(boxed, nullptr);
    const platform::PromptRecord* box = findProgress(prompts);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->caption, QStringLiteral("縮小"));
    EXPECT_EQ(box->text, QStringLiteral("画像を縮小しています"));
    EXPECT_TRUE(readBlock(boxed.get()) == readBlock(plain.get()));
}

TEST(PcImageSizeProgress, CancelFreesTheTargetAndReturnsZero)
{
    // Run under the sanitizer target, this also proves the partial target is freed.
    platform::ScriptedPrompt prompts;
    const Block small = makeBlock(randomPixels(40, 30, 2));
    prompts.cancelProgressAt = 0;
    EXPECT_EQ(PcImageSize(small.get(), "c", "m", 20, 15, 1), nullptr);
    EXPECT_EQ(PcImageSize(small.get(), "c", "m", 80, 90, 1), nullptr);
    EXPECT_EQ(PcImageSize(small.get(), "c", "m", 80, 90, 0), nullptr);

    // Cancelled part way through a picture big enough to be split across workers.
    const Block big = makeBlock(randomPixels(800, 600, 3));
    prompts.cancelProgressAt = 30;
    EXPECT_EQ(PcImageSize(big.get(), "c", "m", 2400, 1800, 1), nullptr);
    EXPECT_EQ(PcImageSize(big.get(), "c", "m", 400, 300, 1), nullptr);

    // Without the cancel the same call succeeds.
    prompts.cancelProgressAt = -1;
    EXPECT_NE(Block(PcImageSize(big.get(), "c", "m", 400, 300, 1)), nullptr);
}

TEST(PcImageSizeProgress, ACallWhileOneRunsReturnsZero)
{
    platform::ScriptedPrompt prompts;
    const Block source = makeBlock(randomPixels(64, 48, 4));
    void* inner = reinterpret_cast<void*>(1);
    prompts.onPrompt = [&](const platform::PromptRecord& record) {
        if (record.type == platform::PromptRecord::Type::Progress)
            inner = PcImageSize(source.get(), nullptr, nullptr, 32, 24, 1);
    };
    const Block outer(PcImageSize(source.get(), "c", "m", 32, 24, 1));
    EXPECT_NE(outer, nullptr);
    EXPECT_EQ(inner, nullptr) << "re-entered while the first call was running";
    prompts.onPrompt = nullptr;
    EXPECT_NE(Block(PcImageSize(source.get(), nullptr, nullptr, 32, 24, 1)), nullptr);
}

TEST(PcImageSizeProgress, TheCallingThreadKeepsItsEventsFlowing)
{
    int argc = 1;
    char name[] = "pelcalc_tests";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    bool ran = false;
    QTimer::singleShot(0, &app, [&] { ran = true; });
    const Block source = makeBlock(randomPixels(64, 48, 5));
    const Block out(PcImageSize(source.get(), nullptr, nullptr, 96, 72, 1));
    EXPECT_NE(out, nullptr);
    EXPECT_TRUE(ran) << "a queued event ran during the call";
}
