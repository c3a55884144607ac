#include "setup/tests/SetupFixture.h"

#include "platform/ProfileFile.h"
#include "setup/engine/FileOps.h"
#include "setup/engine/InstallRun.h"
#include "setup/engine/RemovalGuard.h"
#include "setup/engine/UninstallRun.h"

#include <algorithm>

using platform::Answer;
using platform::RegRoot;
using setup::RunEnd;

namespace {

// A file compressed in the LZ format with literals only; the name it came
// from ended in `missing`.
QByteArray compressed(const QByteArray& data, char missing)
{
    QByteArray out("SZDD\x88\xF0\x27\x33", 8);
    out.append('A').append(missing);
    for (int i = 0; i < 4; ++i)
        out.append(char(data.size() >> (8 * i) & 0xFF));
    for (qsizetype at = 0; at < data.size(); at += 8)
        out.append('\xFF').append(data.mid(at, 8));
    return out;
}

const char* const kScript = R"([Title]
Setup=Kavano Viewer
UnSetupKey=KavanoViewer
[ProgramID]
ID=KVIEW
[DefaultFolder]
Folder=(Prg)\Kavano
[MakeFolder]
Folder1=(App)\data
[CopyFile]
File1=(App)\readme.txt
File2=(App)\data\orig.txt|renamed.txt
File3=(App)\TOOL.EX_
File4=(Win)\shared.dat,/S
[Registry]
Key1=(Local)SOFTWARE\Kavano\Viewer
Name1=Path
Value1=(Str)(App)
[DeleteRegistry]
Key1=(Local)SOFTWARE\Kavano\Viewer
)";

class InstallRunTest : public SetupFixture {
protected:
    void SetUp() override
    {
        writeScript(kScript);
        write("src/readme.txt", "read me");
        write("src/orig.txt", "notes");
        write("src/TOOL.EX_", compressed("tool program", 'E'));
        write("src/shared.dat", "shared");
        answers["フォルダ作成"] = Answer::Yes;
    }

    RunEnd install(setup::InstallChoices choices = {})
    {
        setup::Session session = startSetup();
        EXPECT_EQ(session.fatalText, "");
        if (choices.folder.isEmpty())
            choices.folder = session.defaultFolder(registry);
        return setup::runInstall(session, choices, ui, registry);
    }

    RunEnd uninstall(bool firstBox = false, bool deleteAllLayout = false)
    {
        setup::Session session = startSetup(app() + "UNSETUP.INI");
        EXPECT_EQ(session.mode, setup::Mode::Uninstall);
        setup::UninstallChoices choices{session.defaultFolder(registry), deleteAllLayout, firstBox, false};
        return setup::runUninstall(session, choices, ui, registry);
    }

    QString app() const { return path("prg/Kavano/"); }
    platform::ProfileFile record() const { return platform::ProfileFile(app() + "UNSETUP.INI"); }
};

}  // namespace

