#include "setup/engine/ScriptEntries.h"

#include "platform/Sjis.h"
#include "setup/tests/ScriptRun.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <gtest/gtest.h>

using namespace setup;
using platform::RegRoot;
using platform::RegValue;

namespace {

struct EntryRun : ScriptRun {
    EntryRun()
    {
        folders.set("(App)", root + "app");
        folders.set("(Win)", root + "win");
        QDir().mkpath(root + "app");
        QDir().mkpath(root + "win");
    }
};

std::optional<RegValue> stored(const platform::Registry& registry, const QString& name)
{
    return registry.value(RegRoot::LocalMachine, "SOFTWARE\\Kavano\\Tav", name);
}

}  // namespace

TEST(RegistryValues, EachTypeIsWrittenAsItsTypeMacroSays)
{
    EntryRun r;
    const QStringList values = {"(Str)plain", "(Exp)%HOME%\\x", "(Int)42",    "(Dwd)12a", "(Bin)1f",
                                "(Bin)zz",    "(Xyz)abc",       "(App)(pdd)", "",         "ab",
                                "(Dwd)-1",    "(Bin)123456789"};
    for (int i = 0; i < values.size(); ++i) {
        const QString n = QString::number(i + 1);
        r.set("Registry", "Key" + n, "(Local)\\SOFTWARE\\Kavano\\Tav\\");
        r.set("Registry", "Name" + n, i == 0 ? QString() : "v" + n);
        r.set("Registry", "Value" + n, values[i]);
    }
    const Script script(r.scriptPath());
    platform::Registry& registry = r.registry;
    RunContext ctx = r.context(script);
    writeRegistryValues(ctx);

    EXPECT_EQ(stored(registry, "")->text, "plain");  // an empty name is the default value
    EXPECT_EQ(stored(registry, "v2")->type, platform::RegType::ExpandString);
    EXPECT_EQ(stored(registry, "v2")->text,
              "%HOME%\\x");  // data keeps its backslash: no macro made it a path
    EXPECT_EQ(stored(registry, "v3")->number, 42u);
    EXPECT_EQ(stored(registry, "v4")->type, platform::RegType::Dword);
    EXPECT_EQ(stored(registry, "v4")->number, 0u);
    EXPECT_EQ(stored(registry, "v5")->bytes, QByteArray("\x1f\0\0\0", 4));
    EXPECT_FALSE(stored(registry, "v6"));
    EXPECT_EQ(stored(registry, "v7")->text, "(Xyz)abc");
    EXPECT_EQ(stored(registry, "v8")->type, platform::RegType::String);
    EXPECT_EQ(stored(registry, "v8")->text, r.root + "app");  // "(Pdd)": without the final '/'
    EXPECT_FALSE(stored(registry, "v9"));
    EXPECT_EQ(stored(registry, "v10")->text, "ab");
    EXPECT_EQ(stored(registry, "v11")->number, 0xFFFFFFFFu);
    EXPECT_FALSE(stored(registry, "v12"));  // more than 32 bits
    EXPECT_EQ(ctx.failures, 0);
    EXPECT_EQ(r.ui.statuses, QStringList(values.size(), "レジストリを設定しています．．．"));
}

TEST(RegistryValues, AKeyThatCannotBeWrittenIsLoggedAndTheRunGoesOn)
{
    EntryRun r;
    r.set("Registry", "Key1", "Software\\Kavano");
    r.set("Registry", "Value1", "(Str)x");
    r.set("Registry", "Key2", "(Class)\\.tav");
    r.set("Registry", "Name2", "n");
    const Script script(r.scriptPath());
    QFile blocker(r.root + "blocker");  // a file where the store's folder would be
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    platform::Registry broken(r.root + "blocker/registry.sqlite3");
    ASSERT_FALSE(broken.isOpen());
    RunContext ctx(script, r.folders, r.ui, broken, 1);
    writeRegistryValues(ctx);
    EXPECT_EQ(ctx.failures, 2);
    EXPECT_EQ(ctx.errorLog, "<Registry> Software\\Kavano\r\nレジストリに書き込めませんでした．\r\n\r\n"
                            "<Registry> (Class)\\.tav,n\r\nレジストリに書き込めませんでした．\r\n\r\n");
}

TEST(RegistryValues, OddValueTextsNeverCrash)
{
    FolderTable folders;
    folders.set("(App)", "/opt/app");
    const QString alphabet = "(),\\/PpddBinStrIDwExpA09afz) ";
    QRandomGenerator random(7);
    for (int round = 0; round < 20000; ++round) {
        QString text;
        for (int i = random.bounded(12); i > 0; --i)
            text += alphabet[random.bounded(int(alphabet.size()))];
        registryValue(text, folders);
    }
    EXPECT_FALSE(registryValue("(Pdd)", folders));
    EXPECT_EQ(registryValue("(Str)(PDD)\\", folders)->text, "");
}

TEST(IniEntries, SplitAtTheFirstThreeCommasAndWrittenInShiftJis)
{
    EntryRun r;
    r.set("IniFile", "Data1", "設定,フォルダ,(App),(App)\\a,b.ini");
    r.set("IniFile", "Data2", "Sec,Key,v,ONSET98.INI");  // no folder: the Windows folder
    r.set("IniFile", "Data3", "Sec,Key,v");  // no file: skipped
    r.set("IniFile", "Data4", ",Key,v,(App)\\c.ini");  // no section: skipped
    const Script script(r.scriptPath());
    RunContext ctx = r.context(script);
    writeIniEntries(ctx);

    EXPECT_EQ(platform::ProfileFile(r.root + "app/a,b.ini").readValue("設定", "フォルダ"), r.root + "app/");
    QFile raw(r.root + "app/a,b.ini");
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    EXPECT_TRUE(raw.readAll().contains(platform::toSjis("[設定]")));
    EXPECT_EQ(platform::ProfileFile(r.root + "win/ONSET98.INI").readValue("Sec", "Key"), "v");
    EXPECT_FALSE(QFile::exists(r.root + "app/c.ini"));
    EXPECT_EQ(r.ui.statuses, QStringList(4, "Iniファイルを設定しています．．．"));
}
