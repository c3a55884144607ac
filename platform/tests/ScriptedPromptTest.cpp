#include "platform/tests/ScriptedPrompt.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace platform;

TEST(ScriptedPrompt, RecordsTextsAndAnswersFromTheQueueThenWithDefaults)
{
    ScriptedPrompt script;
    script.answer(Answer::Yes);
    EXPECT_TRUE(askYesNo(QStringLiteral("上書きしますか?"), "Tav"));
    EXPECT_FALSE(askYesNo("again?"));  // queue empty: the safe No
    showError("broken");
    EXPECT_EQ(prompts().message(MessageKind::Warning, "", "w", Buttons::OkCancel), Answer::Cancel);
    EXPECT_EQ(prompts().message(MessageKind::Warning, "", "w", Buttons::YesAbort), Answer::Abort);

    EXPECT_EQ(script.texts(), (QStringList{QStringLiteral("上書きしますか?"), "again?", "broken", "w", "w"}));
    const PromptRecord& first = script.shown().front();
    EXPECT_EQ(first.kind, MessageKind::Question);
    EXPECT_EQ(first.buttons, Buttons::YesNo);
    EXPECT_EQ(first.caption, "Tav");
    EXPECT_EQ(script.shown()[2].kind, MessageKind::Error);
}

TEST(ScriptedPrompt, DialogsTakeTheirScriptedAnswersOrAreCancelled)
{
    ScriptedPrompt script;
    const FontSpec font{QStringLiteral("ＭＳ Ｐゴシック"), 12, 0x0000FF, 1};
    script.answer(true);
    script.answer(std::optional<QString>("/pics/a.jpg"));
    script.answer(std::optional<FontSpec>(font));
    script.answer(std::optional<std::uint32_t>(0x00FF00));
    EXPECT_TRUE(prompts().printDialog(nullptr));
    EXPECT_EQ(prompts().openFile({"Open", "/pics", "*.jpg"}), "/pics/a.jpg");
    EXPECT_EQ(prompts().chooseFont({}), font);
    ColorRequest colors;
    EXPECT_EQ(prompts().chooseColor(colors), 0x00FF00u);
    EXPECT_FALSE(prompts().printerSetupDialog(nullptr));
    EXPECT_FALSE(prompts().browseFolder("Folder", "/pics"));
    ASSERT_EQ(script.shown().size(), 6);
    EXPECT_EQ(script.shown()[1].type, PromptRecord::Type::OpenFile);
    EXPECT_EQ(script.shown()[1].caption, "Open");
    EXPECT_EQ(script.shown()[5].type, PromptRecord::Type::BrowseFolder);
}

TEST(ScriptedPrompt, AnswerThatDoesNotFitFailsLoudly)
{
    ScriptedPrompt script;
    script.answer(true);
    EXPECT_THROW(showInformation("x"), std::logic_error);
    script.answer(Answer::Yes);
    EXPECT_THROW(prompts().message(MessageKind::Question, "", "q", Buttons::OkCancel), std::logic_error);
    script.answer(Answer::Ok);
    EXPECT_THROW(prompts().openFile({}), std::logic_error);
}

TEST(ScriptedPrompt, OnPromptMayQueueTheAnswer)
{
    ScriptedPrompt script;
    script.onPrompt = [&](const PromptRecord& r) {
        if (r.text == "stop?")
            script.answer(Answer::Yes);
    };
    EXPECT_TRUE(askYesNo("stop?"));
    EXPECT_FALSE(askYesNo("other?"));
}

TEST(ScriptedPrompt, ProgressRecordsPercentagesAndCancelsWhenTold)
{
    ScriptedPrompt script;
    script.cancelProgressAt = 50;
    auto box = prompts().openProgress("Tav", QStringLiteral("印刷中"), "Cancel");
    box->setPercent(10);
    EXPECT_FALSE(box->cancelled());
    box->setPercent(60);
    EXPECT_TRUE(box->cancelled());
    EXPECT_EQ(script.percents(), (QList<int>{10, 60}));
    EXPECT_EQ(script.shown().front().type, PromptRecord::Type::Progress);
    EXPECT_EQ(script.texts(), QStringList{QStringLiteral("印刷中")});
}

TEST(ScriptedPrompt, InstallsItselfAndRestoresThePreviousService)
{
    PromptService* before = &prompts();
    {
        ScriptedPrompt outer;
        {
            ScriptedPrompt inner;
            EXPECT_EQ(&prompts(), &inner);
        }
        EXPECT_EQ(&prompts(), &outer);
    }
    EXPECT_EQ(&prompts(), before);
    // Without a service every question gets its safe default.
    EXPECT_FALSE(askYesNo("nobody there"));
    EXPECT_FALSE(prompts().openProgress("", "", "")->cancelled());
}