TEST_F(InstallRunTest, InstallsEveryStepAndTheUninstallUndoesIt)
{
    ASSERT_EQ(install(), RunEnd::Finished);
    EXPECT_EQ(read(app() + "readme.txt"), "read me");
    EXPECT_EQ(read(app() + "data/renamed.txt"), "notes");
    EXPECT_EQ(read(app() + "TOOL.EXE"), "tool program");  // the name stored in the compressed file
    EXPECT_EQ(setup::sharedCount(registry, path("win/shared.dat")), 1);
    EXPECT_EQ(registry.value(RegRoot::LocalMachine, "SOFTWARE\\Kavano\\Viewer", "Path")->text, app());
    EXPECT_EQ(prompt.messages().last(),
              "インストールが完了しました．\r\rプログラムのアンインストールは，\r"
              "アプリケーションメニューの「Uninstall KavanoViewer」から行ってください．");

    const auto r = record();
    EXPECT_EQ(r.readValue("SetupFolder", "Folder"), app());
    EXPECT_EQ(r.readValue("DeleteFolder", "Folder1"), app() + "data/");
    EXPECT_EQ(r.readValue("DeleteFile", "File2"), app() + "data/renamed.txt");
    EXPECT_EQ(r.readValue("DeleteFile", "File3"), app() + "TOOL.EXE");
    EXPECT_EQ(r.readValue("DeleteFile", "File4"), path("win/shared.dat") + ",/S");
    EXPECT_EQ(r.readValue("DeleteFile", "File5"), app() + "UNSETUP.INI");
    EXPECT_EQ(r.readValue("DeleteRegistry", "Key1"), "(Local)SOFTWARE\\Kavano\\Viewer");
    const QString entry = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\KavanoViewer";
    EXPECT_EQ(registry.value(RegRoot::LocalMachine, entry, "UninstallString")->text,
              path("win/UNONSET.EXE") + " \"" + app() + "UNSETUP.INI\"");
    EXPECT_EQ(registry.value(RegRoot::LocalMachine, entry, "DisplayName")->text, "KavanoViewer");
    EXPECT_EQ(read(path("win/UNONSET.EXE")), "#!/bin/sh\n");
    EXPECT_EQ(platform::ProfileFile(path("win/ONSET98.INI")).readValue("KVIEW", "Folder"), app());
    EXPECT_EQ(ui.gaugeLabels.last(), "100%(4/4)");

    // The shared file no other program uses any more is asked about.
    ui.deleteAnswers = {setup::DeleteAnswer::Yes};
    prompt.clear();
    ASSERT_EQ(uninstall(), RunEnd::Finished);
    ASSERT_EQ(ui.deleteQuestions.size(), 1);
    EXPECT_TRUE(ui.deleteQuestions[0].startsWith(path("win/shared.dat") + "\r\rこの共有ファイルは"));
    EXPECT_FALSE(QFileInfo::exists(path("win/shared.dat")));
    EXPECT_FALSE(QFileInfo::exists(app()));
    EXPECT_FALSE(registry.keyExists(RegRoot::LocalMachine, "SOFTWARE\\Kavano\\Viewer"));
    EXPECT_FALSE(registry.keyExists(RegRoot::LocalMachine, entry));
    EXPECT_FALSE(platform::ProfileFile(path("win/ONSET98.INI")).readValue("KVIEW", "Folder"));
    EXPECT_TRUE(QFileInfo::exists(path("win/UNONSET.EXE")));  // kept for other programs' records
    EXPECT_EQ(prompt.messages(), QStringList{"アンインストールを完了しました．"});
}

TEST_F(InstallRunTest, AReinstallKeepsTheEarlierEntriesAndTheSharedMark)
{
    ASSERT_EQ(install(), RunEnd::Finished);
    writeScript(QString(kScript)
                    .replace("File4=(Win)\\shared.dat,/S", "File4=(Win)\\shared.dat,/R")
                    .replace("File1=(App)\\readme.txt\n", "File1=(App)\\extra.txt\n"));
    write("src/extra.txt", "extra");
    answers["上書き確認"] = Answer::No;
    prompt.clear();
    ASSERT_EQ(install(), RunEnd::Finished);
    // The newer run asked before overwriting what the first one installed.
    EXPECT_TRUE(std::any_of(prompt.shown().begin(), prompt.shown().end(),
                            [](const platform::PromptRecord& r) { return r.caption == u"上書き確認"; }));
    const QStringList files = setup::Script(app() + "UNSETUP.INI").numbered("DeleteFile", "File");
    EXPECT_EQ(files.join("\n").toStdString(),
              QStringList({app() + "readme.txt", app() + "data/renamed.txt", app() + "TOOL.EXE",
                           path("win/shared.dat") + ",/R/S", app() + "UNSETUP.INI", app() + "extra.txt"})
                  .join("\n")
                  .toStdString());
}

TEST_F(InstallRunTest, ANewerFileInPlaceIsKeptWithoutAQuestionButStillRecorded)
{
    write("prg/Kavano/readme.txt", "mine, newer");
    QFile(path("src/readme.txt")).open(QIODevice::ReadWrite);
    QFile older(path("src/readme.txt"));
    older.open(QIODevice::ReadWrite);
    older.setFileTime(QDateTime::currentDateTime().addDays(-1), QFileDevice::FileModificationTime);
    older.close();
    setup::InstallChoices choices;
    choices.overwrite = true;
    ASSERT_EQ(install(choices), RunEnd::Finished);
    EXPECT_EQ(read(app() + "readme.txt"), "mine, newer");
    for (const auto& shown : prompt.shown())
        EXPECT_NE(shown.caption, "上書き確認");
    EXPECT_EQ(record().readValue("DeleteFile", "File1"), app() + "readme.txt");
}

