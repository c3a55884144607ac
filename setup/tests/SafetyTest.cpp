// What the installer must never do, whatever its record or the disk says:
// remove what the install did not make, cut an installed file short, install
// relative to wherever it was started, or lose a name Shift-JIS cannot hold.
#include "setup/tests/SetupFixture.h"

#include "platform/ProfileFile.h"
#include "setup/engine/InstallRun.h"
#include "setup/engine/UninstallRecord.h"
#include "setup/engine/UninstallRun.h"

#include <QDirIterator>
#include <sys/mount.h>
#include <unistd.h>

using platform::Answer;
using setup::RunEnd;

namespace {

class SafetyTest : public SetupFixture {
protected:
    SafetyTest()
    {
        system.home = path("home");
        answers["フォルダ作成"] = Answer::Yes;
    }

    RunEnd install(const QString& folder)
    {
        setup::Session session = startSetup();
        setup::InstallChoices choices;
        choices.folder = folder;
        choices.overwrite = true;
        return setup::runInstall(session, choices, ui, registry);
    }
    RunEnd uninstall(const QString& record, bool deleteAll = false)
    {
        setup::Session session = startSetup(record);
        const setup::UninstallChoices choices{session.defaultFolder(registry), deleteAll, deleteAll, false};
        return setup::runUninstall(session, choices, ui, registry);
    }
    // Every file below `folder`, relative to it, sorted.
    QStringList filesBelow(const QString& folder) const
    {
        QStringList names;
        QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext())
            names << QDir(folder).relativeFilePath(it.next());
        names.sort();
        return names;
    }
};

}  // namespace

TEST_F(SafetyTest, AHostileRecordRemovesNothingTheInstallDidNotMake)
{
    write("home/Documents/thesis.txt", "years of work");
    write("home/.bashrc", "mine");
    write("foreign/keep.txt", "not ours");
    write("app/tool.txt", "ours");
    const QString app = path("app/");
    const QString record =
        QStringLiteral(
            "[SetupFolder]\nFolder=%1\n"
            "[DeleteFile]\nFile1=%2\nFile2=%3\nFile3=%1../foreign/keep.txt\nFile4=relative.txt\n"
            "File5=%2/Documents/thesis.txt\nFile6=%2/.bashrc\nFile7=%1tool.txt\nFile8=%1UNSETUP.INI\n"
            "[AddDeleteFile]\nFile1=%2/*\nFile2=%3/*.txt\n"
            "[DeleteFolder]\nFolder1=%3/\nFolder2=%2/Documents/\n"
            "[DeleteShortCut]\nFile1=%2/Documents\n")
            .arg(app, path("home"), path("foreign"));
    write("app/UNSETUP.INI", platform::toSjis(QString(record).replace("\n", "\r\n")));
    answers["警告"] = Answer::Yes;

    EXPECT_EQ(uninstall(app + "UNSETUP.INI"), RunEnd::Incomplete);
    EXPECT_EQ(read(path("home/Documents/thesis.txt")), "years of work");
    EXPECT_EQ(read(path("home/.bashrc")), "mine");
    EXPECT_EQ(read(path("foreign/keep.txt")), "not ours");
    EXPECT_FALSE(QFileInfo::exists(app + "tool.txt"));  // what the install made goes
    EXPECT_FALSE(QFileInfo::exists(app));
    // Each refusal is in the log, and the end does not claim a clean uninstall.
    for (const QString& refused : {path("home"), path("foreign"), app + "../foreign/keep.txt",
                                   QStringLiteral("relative.txt"), path("home") + "/*"})
        EXPECT_TRUE(ui.errorLog.contains("<File> " + refused + "\r\n")) << refused.toStdString();
    EXPECT_TRUE(ui.errorLog.contains("<ShortCut> " + path("home/Documents")));
    EXPECT_EQ(prompt.messages().last(),
              "アンインストールを終了しましたが，一部のファイル・フォルダ・設定は削除されていません．");

    // "DeleteAll" of a record naming the user's own folder as the install folder.
    write("home/Documents/UNSETUP.INI",
          platform::toSjis("[SetupFolder]\r\nFolder=" + path("home/Documents/") +
                           "\r\n[UnSetupOption]\r\nCheckBox=DeleteAll\r\n"));
    EXPECT_EQ(uninstall(path("home/Documents/UNSETUP.INI"), true), RunEnd::Incomplete);
    EXPECT_EQ(read(path("home/Documents/thesis.txt")), "years of work");
}

