#include "platform/Sjis.h"
#include "platform/tests/ScriptedPrompt.h"
#include "tav/catalog/CommentFile.h"
#include "tav/catalog/ui/frmCom.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using platform::Answer;

const QString kBadDate = QStringLiteral("撮影日付が異常です｡修正してください。");
const QString kDiscardQuestion = QStringLiteral("変更した内容は保存されません。よろしいですか？");
const QString kSaveQuestion = QStringLiteral("変更した内容を保存しますか？");
const QString kWriteFailed = QStringLiteral("E:ｺﾒﾝﾄおよびﾀｲﾄﾙを保存できませんでした.(ﾃﾞｨｽｸに書き込めません)");

class ComEditorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        picture = dir.filePath(QStringLiteral("IMG01.JPG"));
        QFile file(picture);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.close();
        ASSERT_EQ(
            WriteComment(picture, COMKATA{QStringLiteral("ﾀｲﾄﾙ"), QStringLiteral("2001"), QStringLiteral("5"),
                                          QStringLiteral("3"), QStringLiteral("one\r\ntwo")}),
            0);
        before = commentBytes();
    }

    // The editor shown without its own event loop, so a test can act on it.
    std::unique_ptr<TfrCom> openEditor()
    {
        auto editor = std::make_unique<TfrCom>();
        editor->setPicturePath(picture);
        editor->show();
        return editor;
    }
    static QLineEdit* field(TfrCom& editor, const char* name)
    {
        return editor.findChild<QLineEdit*>(QString::fromLatin1(name));
    }
    static void retype(TfrCom& editor, const char* name, const QString& text)
    {
        QLineEdit* edit = field(editor, name);
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
    QByteArray commentBytes() const
    {
        QFile file(dir.filePath(QStringLiteral("IMG01.tav")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    COMKATA saved() const
    {
        COMKATA record;
        ReadComment(picture, record);
        return record;
    }

    QTemporaryDir dir;
    QString picture;
    QByteArray before;
    platform::ScriptedPrompt prompt;
};

TEST_F(ComEditorTest, ShowsTheRecordInItsFields)
{
    auto editor = openEditor();
    EXPECT_EQ(editor->windowTitle(), QStringLiteral("ｺﾒﾝﾄの編集 [IMG01.JPG]"));
    EXPECT_EQ(field(*editor, "tx_title")->text(), QStringLiteral("ﾀｲﾄﾙ"));
    EXPECT_EQ(field(*editor, "tx_nen")->text(), QStringLiteral("2001"));
    EXPECT_EQ(field(*editor, "tx_tuki")->text(), QStringLiteral("5"));
    EXPECT_EQ(field(*editor, "tx_hi")->text(), QStringLiteral("3"));
    EXPECT_EQ(editor->findChild<QPlainTextEdit*>(QStringLiteral("tx_com"))->toPlainText(),
              QStringLiteral("one\ntwo"));
    // Nothing typed yet: closing asks nothing and writes nothing.
    editor->close();
    EXPECT_FALSE(editor->isVisible());
    EXPECT_TRUE(prompt.shown().isEmpty());
    EXPECT_EQ(commentBytes(), before);
}

TEST_F(ComEditorTest, SaveAndCloseChecksTheDate)
{
    auto editor = openEditor();
    retype(*editor, "tx_hi", QStringLiteral("30"));
    retype(*editor, "tx_tuki", QStringLiteral("2"));
    editor->mnuSaveCloseClick();
    EXPECT_EQ(prompt.texts(), QStringList{kBadDate});
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(commentBytes(), before);

    retype(*editor, "tx_hi", QStringLiteral("28"));
    auto* comment = editor->findChild<QPlainTextEdit*>(QStringLiteral("tx_com"));
    comment->moveCursor(QTextCursor::End);
    QTest::keyClick(comment, Qt::Key_Return);
    comment->insertPlainText(QStringLiteral("ｻﾝ"));
    editor->mnuSaveCloseClick();
    EXPECT_FALSE(editor->isVisible());
    const COMKATA record = saved();
    EXPECT_EQ(record.month, QStringLiteral("2"));
    EXPECT_EQ(record.day, QStringLiteral("28"));
    EXPECT_EQ(record.comment, QStringLiteral("one\r\ntwo\r\nｻﾝ"));
    EXPECT_EQ(prompt.texts(), QStringList{kBadDate});
}

TEST_F(ComEditorTest, TextOutsideShiftJisIsSavedAndShownBackUnchanged)
{
    const QString title = QStringLiteral("Café 😀");
    const QString comment = QStringLiteral("München\u00A0– 1\u00A0200 m\n&#x41; ©名");
    auto editor = openEditor();
    field(*editor, "tx_title")->setText(title);
    auto* text = editor->findChild<QPlainTextEdit*>(QStringLiteral("tx_com"));
    text->selectAll();
    text->insertPlainText(comment);
    editor->mnuSaveCloseClick();
    EXPECT_TRUE(prompt.shown().isEmpty());
    EXPECT_TRUE(commentBytes().startsWith("[TI]\r\nCaf&#xE9; &#x1F600;\r\n"));

    auto again = openEditor();
    EXPECT_EQ(field(*again, "tx_title")->text(), title);
    EXPECT_EQ(again->findChild<QPlainTextEdit*>(QStringLiteral("tx_com"))->document()->toRawText(),
              QString(comment).replace(u'\n', QChar::ParagraphSeparator));
    EXPECT_EQ(saved().comment, QString(comment).replace(QStringLiteral("\n"), QStringLiteral("\r\n")));
}

TEST_F(ComEditorTest, DiscardAsksOnlyAfterAChange)
{
    {
        auto editor = openEditor();
        editor->mnuHakiClick();
        EXPECT_FALSE(editor->isVisible());
        EXPECT_TRUE(prompt.shown().isEmpty());
    }
    auto editor = openEditor();
    QTest::keyClicks(field(*editor, "tx_title"), QStringLiteral("x"));
    prompt.answer(Answer::No);
    editor->mnuHakiClick();
    EXPECT_TRUE(editor->isVisible());
    prompt.answer(Answer::Yes);
    editor->mnuHakiClick();
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(prompt.texts(), (QStringList{kDiscardQuestion, kDiscardQuestion}));
    EXPECT_EQ(prompt.shown().first().buttons, platform::Buttons::YesNo);
    EXPECT_EQ(commentBytes(), before);
}

TEST_F(ComEditorTest, CloseBoxOffersToSaveEvenAnImpossibleDate)
{
    auto editor = openEditor();
    retype(*editor, "tx_tuki", QStringLiteral("2"));
    retype(*editor, "tx_hi", QStringLiteral("30"));
    prompt.answer(Answer::Yes);
    editor->close();
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(prompt.texts(), QStringList{kSaveQuestion});
    EXPECT_EQ(saved().month, QStringLiteral("2"));
    EXPECT_EQ(saved().day, QStringLiteral("30"));
}

TEST_F(ComEditorTest, CloseBoxAnsweredNoKeepsTheOldFile)
{
    auto editor = openEditor();
    QTest::keyClicks(field(*editor, "tx_title"), QStringLiteral("x"));
    prompt.answer(Answer::No);
    editor->close();
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(commentBytes(), before);
}

TEST_F(ComEditorTest, StepWithTheArrowsCountsAsAChange)
{
    auto editor = openEditor();
    QTest::keyClick(field(*editor, "tx_nen"), Qt::Key_Up);
    EXPECT_EQ(field(*editor, "tx_nen")->text(), QStringLiteral("2002"));
    prompt.answer(Answer::Yes);
    editor->close();
    EXPECT_EQ(prompt.texts(), QStringList{kSaveQuestion});
    EXPECT_EQ(saved().year, QStringLiteral("2002"));
}

TEST_F(ComEditorTest, TheYearCounterEndsAtNextYear)
{
    auto editor = openEditor();
    const int next = QDate::currentDate().year() + 1;
    retype(*editor, "tx_nen", QString::number(next - 1));
    QTest::keyClick(field(*editor, "tx_nen"), Qt::Key_Up);
    QTest::keyClick(field(*editor, "tx_nen"), Qt::Key_Up);
    EXPECT_EQ(field(*editor, "tx_nen")->text(), QString::number(next));
    prompt.answer(Answer::No);
}

TEST_F(ComEditorTest, StepsThroughTheSelectedPicturesOfferingToSaveAChange)
{
    const QString second = dir.filePath(QStringLiteral("IMG02.JPG"));
    QFile(second).open(QIODevice::WriteOnly);
    TfrCom editor;
    editor.setPictures({picture, second}, 0);
    editor.show();
    auto* prev = editor.findChild<QPushButton*>(QStringLiteral("bt_comPrev"));
    auto* next = editor.findChild<QPushButton*>(QStringLiteral("bt_comNext"));
    EXPECT_FALSE(prev->isEnabled());

    retype(editor, "tx_title", QStringLiteral("Summer"));
    prompt.answer(Answer::Yes);
    next->click();
    EXPECT_EQ(prompt.texts(), QStringList{kSaveQuestion});
    EXPECT_EQ(saved().title, QStringLiteral("Summer"));
    EXPECT_EQ(editor.windowTitle(), QStringLiteral("ｺﾒﾝﾄの編集 [IMG02.JPG]"));
    EXPECT_EQ(field(editor, "tx_title")->text(), QString());
    EXPECT_FALSE(next->isEnabled());

    // Nothing changed here: no question on the way back.
    prev->click();
    EXPECT_EQ(prompt.texts().size(), 1);
    EXPECT_EQ(field(editor, "tx_title")->text(), QStringLiteral("Summer"));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("IMG02.tav"))));
    editor.close();
}

