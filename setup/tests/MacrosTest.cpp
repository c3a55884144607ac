#include "setup/engine/Macros.h"

#include <gtest/gtest.h>

using platform::RegRoot;
using setup::FolderTable;
using setup::readRootAndKey;

TEST(FolderMacros, ExpandWithOrWithoutDelimiterAnyCaseAndLeaveUnknownOnes)
{
    FolderTable table;
    table.set("(Win)", "/tmp/win");
    table.set("(Sta)", "/home/u/.local/share/applications/");
    EXPECT_EQ(table.expand("(Win)\\SYSTEM\\a.dll"), "/tmp/win/SYSTEM/a.dll");
    EXPECT_EQ(table.expand("(win)a.dll"), "/tmp/win/a.dll");
    EXPECT_EQ(table.expand("(Sta)Tav,(Win)"), "/home/u/.local/share/applications/Tav,/tmp/win/");
    // "(App)" is not fixed yet: it stays in the text.
    EXPECT_EQ(table.expand("(App)\\tav.exe"), "(App)/tav.exe");
    table.set("(App)", "/opt/tav");
    EXPECT_EQ(table.expand("(App)\\tav.exe"), "/opt/tav/tav.exe");
}

TEST(FolderMacros, DataKeepsItsBackslashesOutsideThePathAfterAMacro)
{
    FolderTable table;
    table.set("(App)", "/opt/tav");
    EXPECT_EQ(table.expandValue("DOMAIN\\user"), "DOMAIN\\user");
    EXPECT_EQ(table.expandValue("\"(App)\\bin\\tav\" -d DOMAIN\\user"),
              "\"/opt/tav/bin/tav\" -d DOMAIN\\user");
    EXPECT_EQ(table.expand("DOMAIN\\user"), "DOMAIN/user");  // a path
}

TEST(FolderMacros, AFolderWhoseNameHoldsAMacroDoesNotLoop)
{
    FolderTable table;
    table.set("(Tmp)", "/tmp/(Tmp)");
    EXPECT_EQ(table.expand("(Tmp)x"), "/tmp/(Tmp)/x");
}

TEST(RootMacros, RootsAndTheCurrentUserFallback)
{
    EXPECT_EQ(readRootAndKey("(Class)\\.jpg\\"), std::make_pair(RegRoot::ClassesRoot, QString(".jpg")));
    EXPECT_EQ(readRootAndKey("(Local)SOFTWARE\\Kavano"),
              std::make_pair(RegRoot::LocalMachine, QString("SOFTWARE\\Kavano")));
    EXPECT_EQ(readRootAndKey("(Users)x"), std::make_pair(RegRoot::Users, QString("x")));
    EXPECT_EQ(readRootAndKey("(Other)x"), std::make_pair(RegRoot::CurrentUser, QString("x")));
    EXPECT_EQ(readRootAndKey("Software\\Kavano"),
              std::make_pair(RegRoot::CurrentUser, QString("Software\\Kavano")));
}
