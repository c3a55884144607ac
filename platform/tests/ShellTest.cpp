#include "platform/Shell.h"

#include "platform/tests/ProfileTestFiles.h"
#include "platform/tests/SandboxEnvironment.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace platform;
using namespace platform::test;

TEST(Shell, TrashInTheSandboxKeepsFilesOfTheSameNameApart)
{
    const QString folder = freshFolder();
    const QString path = folder + QStringLiteral("/写真 1.jpg");
    writeBytes(path, "first");
    ASSERT_TRUE(moveToTrash(path));
    EXPECT_FALSE(QFileInfo::exists(path));
    writeBytes(path, "second");
    ASSERT_TRUE(moveToTrash(path));

    const QString trash = sandbox() + "/Trash";
    const QStringList files = QDir(trash + "/files").entryList(QDir::Files);
    ASSERT_EQ(files.size(), 2);
    QStringList contents;
    for (const QString& name : files) {
        contents.append(QString::fromUtf8(readBytes(trash + "/files/" + name)));
        const QByteArray info = readBytes(trash + "/info/" + name + ".trashinfo");
        EXPECT_TRUE(info.startsWith("[Trash Info]\nPath=")) << info.constData();
        EXPECT_TRUE(info.contains("%E5%86%99%E7%9C%9F%201.jpg\n"));  // percent-encoded UTF-8
        EXPECT_TRUE(info.contains("\nDeletionDate="));
    }
    contents.sort();
    EXPECT_EQ(contents, (QStringList{"first", "second"}));
    EXPECT_FALSE(moveToTrash(folder + "/absent.jpg"));
}
