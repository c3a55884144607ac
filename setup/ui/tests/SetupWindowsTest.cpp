// The installer's windows: the delete question's answers, the main window's
// set-up from the script and its folder field, the gradient's colours.
#include "platform/tests/ScriptedPrompt.h"
#include "setup/ui/Back.h"
#include "setup/ui/CusDlg.h"
#include "setup/ui/GradBox.h"
#include "setup/ui/Main.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

QImage gradient(TGradBox& box, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    QPainter painter(&image);
    box.paintGradient(painter, size);
    return image;
}

}  // namespace

TEST(SetupGradBox, BandsRunFromStartToEndColour)
{
    TGradBox box;
    box.setStartColor(Qt::blue);
    box.setEndColor(Qt::black);
    box.setGradStep(128);
    // 130 rows: one row per band, the last band in the end colour itself.
    QImage image = gradient(box, {20, 130});
    EXPECT_EQ(image.pixel(0, 0), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(19, 129), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(5, 64), qRgb(0, 0, 255 - 127));  // 255 - round(255 / 129 * 64)
    EXPECT_EQ(image.pixel(0, 64), image.pixel(19, 64));

    // Step 0: the end colour's band lies past the far edge.
    box.setGradStep(0);
    image = gradient(box, {20, 131});
    EXPECT_EQ(image.pixel(0, 130), qRgb(0, 0, 255));

    // A short extent: bands of one row, the rest filled with the last colour.
    box.setGradStep(128);
    box.setDirection(TGradDirection::gdHorizontal);
    image = gradient(box, {400, 3});
    EXPECT_EQ(image.pixel(0, 2), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(399, 0), qRgb(0, 0, 0));
}

TEST(SetupGradBox, DirectionReportsOnlyAChange)
{
    TGradBox box;
    int changes = 0;
    QObject::connect(&box, &TGradBox::OnChange, [&] { ++changes; });
    box.setDirection(TGradDirection::gdVertical);
    box.setGradStep(128);
    box.setDirection(TGradDirection::gdHorizontal);
    EXPECT_EQ(changes, 2);
}

TEST(SetupBackdrop, CaptionFromVersion)
{
    EXPECT_EQ(backdropCaption("1.0.2.15"), "Ondo! Setup 98 Standard Version1.02(Build:0015)");
    EXPECT_EQ(backdropCaption(""), "Ondo! Setup 98 Standard Version0.00(Build:0000)");
    EXPECT_EQ(backdropCaption("2.1"), "Ondo! Setup 98 Standard Version2.10(Build:0000)");
    EXPECT_TRUE(creditText("", "").startsWith("Ondo! Setup 200x\r\n"));
}

TEST(SetupDeleteQuestion, EachButtonWritesItsAnswer)
{
    QLabel share(QStringLiteral("Can't Delete"));
    TfrmCustomDlg dialog(&share);
    EXPECT_EQ(dialog.size(), QSize(426, 121));
    EXPECT_EQ(dialog.btnSave->geometry(), QRect(320, 88, 97, 25));
    const std::pair<QPushButton*, QString> cases[] = {
        {dialog.btnYes, "Yes"}, {dialog.btnNo, "No"}, {dialog.btnDelete, "Delete"}, {dialog.btnSave, "Save"}};
    for (const auto& [button, word] : cases) {
        share.setText(QStringLiteral("No"));
        QTimer::singleShot(0, button, [target = button] { QTest::mouseClick(target, Qt::LeftButton); });
        EXPECT_EQ(dialog.ask(QStringLiteral("a.txt を削除しますか？")), word);
        EXPECT_EQ(dialog.lblMessage->text(), "a.txt を削除しますか？");
        EXPECT_FALSE(dialog.isVisible());
    }
    // "Save" stands: a window closed without an answer leaves it.
    QTimer::singleShot(0, &dialog, [&] { dialog.reject(); });
    EXPECT_EQ(dialog.ask(QStringLiteral("b.txt")), "Save");
}

TEST(SetupMainWindow, ControlsSitWhereTheFormPlacesThem)
{
    TfrmMain window;
    EXPECT_EQ(window.size(), QSize(489, 313));
    EXPECT_EQ(window.txtFolder->geometry(), QRect(8, 16, 401, 24));
    EXPECT_EQ(window.txtFolder->parentWidget(), window.grpSetupFolder);
    EXPECT_EQ(window.chkSCutSendTo->geometry(), QRect(344, 16, 105, 17));
    EXPECT_EQ(window.chkSCutSendTo->parentWidget(), window.fraShortCut);
    EXPECT_EQ(window.btnEnd->geometry(), QRect(264, 280, 161, 25));
    EXPECT_EQ(window.txtReadme->geometry(), QRect(8, 16, 457, 241));
    EXPECT_TRUE(window.btnEvent->text().isEmpty());
}

