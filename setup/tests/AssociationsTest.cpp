#include "setup/engine/Associations.h"

#include "platform/tests/ScriptedPrompt.h"
#include "setup/tests/ScriptRun.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

using namespace setup;
using platform::Answer;
using platform::RegRoot;
using platform::RegValue;

namespace {

struct RelateRun : ScriptRun {
    platform::ScriptedPrompt prompt;
    int failures = 0;
    setup::DesktopFolders desktop;  // none unless a test sets it
    RestoreTable desktopRestore;

    RelateRun() { folders.set("(App)", root + "app"); }
    void set(const QString& key, const QString& value) { ScriptRun::set("Relate", key, value); }
    void run(RestoreTable& restore)
    {
        const Script script(scriptPath());
        RunContext ctx = context(script);
        ctx.desktop = desktop;
        setAssociations(ctx, readAssociationPairs(script), restore, desktopRestore);
        failures = ctx.failures;
    }
    QString classes(const QString& key)
    {
        const std::optional<RegValue> value = registry.value(RegRoot::ClassesRoot, key, {});
        return value ? value->text : "(none)";
    }
};

QStringList slotsFrom(QStringList used)
{
    while (used.size() < RestoreTable::kSlots)
        used << QString();
    return used;
}

}  // namespace

TEST(Associations, PairsAreReadForOneToTwentyWhenBothValuesAreGiven)
{
    RelateRun r;
    r.set("Name1", "a");
    r.set("File1", "open,x");
    r.set("Name2", "b");  // no File2
    r.set("File3", "open,x");  // no Name3
    r.set("Name20", "t");
    r.set("File20", "open,y");
    r.set("Name21", "u");
    r.set("File21", "open,z");
    const auto pairs = readAssociationPairs(Script(r.root + "SETUP.INI"));
    ASSERT_EQ(pairs.size(), 2u);
    EXPECT_EQ(pairs[0].name, "a");
    EXPECT_EQ(pairs[1].file, "open,y");
}

TEST(Associations, ClassesWithQuotedCommandUnquotedIconAndTheirPreviousClasses)
{
    RelateRun r;
    r.registry.createKey(RegRoot::ClassesRoot, ".pcx");
    r.registry.setValue(RegRoot::ClassesRoot, ".pcx", {}, RegValue::string("pcxfile"));
    r.set("Name1", "tav,Tav picture");
    r.set("File1", "open,(App)\\My App\\tav.exe,/view,%1,0");
    r.set("Name2", "pcx");
    r.set("File2", "print,(App)\\tav.exe,/p,%1,");  // the last ',' makes "%1" an argument
    r.set("Name3", "bmp");
    r.set("File3", "open,(App)\\tav.exe,%1");  // "%1" is the icon index here
    for (int i = 0; i < 3; ++i)
        r.prompt.answer(Answer::Yes);
    RestoreTable restore;
    r.run(restore);

    const QString program = r.root + "app/My App/tav.exe";
    ASSERT_EQ(r.prompt.shown().size(), 3);
    EXPECT_EQ(r.prompt.shown()[0].text,
              "拡張子 *.tav を\r" + program + "\rに関連付けします．よろしいですか？");
    EXPECT_EQ(r.prompt.shown()[0].caption, "関連付けの確認");
    EXPECT_EQ(r.prompt.shown()[0].kind, platform::MessageKind::Question);
    EXPECT_EQ(r.prompt.shown()[0].buttons, platform::Buttons::YesNo);

    EXPECT_EQ(r.classes(".tav"), "tav_auto_file");
    EXPECT_EQ(r.classes("tav_auto_file"), "Tav picture");
    EXPECT_EQ(r.classes("tav_auto_file\\DefaultIcon"), program + ",0");
    EXPECT_EQ(r.classes("tav_auto_file\\shell\\open\\command"), "\"" + program + "\" /view %1");
    EXPECT_EQ(r.classes("pcx_auto_file"), "pcx File");
    EXPECT_EQ(r.classes("pcx_auto_file\\DefaultIcon"), r.root + "app/tav.exe,");
    EXPECT_EQ(r.classes("pcx_auto_file\\shell\\print\\command"), r.root + "app/tav.exe /p %1");
    EXPECT_EQ(r.classes("bmp_auto_file\\DefaultIcon"), r.root + "app/tav.exe,%1");
    EXPECT_EQ(r.classes("bmp_auto_file\\shell\\open\\command"), r.root + "app/tav.exe");
    EXPECT_EQ(restore.slotList(), slotsFrom({"tav,", "pcx,pcxfile", "bmp,"}));
    EXPECT_EQ(r.ui.statuses, QStringList(3, "関連付けを設定しています．．．"));
}

TEST(Associations, ASecondInstallKeepsTheClassFromBeforeTheFirst)
{
    RelateRun r;
    r.registry.createKey(RegRoot::ClassesRoot, ".pcx");
    r.registry.setValue(RegRoot::ClassesRoot, ".pcx", {}, RegValue::string("pcxfile"));
    r.set("Name1", "pcx");
    r.set("File1", "open,(App)\\tav.exe,%1,0");
    r.prompt.answer(Answer::Yes);
    RestoreTable first;
    r.run(first);

    r.set("Name1", "PCX");
    r.prompt.answer(Answer::Yes);
    RestoreTable second;  // filled from the first install's record, as the run does
    second.take("tav,");
    for (const QString& value : first.slotList())
        second.take(value);
    second.take("PCX,PCXFILE");  // the same entry in another case
    r.run(second);
    EXPECT_EQ(r.classes(".PCX"), "PCX_auto_file");
    EXPECT_EQ(second.slotList(), slotsFrom({"tav,", "pcx,pcxfile"}));

    RestoreTable full;
    for (int i = 0; i <= RestoreTable::kSlots; ++i)
        full.take("e" + QString::number(i) + ",");
    EXPECT_EQ(full.slotList().size(), RestoreTable::kSlots);
    EXPECT_EQ(full.slotList().last(), "e19,");
}