TEST_F(InstallRunTest, AnAbortStopsAtOnceAndWritesNoRecord)
{
    ui.abortAtStatus = 7;  // the first folder step
    EXPECT_EQ(install(), RunEnd::Aborted);
    EXPECT_FALSE(QFileInfo::exists(app() + "readme.txt"));
    EXPECT_FALSE(QFileInfo::exists(app() + "UNSETUP.INI"));
    EXPECT_EQ(ui.events.last(), "end");
}

TEST_F(InstallRunTest, DecliningTheNewFolderStopsTheRun)
{
    answers["フォルダ作成"] = Answer::No;
    EXPECT_EQ(install(), RunEnd::Stopped);
    EXPECT_EQ(prompt.shown().last().caption, "インストール中止");
    EXPECT_EQ(prompt.shown().last().text, "インストールを続行できませんでした．");
    EXPECT_FALSE(QFileInfo::exists(app()));
}

TEST_F(InstallRunTest, MissingSourcesAreLoggedAndOfferedAtTheEnd)
{
    QFile::remove(path("src/orig.txt"));
    answers["警告"] = Answer::Yes;
    ASSERT_EQ(install(), RunEnd::Incomplete);
    EXPECT_EQ(ui.errorLogCaption, "作成・コピー処理失敗　詳細表示");
    EXPECT_EQ(ui.errorLog,
              "<File> " + path("src/orig.txt") + "\r\nコピー元のファイルが見つかりません．\r\n\r\n");
    // The size pass could not read every size: progress counts files instead.
    EXPECT_EQ(ui.gaugeLabels.last(), "100%(4/4)");
}

TEST_F(InstallRunTest, SetupOnlyWritesNoRecordAndNoUninstallHint)
{
    writeScript(QString(kScript).replace("[Title]\n", "[Title]\nUnSetup=Viewer setup only.\n"));
    ASSERT_EQ(install(), RunEnd::Finished);
    EXPECT_FALSE(QFileInfo::exists(app() + "UNSETUP.INI"));
    EXPECT_FALSE(registry.keyExists(RegRoot::LocalMachine,
                                    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\KavanoViewer"));
    EXPECT_EQ(prompt.messages().last(), "インストールが完了しました．");
}

TEST_F(InstallRunTest, AnEmptyFileListShowsZeroOfZero)
{
    writeScript("[Title]\nSetup=Empty\n[CopyFile]\nFile1=\n");
    ASSERT_EQ(install(), RunEnd::Finished);
    EXPECT_EQ(ui.gaugeLabels, QStringList{"0%(0/0)"});
}

TEST_F(InstallRunTest, SharedFilesStayWhileOtherProgramsCountThem)
{
    ASSERT_EQ(install(), RunEnd::Finished);
    setup::sharedCountUp(registry, path("win/shared.dat"));
    setup::sharedCountUp(registry, path("win/shared.dat"));  // two more programs: 3
    ASSERT_EQ(uninstall(), RunEnd::Finished);
    EXPECT_TRUE(ui.deleteQuestions.isEmpty());
    EXPECT_TRUE(QFileInfo::exists(path("win/shared.dat")));
    EXPECT_EQ(setup::sharedCount(registry, path("win/shared.dat")), 2);
}

TEST_F(InstallRunTest, DeleteAllEmptiesTheInstallFolderButNeverAProtectedOne)
{
    writeScript(QString(kScript) + "[Extend]\nUnSetupOption=DeleteAll\n");
    ASSERT_EQ(install(), RunEnd::Finished);
    EXPECT_EQ(record().readValue("UnSetupOption", "CheckBox"), "DeleteAll");
    write("prg/Kavano/made by the program/settings.ini", "x");
    ASSERT_EQ(uninstall(true, true), RunEnd::Finished);
    EXPECT_FALSE(QFileInfo::exists(app()));

    const setup::RemovalGuard guard(system, startSetup().folders);
    EXPECT_NE(guard.refuseTree(QDir::homePath()), "");
    EXPECT_NE(guard.refuseTree("/usr/"), "");
    EXPECT_NE(guard.refuseTree(path("prg")), "");
    EXPECT_NE(guard.refuseTree(path("win") + "/"), "");
    EXPECT_EQ(guard.refuseTree(app()), "");
}
