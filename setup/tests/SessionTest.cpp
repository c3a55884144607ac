#include "setup/tests/SetupFixture.h"

#include "platform/ProfileFile.h"

using platform::RegRoot;
using platform::RegValue;

TEST_F(SetupFixture, WithoutAScriptOnlyTheFatalTextIsLeft)
{
    const setup::Session session = startSetup();
    EXPECT_EQ(session.mode, setup::Mode::Install);
    EXPECT_EQ(session.fatalText, "【致命的エラー  →  iniファイル読み込み失敗】\r");
    EXPECT_EQ(session.workFolder, path("tmp/ONTMP1/"));
    EXPECT_EQ(read(session.workFolder + "SETUPO.EXE"), "#!/bin/sh\n");

    system.windows.clear();
    EXPECT_TRUE(startSetup().fatalText.startsWith("【致命的エラー  →  Windowsフォルダ取得失敗】\r"));
}

TEST_F(SetupFixture, TheModeComesFromTheArgumentsExactFileName)
{
    writeScript("[Title]\nSetup=Kavano\n");
    write("app/UNSETUP.INI", "[SetupFolder]\r\nFolder=" + path("app/").toUtf8() + "\r\n");
    write("app/unsetup.ini", "");
    EXPECT_EQ(startSetup(path("app/unsetup.ini")).mode, setup::Mode::Install);
    const setup::Session uninstall = startSetup(path("app/UNSETUP.INI"));
    EXPECT_EQ(uninstall.mode, setup::Mode::Uninstall);
    EXPECT_EQ(uninstall.scriptPath, uninstall.workFolder + "UNSETUP.INI");
    EXPECT_EQ(uninstall.defaultFolder(registry), path("app/"));
    // Each start takes the next free work folder.
    EXPECT_EQ(uninstall.workFolder, path("tmp/ONTMP2/"));
}

TEST_F(SetupFixture, TheScriptsKeysAndTheirDefaults)
{
    writeScript("[Extend]\nSetupSpeed=0\n[Title]\nSetup=Kavano Viewer\n");
    setup::Session s = startSetup();
    EXPECT_EQ(s.setupString, "インストール");
    EXPECT_EQ(s.stepDelayMs, 1);
    EXPECT_EQ(s.uninstallTitle, "Kavano Viewer");
    EXPECT_TRUE(s.uninstallSupported());

    writeScript("[Extend]\nSetupSpeed=fast\n");
    EXPECT_EQ(startSetup().fatalText, "【致命的エラー  →  SetupSpeedの値「fast」が数値ではありません】\r");
}

TEST_F(SetupFixture, TheDefaultFolderTakesTheLastSourceThatGivesOne)
{
    writeScript("[ProgramID]\nID=KVIEW\n[DefaultFolder]\nFolder=(Prg)\\Kavano\n");
    EXPECT_EQ(startSetup().defaultFolder(registry), path("prg/Kavano/"));

    platform::ProfileFile(path("win/ONSET98.INI")).writeString("KVIEW", "Folder", path("last/"));
    EXPECT_EQ(startSetup().defaultFolder(registry), path("last/"));

    writeScript("[ProgramID]\nID=KVIEW\n[DefaultFolder]\nFolder=(Prg)\\Kavano\n"
                "ReferRegistry=(Local)SOFTWARE\\Kavano\\,Home\n"
                "ReferIniFile=Paths,Home,(Win)\\kavano.ini\n");
    registry.createKey(RegRoot::LocalMachine, "SOFTWARE\\Kavano");
    registry.setValue(RegRoot::LocalMachine, "SOFTWARE\\Kavano", "Home", RegValue::string(path("reg")));
    EXPECT_EQ(startSetup().defaultFolder(registry), path("reg/"));

    platform::ProfileFile(path("win/kavano.ini")).writeString("Paths", "Home", "(Tmp)\\from ini");
    EXPECT_EQ(startSetup().defaultFolder(registry), path("tmp/from ini/"));
}

TEST_F(SetupFixture, ProgramFilesFallsBackBesideTheWindowsFolder)
{
    writeScript("[Title]\nSetup=x\n");
    system.programFiles = path("missing");
    EXPECT_EQ(startSetup().folders.folder("(Prg)"), "/Program Files/");
    EXPECT_EQ(startSetup().folders.expand("(App)\\x"), "(App)/x");  // unknown until the run fixes it
}
