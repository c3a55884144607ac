#include "platform/tests/ScriptedPrompt.h"
#include "tav/catalog/CommentFile.h"
#include "tav/catalog/ui/TitlesTabView.h"
#include "tav/catalog/ui/frmCom.h"
#include "tav/core/AppSettings.h"
#include "tav/core/ui/WorkTabs.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class TitlesTabTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        first = dir.filePath(QStringLiteral("wide.png"));
        second = dir.filePath(QStringLiteral("tall.png"));
        QImage wide(400, 100, QImage::Format_RGB32);
        wide.fill(Qt::red);
        ASSERT_TRUE(wide.save(first));
        QImage tall(50, 300, QImage::Format_RGB32);
        tall.fill(Qt::blue);
        ASSERT_TRUE(tall.save(second));
        ASSERT_EQ(
            WriteComment(first, COMKATA{QStringLiteral("ﾀｲﾄﾙ"), QStringLiteral("2001"), QStringLiteral("5"),
                                        QStringLiteral("3"), QStringLiteral("a\r\nb")}),
            0);
        tab.reset(buildTitlesTab());
    }

    // A caption too long for the group is shortened, and shown whole as its tip.
    QString caption() const
    {
        const auto* group = tab->findChild<QGroupBox*>(QStringLiteral("gb_ticom"));
        return group->toolTip().isEmpty() ? group->title() : group->toolTip();
    }
    QString text(const char* name) const
    {
        return tab->findChild<QLineEdit*>(QString::fromLatin1(name))->text();
    }
    QString comment() const
    {
        return tab->findChild<QPlainTextEdit*>(QStringLiteral("tx_ticomCom"))->toPlainText();
    }
    // The message boxes shown (the loader's progress boxes left out).
    QStringList messages() const
    {
        QStringList texts;
        for (const platform::PromptRecord& r : prompt.shown()) {
            if (r.type == platform::PromptRecord::Type::Message)
                texts << r.text;
        }
        return texts;
    }
    QLabel* preview() const { return tab->findChild<QLabel*>(QStringLiteral("pic3")); }
    QCheckBox* previewWanted() const { return tab->findChild<QCheckBox*>(QStringLiteral("cb_ticom_prv")); }

    QTemporaryDir dir;
    QString first;
    QString second;
    std::unique_ptr<QWidget> tab;
    AppSettings app;
    platform::ScriptedPrompt prompt;
};

TEST_F(TitlesTabTest, OneSelectedPictureIsShown)
{
    refreshTitlesTab(tab.get(), {first}, app, nullptr);
    EXPECT_EQ(caption(), QStringLiteral("ﾌｧｲﾙ名: ") + first);
    EXPECT_EQ(text("tx_ticomTitle"), QStringLiteral("ﾀｲﾄﾙ"));
    EXPECT_EQ(text("tx_ticomNen"), QStringLiteral("2001"));
    EXPECT_EQ(text("tx_ticomTuki"), QStringLiteral("5"));
    EXPECT_EQ(text("tx_ticomHi"), QStringLiteral("3"));
    EXPECT_EQ(comment(), QStringLiteral("a\nb"));
    EXPECT_FALSE(preview()->isVisibleTo(tab.get()));  // the preview box is not ticked

    // Several selected: nothing changes.
    refreshTitlesTab(tab.get(), {first, second}, app, nullptr);
    EXPECT_EQ(caption(), QStringLiteral("ﾌｧｲﾙ名: ") + first);
    EXPECT_EQ(text("tx_ticomTitle"), QStringLiteral("ﾀｲﾄﾙ"));

    // None: the tab is emptied.
    refreshTitlesTab(tab.get(), {}, app, nullptr);
    EXPECT_EQ(caption(), QStringLiteral("ﾌｧｲﾙ名: 選択されていません."));
    for (const char* name : {"tx_ticomTitle", "tx_ticomNen", "tx_ticomTuki", "tx_ticomHi"})
        EXPECT_EQ(text(name), QString()) << name;
    EXPECT_EQ(comment(), QString());
}