TEST(Associations, ADeclinedPairTouchesNothing)
{
    RelateRun r;
    r.set("Name1", "tav");
    r.set("File1", "open,(App)\\tav.exe,%1,0");
    r.prompt.answer(Answer::No);
    RestoreTable restore;
    r.run(restore);
    EXPECT_FALSE(r.registry.keyExists(RegRoot::ClassesRoot, ".tav"));
    EXPECT_FALSE(r.registry.keyExists(RegRoot::ClassesRoot, "tav_auto_file"));
    EXPECT_EQ(restore.slotList(), slotsFrom({}));
    EXPECT_EQ(r.failures, 0);
}

TEST(Associations, UnusablePairsAreLoggedWithoutAQuestionAndOddTextsNeverCrash)
{
    RelateRun r;
    r.set("Name1", ",no extension");
    r.set("File1", "open,x,0");
    r.set("Name2", "a\\b");
    r.set("File2", "open,x,0");
    r.set("Name3", "c");
    r.set("File3", "open");  // no program
    RestoreTable restore;
    r.run(restore);
    EXPECT_TRUE(r.prompt.shown().isEmpty());
    EXPECT_EQ(r.failures, 3);
    EXPECT_EQ(r.registry.subKeyNames(RegRoot::ClassesRoot, {}), QStringList());

    const QString alphabet = ",,,(App)\\ x\"%";
    QRandomGenerator random(11);
    for (int round = 0; round < 20000; ++round) {
        QString name, file;
        for (int i = random.bounded(8); i > 0; --i)
            name += alphabet[random.bounded(int(alphabet.size()))];
        for (int i = random.bounded(12); i > 0; --i)
            file += alphabet[random.bounded(int(alphabet.size()))];
        const Association a = parseAssociation({name, file}, r.folders);
        a.command();
        a.usable();
    }
}

TEST(Associations, AbortStopsBeforeTheQuestion)
{
    RelateRun r;
    r.set("Name1", "tav");
    r.set("File1", "open,(App)\\tav.exe,%1,0");
    r.ui.abortAtStatus = 1;
    RestoreTable restore;
    EXPECT_THROW(r.run(restore), RunAborted);
    EXPECT_TRUE(r.prompt.shown().isEmpty());
}

// The desktop learns the association: a MIME type of its own for an unknown
// extension, a launcher as its default, and the uninstall puts back the
// default that was there before, only while it is still ours.
TEST(Associations, TheDesktopGetsTypeLauncherAndDefaultAndLosesThemExactly)
{
    RelateRun r;
    r.desktop = {r.root + "data", r.root + "config"};
    QDir().mkpath(r.root + "app");
    QFile(r.root + "app/tav.png").open(QIODevice::WriteOnly);
    QDir().mkpath(r.root + "config");
    QFile list(r.root + "config/mimeapps.list");
    ASSERT_TRUE(list.open(QIODevice::WriteOnly));
    list.write(
        "[Added Associations]\nx=y\n[Default Applications]\napplication/x-kvw-auto-file=other.desktop;\n");
    list.close();
    r.set("Name1", "kvw,Kavano picture");
    r.set("File1", "open,(App)\\tav,/view,%1,0");
    r.prompt.answer(Answer::Yes);
    RestoreTable restore;
    r.run(restore);
    ASSERT_EQ(r.failures, 0);

    const auto text = [&](const QString& relative) {
        QFile file(r.root + relative);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    };
    EXPECT_TRUE(text("data/mime/packages/x-kvw-auto-file.xml").contains("<glob pattern=\"*.kvw\"/>"));
    const QString launcher = text("data/applications/kvw_auto_file.desktop");
    EXPECT_TRUE(launcher.contains("Exec=" + r.root + "app/tav /view %f\n")) << launcher.toStdString();
    EXPECT_TRUE(launcher.contains("MimeType=application/x-kvw-auto-file;\n"));
    EXPECT_TRUE(launcher.contains("Icon=" + r.root + "app/tav.png\n"));
    EXPECT_TRUE(
        text("config/mimeapps.list").contains("application/x-kvw-auto-file=kvw_auto_file.desktop;\n"));
    EXPECT_EQ(r.desktopRestore.slotList().first(), "kvw,application/x-kvw-auto-file,other.desktop;");

    setup::unregisterFromDesktop(r.desktop, r.desktopRestore.slotList().first());
    EXPECT_EQ(
        text("config/mimeapps.list"),
        "[Added Associations]\nx=y\n[Default Applications]\napplication/x-kvw-auto-file=other.desktop;\n");
    EXPECT_FALSE(QFileInfo::exists(r.root + "data/applications/kvw_auto_file.desktop"));
    EXPECT_FALSE(QFileInfo::exists(r.root + "data/mime/packages/x-kvw-auto-file.xml"));
}