TEST(SetupMainWindow, InstallSetUpFromTheScript)
{
    QTemporaryDir dir;
    MainWindowScript script;
    script.title = QStringLiteral("Tav セットアップ");
    script.locked = true;
    script.shortcutNames = {QStringLiteral("(dsk)\\Tav.lnk"), QStringLiteral("(Sen)\\Tav.lnk")};
    script.readmePath = dir.filePath("README.TXT");
    {
        QFile readme(script.readmePath);
        ASSERT_TRUE(readme.open(QIODevice::WriteOnly));
        readme.write("\x93\xfa\x96\x7b\r\n");  // 日本 in Shift-JIS
    }
    script.readmeTitle = QStringLiteral("お読みください");
    TfrmMain window;
    window.setupPages(script);

    EXPECT_EQ(window.windowTitle(), "Tav セットアップ");
    EXPECT_EQ(window.grpOption->title(), "インストールオプション");
    EXPECT_EQ(window.btnEnd->text(), "インストール終了(&E)");
    // Locked: the named boxes are checked but cannot be changed.
    EXPECT_TRUE(window.chkSCutDesktop->isChecked());
    EXPECT_FALSE(window.chkSCutDesktop->isEnabled());
    EXPECT_TRUE(window.chkSCutSendTo->isChecked());
    EXPECT_FALSE(window.chkSCutStartMenu->isChecked());
    EXPECT_FALSE(window.txtFolder->isEnabled());
    EXPECT_TRUE(window.chkOverWrite->isChecked());

    // The read-me page first; its button leads to the main page, the next press installs.
    EXPECT_FALSE(window.fraReadme->isHidden());
    EXPECT_TRUE(window.grpMessage->isHidden());
    EXPECT_EQ(window.fraReadme->title(), "お読みください");
    EXPECT_EQ(window.txtReadme->toPlainText(), "日本\n");
    int installs = 0;
    window.onInstall = [&] { ++installs; };
    window.btnEvent->click();
    EXPECT_EQ(installs, 0);
    EXPECT_TRUE(window.fraReadme->isHidden());
    EXPECT_FALSE(window.grpMessage->isHidden());
    EXPECT_EQ(window.btnEvent->text(), "インストール開始(&S)");
    EXPECT_EQ(
        window.lblMessage->text(),
        "インストールを行います．\n\n※　処理を開始する前に，必ずすべてのプログラムを終了させてください．");
    window.btnEvent->click();
    EXPECT_EQ(installs, 1);

    // A second activation changes nothing.
    script.title = QStringLiteral("other");
    window.setupPages(script);
    EXPECT_EQ(window.windowTitle(), "Tav セットアップ");
}

TEST(SetupMainWindow, FolderFieldAndBrowse)
{
    platform::ScriptedPrompt prompt;
    MainWindowScript script;
    script.topMessages = {QStringLiteral("ようこそ"), QString(), QString(), QString(), QString()};
    script.folder = QStringLiteral("C:\\Program Files\\Tav\\");
    TfrmMain window;
    window.setupPages(script);
    EXPECT_TRUE(window.txtFolder->isEnabled());
    EXPECT_TRUE(window.btnRefer->isEnabled());
    EXPECT_FALSE(window.chkSCutDesktop->isEnabled());
    EXPECT_TRUE(window.lblMessage->text().startsWith("ようこそ\n\n\n\n\n\n※"));

    prompt.answer(std::optional<QString>(QStringLiteral("/home/user/Tav")));
    window.btnRefer->click();
    EXPECT_EQ(window.txtFolder->text(), "/home/user/Tav/");
    ASSERT_FALSE(prompt.shown().isEmpty());
    EXPECT_EQ(prompt.shown().last().caption, "セットアップフォルダを選択してください．");
    EXPECT_EQ(prompt.shown().last().text, "C:\\Program Files\\Tav\\");

    // A path too long for the folder field is refused; a cancel keeps the field.
    prompt.answer(std::optional<QString>(QString(300, u'a')));
    window.btnRefer->click();
    prompt.answer(std::optional<QString>());
    window.btnRefer->click();
    EXPECT_EQ(window.txtFolder->text(), "/home/user/Tav/");
}

TEST(SetupMainWindow, UninstallOptionsAndCloseQuestion)
{
    platform::ScriptedPrompt prompt;
    MainWindowScript script;
    script.uninstall = true;
    script.unSetupCheckBox = QStringLiteral("1,0,1,1");
    TfrmMain window;
    QWidget backdrop;
    backdrop.setEnabled(false);
    window.setBackdrop(&backdrop);
    window.setupPages(script);
    EXPECT_EQ(window.btnEvent->text(), "アンインストール開始(&S)");
    EXPECT_TRUE(window.chkOverWrite->isHidden());
    EXPECT_EQ(window.fraShortCut->title(), "ファイルの追加削除");
    EXPECT_EQ(window.fraShortCut->geometry(), QRect(8, 16, 457, 65));
    EXPECT_EQ(window.chkSCutDesktop->text(), "*.INIファイル");
    EXPECT_TRUE(window.chkSCutDesktop->isChecked());
    EXPECT_FALSE(window.chkSCutStartMenu->isChecked());
    EXPECT_TRUE(window.chkSCutStartUp->isChecked());
    EXPECT_FALSE(window.chkSCutStartUp->isEnabled());
    EXPECT_TRUE(window.txtFolder->isReadOnly());

    window.show();
    prompt.answer(platform::Answer::No);
    window.btnEnd->click();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(prompt.texts().last(),
              "インストール/アンインストールは終了していません．\r終了してもよろしいですか？");
    prompt.answer(platform::Answer::Yes);
    window.btnEnd->click();
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(backdrop.isEnabled());
}
