// Whole-file replacement through another writer, and which temporaries a
// later save into the folder removes.
#include "platform/AtomicFile.h"

#include "platform/tests/SandboxEnvironment.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

using namespace platform;
using namespace platform::test;

namespace {

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

QStringList hiddenFiles(const QString& folder)
{
    return QDir(folder).entryList({QStringLiteral(".*")}, QDir::Files | QDir::Hidden, QDir::Name);
}

void touch(const QString& path, int secondsAgo)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("part of a save");
    file.flush();
    file.setFileTime(QDateTime::currentDateTime().addSecs(-secondsAgo), QFileDevice::FileModificationTime);
}

// The temporary a save killed in the middle of writing leaves behind.
QString temporaryOfKilledSave(const QString& target)
{
    const pid_t pid = fork();
    if (pid == 0) {
        replaceFileThrough(target, [](const QString& temporary) {
            touch(temporary, 0);
            _exit(0);
            return true;
        });
        _exit(1);
    }
    waitpid(pid, nullptr, 0);
    const QStringList left = hiddenFiles(QFileInfo(target).path());
    return left.size() == 1 ? left.front() : QString();
}

}  // namespace

TEST(AtomicFileTest, WriterFillsTheTemporaryAndAFailedOneLeavesTheOldFile)
{
    const QString folder = freshFolder();
    const QString target = folder + QStringLiteral("/写真.jpg");
    ASSERT_TRUE(replaceFileAtomically(target, "old"));
    EXPECT_FALSE(replaceFileThrough(target, [](const QString& temporary) {
        touch(temporary, 0);
        return false;
    }));
    EXPECT_EQ(contents(target), "old");
    EXPECT_TRUE(hiddenFiles(folder).isEmpty());

    // A name that fills the whole of a file name's 255 bytes still saves.
    const QString longTarget = folder + QLatin1Char('/') + QString(85, QChar(u'写'));
    EXPECT_TRUE(replaceFileThrough(longTarget, [](const QString& temporary) {
        QFile file(temporary);
        return file.open(QIODevice::WriteOnly) && file.write("new") == 3;
    }));
    EXPECT_EQ(contents(longTarget), "new");
    EXPECT_TRUE(hiddenFiles(folder).isEmpty());
}

TEST(AtomicFileTest, NextSaveRemovesOnlyTemporariesNoSaveIsWriting)
{
    const QString folder = freshFolder();
    const QString target = folder + QStringLiteral("/a.tav");
    const QString killed = temporaryOfKilledSave(target);
    ASSERT_TRUE(killed.startsWith(QStringLiteral(".a.tav.tmp-"))) << qPrintable(killed);

    // The same name from another machine (another tag): kept while recent, removed after an hour.
    QString foreign = killed;
    foreign.replace(QRegularExpression(QStringLiteral("tmp-[0-9a-f]{8}-")), QStringLiteral("tmp-ffffffff-"));
    touch(folder + QLatin1Char('/') + foreign, 0);
    touch(folder + QStringLiteral("/.b.jpg.tmp-fffffff0-1-0000abcd"), 2 * 3600);
    // Names of earlier versions go by age alone; files of other programs stay.
    touch(folder + QStringLiteral("/.c.jpg.tmp-3f2e"), 2 * 3600);
    touch(folder + QStringLiteral("/.tav0123abcd.tmp"), 2 * 3600);
    touch(folder + QStringLiteral("/.tav89abcdef.tmp"), 60);
    touch(folder + QStringLiteral("/.notes.tmp"), 2 * 3600);

    // A save still in progress in this process keeps its temporary while
    // another save into the folder sweeps it.
    QString inProgress;
    ASSERT_TRUE(replaceFileThrough(folder + QStringLiteral("/d.jpg"), [&](const QString& temporary) {
        inProgress = QFileInfo(temporary).fileName();
        touch(temporary, 2 * 60);
        return replaceFileAtomically(target, "saved") && QFileInfo::exists(temporary);
    }));
    EXPECT_EQ(contents(target), "saved");
    EXPECT_EQ(contents(folder + QStringLiteral("/d.jpg")), "part of a save");
    EXPECT_FALSE(hiddenFiles(folder).contains(inProgress));
    EXPECT_EQ(hiddenFiles(folder),
              QStringList({foreign, QStringLiteral(".notes.tmp"), QStringLiteral(".tav89abcdef.tmp")}));
}