TEST_F(SafetyTest, TheMergeTellsNamesApartByCase)
{
    QStringList list;
    setup::placeEntry(list, "/opt/app/a.txt");
    setup::placeEntry(list, "/opt/app/A.TXT");
    setup::placeEntry(list, "/opt/app/a.txt,/S");
    EXPECT_EQ(list, QStringList({"/opt/app/a.txt,/S", "/opt/app/A.TXT"}));
}

TEST_F(SafetyTest, TildeFoldersAreTheHomeFoldersAndRelativeOnesAreRefused)
{
    writeScript("[Title]\nSetup=Tilde\n[CopyFile]\nFile1=(App)\\a.txt\n");
    write("src/a.txt", "a");
    ASSERT_EQ(install("~/App"), RunEnd::Finished);
    EXPECT_EQ(read(path("home/App/a.txt")), "a");
    const platform::ProfileFile record(path("home/App/UNSETUP.INI"));
    EXPECT_EQ(record.readValue("SetupFolder", "Folder"), path("home/App/"));
    EXPECT_EQ(record.readValue("DeleteFile", "File1"), path("home/App/a.txt"));

    EXPECT_EQ(install("App"), RunEnd::Stopped);
    EXPECT_EQ(prompt.shown().last().caption, "インストール中止");
    EXPECT_TRUE(
        prompt.shown().last().text.startsWith("App\r\rこのフォルダは「/」から始まる絶対パスではない"));
    EXPECT_FALSE(QFileInfo::exists(QDir::current().filePath("App")));
}

TEST_F(SafetyTest, AFolderShiftJisCannotHoldInstallsAndUninstallsWhole)
{
    writeScript("[Title]\nSetup=Jose\n[MakeFolder]\nFolder1=(App)\\données\n[CopyFile]\nFile1=(App)"
                "\\données\\a.txt\n");
    write("src/a.txt", "a");
    const QString app = path("josé/");
    ASSERT_EQ(install(app), RunEnd::Finished);
    EXPECT_EQ(read(app + "données/a.txt"), "a");
    const QByteArray bytes = read(app + "UNSETUP.INI");
    EXPECT_TRUE(bytes.contains("jos&#xE9;/donn&#xE9;es/a.txt")) << bytes.constData();
    EXPECT_FALSE(bytes.contains('?'));

    ASSERT_EQ(uninstall(app + "UNSETUP.INI"), RunEnd::Finished);
    EXPECT_FALSE(QFileInfo::exists(app));
}

// A small file system filled by the new version: the old file stays whole and
// nothing the record does not list is left. Needs root to mount it.
TEST_F(SafetyTest, AFullDiskLeavesTheInstalledFileWhole)
{
    const QString mount = path("small");
    QDir().mkpath(mount);
    if (::geteuid() != 0 ||
        ::mount("tmpfs", QFile::encodeName(mount).constData(), "tmpfs", 0, "size=256k") != 0)
        GTEST_SKIP() << "mounting a small file system needs root";
    struct Unmount {
        QByteArray at;
        ~Unmount() { ::umount(at.constData()); }
    } unmountAtEnd{QFile::encodeName(mount)};
    const QByteArray old(100 * 1024, 'o');
    writeScript("[Title]\nSetup=Full\n[CopyFile]\nFile1=(App)\\data.bin\n");
    write("src/data.bin", old);
    QFile(path("src/data.bin"))
        .setFileTime(QDateTime::currentDateTime().addDays(-1), QFileDevice::FileModificationTime);
    const QString app = mount + "/App/";
    EXPECT_EQ(install(app), RunEnd::Finished);

    write("src/data.bin", QByteArray(200 * 1024, 'n'));  // newer, and more than is free
    answers["空き容量不足"] = Answer::Yes;
    answers["警告"] = Answer::Yes;
    EXPECT_EQ(install(app), RunEnd::Incomplete);
    EXPECT_TRUE(ui.errorLog.startsWith("<File> " + app + "data.bin\r\n")) << ui.errorLog.toStdString();
    EXPECT_EQ(read(app + "data.bin"), old);
    EXPECT_EQ(filesBelow(app), QStringList({"UNSETUP.INI", "data.bin"}));
}