TEST_F(TitlesTabTest, TheSamePictureIsNotReadAgain)
{
    refreshTitlesTab(tab.get(), {first}, app, nullptr);
    ASSERT_EQ(WriteComment(first, COMKATA{QStringLiteral("changed"), QStringLiteral("2001"),
                                          QStringLiteral("5"), QStringLiteral("3"), QString()}),
              0);
    refreshTitlesTab(tab.get(), {first}, app, nullptr);
    EXPECT_EQ(text("tx_ticomTitle"), QStringLiteral("ﾀｲﾄﾙ"));
    // After the editor saved it, the tab reads the record again.
    reloadTitlesTabRecord(tab.get());
    EXPECT_EQ(text("tx_ticomTitle"), QStringLiteral("changed"));
    ASSERT_EQ(WriteComment(first, COMKATA{QStringLiteral("changed again"), QStringLiteral("2001"),
                                          QStringLiteral("5"), QStringLiteral("3"), QString()}),
              0);
    // Another picture and back: read afresh.
    refreshTitlesTab(tab.get(), {second}, app, nullptr);
    EXPECT_EQ(text("tx_ticomTitle"), QString());
    refreshTitlesTab(tab.get(), {first}, app, nullptr);
    EXPECT_EQ(text("tx_ticomTitle"), QStringLiteral("changed again"));
    // Nothing selected: there is no record to read again.
    refreshTitlesTab(tab.get(), {}, app, nullptr);
    reloadTitlesTabRecord(tab.get());
    EXPECT_EQ(text("tx_ticomNen"), QString());
}

// The main window's flow: the tab shows the picture, the editor saves a new
// title, the click handling runs again and the record is read again.
TEST_F(TitlesTabTest, AnEditedCommentAppearsOnTheTab)
{
    refreshTitlesTab(tab.get(), {first}, app, nullptr);
    QTimer::singleShot(0, [] {
        auto* editor = qobject_cast<TfrCom*>(QApplication::activeModalWidget());
        ASSERT_NE(editor, nullptr);
        editor->findChild<QLineEdit*>(QStringLiteral("tx_title"))->setText(QStringLiteral("edited"));
        editor->mnuSaveCloseClick();
    });
    ASSERT_TRUE(editPictureComment(tab.get(), {first}));
    refreshTitlesTab(tab.get(), {first}, app, nullptr);
    reloadTitlesTabRecord(tab.get());
    EXPECT_EQ(text("tx_ticomTitle"), QStringLiteral("edited"));
    EXPECT_EQ(text("tx_ticomNen"), QStringLiteral("2001"));
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(TitlesTabTest, PreviewFitsThePictureWhileTicked)
{
    previewWanted()->setChecked(true);
    refreshTitlesTab(tab.get(), {first}, app, nullptr);
    ASSERT_TRUE(preview()->isVisibleTo(tab.get()));
    EXPECT_EQ(preview()->pixmap().size(), QSize(200, 50));

    cb_ticom_prvClick(tab.get(), second, app, nullptr);
    EXPECT_EQ(preview()->pixmap().size(), QSize(25, 150));

    previewWanted()->setChecked(false);
    cb_ticom_prvClick(tab.get(), second, app, nullptr);
    EXPECT_FALSE(preview()->isVisibleTo(tab.get()));

    previewWanted()->setChecked(true);
    refreshTitlesTab(tab.get(), {}, app, nullptr);
    EXPECT_FALSE(preview()->isVisibleTo(tab.get()));
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(TitlesTabTest, UnreadablePictureIsReported)
{
    const QString broken = dir.filePath(QStringLiteral("broken.jpg"));
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\xFF\xD8 not a JPEG");
    file.close();
    previewWanted()->setChecked(true);
    refreshTitlesTab(tab.get(), {broken}, app, nullptr);
    EXPECT_EQ(messages(), QStringList{broken + QStringLiteral("は読めませんでした。")});
    EXPECT_FALSE(preview()->isVisibleTo(tab.get()));
    // The record is still shown: the file date stands in for the missing one.
    EXPECT_EQ(caption(), QStringLiteral("ﾌｧｲﾙ名: ") + broken);
    EXPECT_EQ(text("tx_ticomNen").size(), 4);
}

}  // namespace
