#include "platform/PlatformPaths.h"
#include "platform/PrinterCaps.h"

#include "platform/tests/SandboxEnvironment.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace platform;
using namespace platform::test;

TEST(PlatformPaths, EverySpecialFolderLiesInTheSandboxAndExists)
{
    const QString root = sandbox();
    ASSERT_FALSE(root.isEmpty());
    const SpecialFolder all[] = {SpecialFolder::Home,         SpecialFolder::Desktop,
                                 SpecialFolder::Documents,    SpecialFolder::StartMenuPrograms,
                                 SpecialFolder::Startup,      SpecialFolder::AppData,
                                 SpecialFolder::ProgramFiles, SpecialFolder::Windows,
                                 SpecialFolder::System,       SpecialFolder::Fonts,
                                 SpecialFolder::Temp};
    QStringList seen;
    for (SpecialFolder f : all) {
        const QString path = specialFolder(f);
        EXPECT_TRUE(path.startsWith(root + u'/')) << path.toStdString();
        EXPECT_FALSE(path.endsWith(u'/'));
        EXPECT_TRUE(QFileInfo(path).isDir()) << path.toStdString();
        seen.append(path);
    }
    seen.removeDuplicates();
    EXPECT_EQ(seen.size(), std::size(all));
    EXPECT_EQ(specialFolder(SpecialFolder::Desktop), root + "/home/Desktop");
}

TEST(PlatformPaths, ProgramFolderIsThisBinarysFolder)
{
    const QString folder = programFolder();
    EXPECT_TRUE(folder.endsWith(u'/'));
    EXPECT_TRUE(QFileInfo::exists(folder + "platform_tests"));
}

TEST(PrinterCaps, DefaultPrinterPaperHoldsItsPrintableArea)
{
    if (const auto real = defaultPrinterCaps()) {
        EXPECT_GT(real->logPixelsX, 0);
        EXPECT_GE(real->physicalWidth, real->horzRes + real->physicalOffsetX);
        EXPECT_GE(real->physicalHeight, real->vertRes + real->physicalOffsetY);
    }
}
