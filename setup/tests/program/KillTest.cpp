// The setup program itself, unattended: killed in the middle of a copy, the
// next start clears the dead run's work folder and half-written copy, and the
// uninstall undoes what the first install recorded.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Sandbox {
    QTemporaryDir dir;
    QString root = dir.path();

    QString path(const QString& relative) const { return root + u'/' + relative; }
    void write(const QString& relative, const QByteArray& bytes) const
    {
        QDir().mkpath(QFileInfo(path(relative)).absolutePath());
        QFile file(path(relative));
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
    }
    QByteArray read(const QString& relative) const
    {
        QFile file(path(relative));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void start(QProcess& process, const QString& program, const QStringList& arguments) const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("TAV_SANDBOX", root + "/box");
        env.insert("QT_QPA_PLATFORM", "offscreen");
        process.setProcessEnvironment(env);
        process.start(program, arguments);
        ASSERT_TRUE(process.waitForStarted());
    }
    int run(const QString& program, const QStringList& arguments) const
    {
        QProcess process;
        start(process, program, arguments);
        EXPECT_TRUE(process.waitForFinished(60000));
        return process.exitCode();
    }
    QStringList find(const QString& relative, const QString& nameFilter) const
    {
        QStringList found;
        QDirIterator it(path(relative), {nameFilter}, QDir::AllEntries | QDir::Hidden);
        while (it.hasNext())
            found << it.next();
        return found;
    }
};

}  // namespace

TEST(SetupProgram, AKilledCopyLeavesTheOldFileAndTheNextStartCleansUp)
{
    Sandbox box;
    QDir().mkpath(box.path("src"));
    ASSERT_TRUE(QFile::copy(SETUP_PROGRAM, box.path("src/setup")));
    box.write("src/SETUP.INI", "[Title]\r\nSetup=Kill\r\n[DefaultFolder]\r\nFolder=(Prg)\\Kill\r\n"
                               "[CopyFile]\r\nFile1=(App)\\a.txt\r\nFile2=(App)\\big.dat\r\n");
    box.write("src/a.txt", "a");
    box.write("src/big.dat", "old version");
    QFile(box.path("src/big.dat"))
        .setFileTime(QDateTime::currentDateTime().addDays(-1), QFileDevice::FileModificationTime);
    ASSERT_EQ(box.run(box.path("src/setup"), {"--silent"}), 0);
    const QString app = "box/home/.local/opt/Kill/";
    ASSERT_EQ(box.read(app + "big.dat"), "old version");

    // The new version comes through a pipe that never ends: the copy is caught half-way.
    QFile::remove(box.path("src/big.dat"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(box.path("src/big.dat")).constData(), 0644), 0);
    const int pipe = ::open(QFile::encodeName(box.path("src/big.dat")).constData(), O_RDWR);
    ASSERT_GE(pipe, 0);
    ASSERT_EQ(::write(pipe, "new ver", 7), 7);
    QProcess second;
    box.start(second, box.path("src/setup"), {"--silent"});
    QStringList partial;
    for (int i = 0; i < 500 && partial.isEmpty(); ++i, QThread::msleep(20))
        partial = box.find(app, ".big.dat.ontmp-*");
    ASSERT_EQ(partial.size(), 1);
    second.kill();
    second.waitForFinished();
    ::close(pipe);
    EXPECT_EQ(box.read(app + "big.dat"), "old version");
    ASSERT_EQ(box.find("box/tmp", "ONTMP*").size(), 1);

    // The next start: the uninstaller the first install left, on its record.
    const QString uninstaller = box.path("box/home/.local/share/windows/UNONSET.EXE");
    EXPECT_EQ(box.run(uninstaller, {"--silent", box.path(app + "UNSETUP.INI")}), 0);
    EXPECT_TRUE(box.find("box/tmp", "ONTMP*").isEmpty());
    EXPECT_FALSE(QFileInfo::exists(partial.first()));
    EXPECT_FALSE(QFileInfo::exists(box.path(app)));
    EXPECT_FALSE(QFileInfo::exists(box.path("box/home/.local/share/applications/uninstall-Kill.desktop")));
}

TEST(SetupProgram, AnUnattendedRunReportsARefusalInItsStatus)
{
    Sandbox box;
    QDir().mkpath(box.path("src"));
    ASSERT_TRUE(QFile::copy(SETUP_PROGRAM, box.path("src/setup")));
    box.write("src/SETUP.INI", "[DefaultFolder]\r\nFolder=relative\\App\r\n");
    QProcess process;
    box.start(process, box.path("src/setup"), {"--silent"});
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 2);
    EXPECT_TRUE(QString::fromUtf8(process.readAllStandardError()).contains("絶対パスではない"));
    EXPECT_EQ(box.run(box.path("src/setup"), {"--silent", box.path("nothing/UNSETUP.INI")}), 2);
}