TEST_F(ComEditorTest, FailedWritesShowTheError)
{
    // A folder in the comment file's place cannot be replaced by a file.
    QFile::remove(dir.filePath(QStringLiteral("IMG01.tav")));
    ASSERT_TRUE(QDir().mkpath(dir.filePath(QStringLiteral("IMG01.tav"))));

    auto editor = openEditor();
    // The unreadable comment file leaves the date at 0/0/0; give it a real one.
    retype(*editor, "tx_nen", QStringLiteral("2001"));
    retype(*editor, "tx_tuki", QStringLiteral("5"));
    retype(*editor, "tx_hi", QStringLiteral("3"));
    editor->mnuSaveCloseClick();
    EXPECT_EQ(prompt.texts(), QStringList{kWriteFailed});
    EXPECT_EQ(prompt.shown().first().kind, platform::MessageKind::Error);
    // The typed text is not lost: the editor stays open.
    EXPECT_TRUE(editor->isVisible());

    prompt.clear();
    prompt.answer(Answer::Yes);
    editor->close();
    EXPECT_EQ(prompt.texts(), (QStringList{kSaveQuestion, kWriteFailed}));
    EXPECT_FALSE(editor->isVisible());
}

TEST_F(ComEditorTest, OpeningNeedsAPicture)
{
    EXPECT_FALSE(editPictureComment(nullptr, QStringList()));
    QTimer::singleShot(0, [] {
        if (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
    });
    EXPECT_TRUE(editPictureComment(nullptr, {picture}));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace
