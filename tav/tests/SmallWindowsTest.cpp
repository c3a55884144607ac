#include "platform/Sjis.h"
#include "platform/tests/ScriptedPrompt.h"
#include "tav/core/HintTips.h"
#include "tav/core/TextHelpers.h"
#include "tav/core/spath.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(HintFile, ShiftJisLinesWithEveryLineBreakAndEmptyTips)
{
    // "ソ" and "表" end in the byte of a backslash; "ﾜﾝﾎﾟｲﾝﾄ" is single-byte katakana.
    const QByteArray bytes = platform::toSjis(QStringLiteral("ソフトを表示\r\nﾜﾝﾎﾟｲﾝﾄ\n\rC:\\tav\r\r\n最後"));
    EXPECT_EQ(hintLines(bytes),
              (QStringList{QStringLiteral("ソフトを表示"), QStringLiteral("ﾜﾝﾎﾟｲﾝﾄ"), QString(),
                           QStringLiteral("C:\\tav"), QString(), QStringLiteral("最後")}));
}

TEST(HintFile, ABreakAtTheEndClosesTheLastTip)
{
    EXPECT_EQ(hintLines("a\r\nb\r\n"), (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
    EXPECT_EQ(hintLines("a\n"), QStringList{QStringLiteral("a")});
    EXPECT_EQ(hintLines("a\n\n"), (QStringList{QStringLiteral("a"), QString()}));
    EXPECT_EQ(hintLines("\r\n"), QStringList{QString()});
    EXPECT_TRUE(hintLines({}).isEmpty());
}

TEST(HintFile, BrokenShiftJisKeepsItsLines)
{
    // A lead byte cut short by the line break must not swallow the break or the next tip.
    const QStringList lines = hintLines(QByteArray("A\x81\r\nB\x82\nC"));
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[0].startsWith(QLatin1Char('A')));
    EXPECT_EQ(lines[1].front(), QLatin1Char('B'));
    EXPECT_EQ(lines[2], QStringLiteral("C"));
}

TEST(HintFile, ReadFromDiskOrNothing)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QString::fromLatin1(kHintFileName));
    EXPECT_TRUE(readHintFile(path).isEmpty());
    EXPECT_TRUE(readHintFile(dir.path()).isEmpty());  // a folder in the file's place

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(platform::toSjis(QStringLiteral("一つ目\r\n二つ目\r\n")));
    file.close();
    EXPECT_EQ(readHintFile(path), (QStringList{QStringLiteral("一つ目"), QStringLiteral("二つ目")}));
}

TEST(HintTips, NextGoesRoundAndAnyIndexIsTakenRound)
{
    HintTips tips({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    tips.showTip(1);
    EXPECT_EQ(tips.current(), QStringLiteral("b"));
    QStringList seen;
    for (int i = 0; i < 3; ++i) {
        tips.next();
        seen << tips.current();
    }
    EXPECT_EQ(seen, (QStringList{QStringLiteral("c"), QStringLiteral("a"), QStringLiteral("b")}));
    tips.showTip(-1);
    EXPECT_EQ(tips.current(), QStringLiteral("c"));
    tips.showTip(7);
    EXPECT_EQ(tips.current(), QStringLiteral("b"));

    HintTips one({QStringLiteral("only")});
    one.next();
    EXPECT_EQ(one.current(), QStringLiteral("only"));

    HintTips none;
    none.showTip(2);
    none.next();
    EXPECT_EQ(none.count(), 0);
    EXPECT_EQ(none.current(), QString());
}

TEST(FolderPicker, ResultWithoutTrailingSeparatorButRootKept)
{
    EXPECT_EQ(withoutTrailingSeparator(QStringLiteral("/home/u/out/")), QStringLiteral("/home/u/out"));
    EXPECT_EQ(withoutTrailingSeparator(QStringLiteral("/home/u/out")), QStringLiteral("/home/u/out"));
    EXPECT_EQ(withoutTrailingSeparator(QStringLiteral("/")), QStringLiteral("/"));
    EXPECT_EQ(withoutTrailingSeparator(QStringLiteral("E:\\")), QStringLiteral("E:"));
}

TEST(FolderPicker, AsksWithTheCallersCaptionAndStartsWhereItLastEnded)
{
    platform::ScriptedPrompt prompt;
    TfrPath picker;
    EXPECT_EQ(picker.caption(), QStringLiteral("パスの指定"));
    picker.setCaption(QStringLiteral("結果出力先の指定"));

    prompt.answer(std::optional<QString>(QStringLiteral("/tmp/out/")));
    ASSERT_TRUE(picker.ShowModal());
    EXPECT_EQ(picker.result(), QStringLiteral("/tmp/out"));

    // Cancelling clears the result of the earlier use but keeps the folder.
    prompt.answer(std::optional<QString>());
    EXPECT_FALSE(picker.ShowModal());
    EXPECT_EQ(picker.result(), QString());

    prompt.answer(std::optional<QString>(QString()));
    EXPECT_FALSE(picker.ShowModal());
    EXPECT_EQ(picker.result(), QString());

    ASSERT_EQ(prompt.shown().size(), 3);
    for (const platform::PromptRecord& r : prompt.shown()) {
        EXPECT_EQ(r.type, platform::PromptRecord::Type::BrowseFolder);
        EXPECT_EQ(r.caption, QStringLiteral("結果出力先の指定"));
    }
    EXPECT_EQ(prompt.shown()[0].text, QString());
    EXPECT_EQ(prompt.shown()[1].text, QStringLiteral("/tmp/out"));
    EXPECT_EQ(prompt.shown()[2].text, QStringLiteral("/tmp/out"));
}

}  // namespace
