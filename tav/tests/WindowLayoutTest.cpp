#include "platform/ProfileFile.h"
#include "tav/core/BrowserLayout.h"
#include "tav/core/WindowPlacement.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(WindowPlacement, ShrinksToTheScreenWithItsFrameAndCentres)
{
    const QRect small(0, 0, 640, 480);
    // Before showing, only the client area is known: 800 x 598 becomes the screen's size.
    EXPECT_EQ(placeOnScreen(QSize(800, 598), QSize(), small), QRect(0, 0, 640, 480));
    // Shown with a frame of 10 x 40, the frame fits as well.
    EXPECT_EQ(placeOnScreen(QSize(640, 480), QSize(10, 40), small), QRect(0, 0, 630, 440));
    // A screen large enough keeps the size and centres the window, frame included.
    EXPECT_EQ(placeOnScreen(QSize(800, 598), QSize(10, 40), QRect(0, 0, 1280, 1024)),
              QRect(235, 193, 800, 598));
}

TEST(BrowserLayout, WidthAndVisitedFoldersRoundTripAndShrink)
{
    QTemporaryDir dir;
    platform::ProfileFile file(dir.filePath(QStringLiteral("tav.Ini")));
    EXPECT_EQ(readBrowserLayout(file).fileColumnWidth, 0);

    ASSERT_TRUE(writeBrowserLayout(
        file, {340, {QStringLiteral("/p/写真"), QStringLiteral("/p/b"), QStringLiteral("/p/c")}}));
    BrowserLayout read = readBrowserLayout(file);
    EXPECT_EQ(read.fileColumnWidth, 340);
    EXPECT_EQ(read.recentFolders, QStringList({"/p/写真", "/p/b", "/p/c"}));

    // A shorter history leaves no stale slot behind; a bad width reads as the default.
    ASSERT_TRUE(writeBrowserLayout(file, {340, {QStringLiteral("/p/b")}}));
    ASSERT_TRUE(
        file.writeString(QStringLiteral("BROWSE"), QStringLiteral("retsuHaba"), QStringLiteral("-5")));
    read = readBrowserLayout(file);
    EXPECT_EQ(read.recentFolders, QStringList({"/p/b"}));
    EXPECT_EQ(file.keyNames(QStringLiteral("BROWSE")), QStringList({"retsuHaba", "rireki1"}));
    EXPECT_EQ(read.fileColumnWidth, 0);
}

}  // namespace
