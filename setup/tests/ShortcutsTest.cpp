#include "setup/engine/Shortcuts.h"

#include "setup/tests/ScriptRun.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace setup;

namespace {

// A run over a SETUP.INI in a temporary folder, the shortcut folders inside it.
struct ShortcutRun : ScriptRun {
    ShortcutRun()
    {
        folders.set("(App)", root + "app");
        folders.set("(Sta)", root + "programs");
        folders.set("(Dsk)", root + "desktop");
        folders.set("(Sup)", root + "startup");
        folders.set("(C_Sup)", root + "startup");
        folders.set("(Sen)", root + "sendto");
        QDir().mkpath(root + "app/My App");
    }
    void set(const QString& key, const QString& value) { ScriptRun::set("ShortCut", key, value); }
    // A file below the root, executable when `program`.
    QString file(const QString& relative, const QByteArray& bytes = {}, bool program = true)
    {
        QFile file(root + relative);
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        if (program)
            file.setPermissions(file.permissions() | QFile::ExeOwner);
        return file.fileName();
    }
    QStringList paths(const QStringList& relative)
    {
        QStringList list;
        for (const QString& path : relative)
            list << root + path;
        return list;
    }
    QStringList run(const ShortcutBoxes& boxes)
    {
        const Script script(scriptPath());
        RunContext ctx = context(script, 7);
        return makeShortcuts(ctx, boxes);
    }
    QString read(const QString& path)
    {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        return QString::fromUtf8(file.readAll());
    }
};

}  // namespace

TEST(Shortcuts, EachBoxGovernsItsKindOfNameAndOtherNamesAreAlwaysMade)
{
    ShortcutRun r;
    r.file("app/tav");
    for (int n = 1; n <= 6; ++n)
        r.set("Make" + QString::number(n), "(App)\\tav");
    // Make1 has no name: "Default", the Programs folder, the Start Menu box.
    r.set("Name2", "(Dsk)\\Tav");
    r.set("Name3", "(App)\\Tav");
    r.set("Name4", "(C_Sup)\\Tav");
    r.set("Name5", "(Sen)\\Tav");
    r.set("Name6", "Tools\\Tav");  // no macro: below the Programs folder, yet governed by no box

    EXPECT_EQ(r.run({false, false, false, false}),
              r.paths({"app/Tav.desktop", "programs/Tools/Tav.desktop"}));
    EXPECT_EQ(r.run({true, false, false, false}),
              r.paths({"desktop/Tav.desktop", "app/Tav.desktop", "programs/Tools/Tav.desktop"}));
    EXPECT_EQ(r.run({}),
              r.paths({"programs/tav.desktop", "desktop/Tav.desktop", "app/Tav.desktop",
                       "startup/Tav.desktop", "sendto/Tav.desktop", "programs/Tools/Tav.desktop"}));
    EXPECT_EQ(r.ui.statuses.last(), "ショートカットを作成しています．．．\rCreateTarget -> " + r.root +
                                        "app/tav\rCreating -> " + r.root + "programs/Tools/Tav");
    EXPECT_EQ(r.ui.pausedMs, 11 * 7);
}

TEST(Shortcuts, LinkNamesGetOneExtensionAndUnresolvedFoldersMakeNothing)
{
    ShortcutRun r;
    r.file("app/tav");
    for (int n = 1; n <= 4; ++n)
        r.set("Make" + QString::number(n), "(App)\\tav");
    r.set("Name1", "(Dsk)\\Tav.LNK");
    r.set("Name2", "(Dsk)\\Viewer.Desktop");
    r.set("Name3", "(Dsk)");  // a folder: the link takes the target's name
    r.set("Name4", "(Xyz)\\Tav");  // an unknown macro stays: a relative path, no link
    EXPECT_EQ(r.run({}), r.paths({"desktop/Tav.desktop", "desktop/Viewer.Desktop", "desktop/tav.desktop"}));
    EXPECT_FALSE(QFile::exists("(Xyz)/Tav.desktop"));
}

TEST(Shortcuts, DesktopEntryQuotesTheProgramAndItsArgumentsAndIsExecutable)
{
    ShortcutRun r;
    const QString target = r.file("app/My App/tav run");
    r.set("Make1", "(App)\\My App\\tav run,-x \"a b\" 100%");
    r.set("Name1", "(Dsk)\\Tav 2.0,(App)\\missing");
    ASSERT_EQ(r.run({}), QStringList(r.root + "desktop/Tav 2.0.desktop"));
    const QString link = r.root + "desktop/Tav 2.0.desktop";
    // The working folder given does not exist: the program's folder instead.
    EXPECT_EQ(r.read(link), "[Desktop Entry]\nType=Application\nName=Tav 2.0\nExec=\"" + target +
                                "\" -x \"a b\" 100%%\nPath=" + r.root + "app/My App/\n");
    EXPECT_TRUE(QFile::permissions(link) & QFile::ExeOther);

    // '$' and '\' are escaped inside the quotes, and '\' again for the file.
    const QString odd = r.file("app/pa$y\\x");
    ASSERT_FALSE(makeShortcut(odd, r.root + "desktop/Odd", r.root + "app", {}).isEmpty());
    EXPECT_TRUE(r.read(r.root + "desktop/Odd.desktop")
                    .contains("\nExec=\"" + r.root + "app/pa\\\\$y\\\\\\\\x\"\nPath=" + r.root + "app/\n"));
}

TEST(Shortcuts, DocumentsOpenThroughTheOpenerAndLinkTargetsAreCopied)
{
    ShortcutRun r;
    const QString readme = r.file("app/readme.txt", {}, false);
    const QString read = makeShortcut(readme, r.root + "desktop/Read", {}, "--ignored");
    EXPECT_EQ(read, r.root + "desktop/Read.desktop");
    EXPECT_TRUE(r.read(read).contains("\nExec=xdg-open " + readme + "\n"));
    const QString old = makeShortcut(r.file("app/old.lnk", "shipped link"), r.root + "desktop/Old", {}, {});
    EXPECT_EQ(old, r.root + "desktop/Old.desktop");
    EXPECT_EQ(r.read(old), "shipped link");
    // A link to copy that is not there makes nothing.
    EXPECT_EQ(makeShortcut(r.root + "app/gone.lnk", r.root + "desktop/Gone", {}, {}), QString());
    EXPECT_EQ(makeShortcut({}, r.root + "desktop/Empty", {}, {}), QString());
}

TEST(Shortcuts, AbortStopsBeforeTheLinkIsMade)
{
    ShortcutRun r;
    r.file("app/tav");
    r.set("Make1", "(App)\\tav");
    r.ui.abortAtStatus = 1;
    EXPECT_THROW(r.run({}), RunAborted);
    EXPECT_FALSE(QFile::exists(r.root + "programs/tav.desktop"));
}
