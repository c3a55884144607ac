#include "platform/ProfileFile.h"

#include "platform/Sjis.h"
#include "platform/tests/ProfileTestFiles.h"
#include "platform/tests/SandboxEnvironment.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace platform;
using namespace platform::test;

namespace {

class ProfileFileTest : public testing::Test {
protected:
    QString folder = freshFolder();
    QString path = folder + "/tav.Ini";

    // Runs `body` in a child process and returns its exit code.
    template <typename Body>
    static int inChild(Body body)
    {
        const pid_t pid = fork();
        if (pid == 0)
            _exit(body());
        int status = 0;
        waitpid(pid, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : 100;
    }

    QStringList leftovers() const
    {
        return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    }
};

}  // namespace

TEST_F(ProfileFileTest, EditsKeepUnknownLinesInOrderAndWriteCrLf)
{
    writeBytes(path, "; settings of the program\n"
                     "[General]\n"
                     "Width=100\n"
                     "Other = keep me \n"
                     "\n"
                     "[Display]\n"
                     "Font=x\n");
    ProfileFile ini(path);
    ASSERT_TRUE(ini.writeString("general", "NewKey", "n"));  // appended to its section
    ASSERT_TRUE(ini.writeString("GENERAL", "WIDTH", "200"));  // replaced in place, spelling kept
    ASSERT_TRUE(ini.writeString("Extra", "A", "1"));  // a new section at the end
    EXPECT_EQ(readBytes(path), QByteArray("; settings of the program\r\n"
                                          "[General]\r\n"
                                          "Width=200\r\n"
                                          "Other = keep me \r\n"
                                          "NewKey=n\r\n"
                                          "\r\n"
                                          "[Display]\r\n"
                                          "Font=x\r\n"
                                          "\r\n"
                                          "[Extra]\r\n"
                                          "A=1\r\n"));
    EXPECT_EQ(ini.sectionNames(), (QStringList{"General", "Display", "Extra"}));
    EXPECT_EQ(ini.keyNames("general"), (QStringList{"Width", "Other", "NewKey"}));
}

TEST_F(ProfileFileTest, NewSectionAfterATrailingBlankLineAddsNoSecondOne)
{
    writeBytes(path, "[A]\r\nk=v\r\n\r\n");
    ProfileFile ini(path);
    ASSERT_TRUE(ini.writeString("B", "n", "1"));
    EXPECT_EQ(readBytes(path), QByteArray("[A]\r\nk=v\r\n\r\n[B]\r\nn=1\r\n"));
}

TEST_F(ProfileFileTest, MissingFileIsCreatedOnWriteAndReadsGiveTheFallback)
{
    ProfileFile ini(path);
    EXPECT_EQ(ini.readString("S", "K", "dflt"), "dflt");
    EXPECT_FALSE(ini.readValue("S", "K").has_value());
    EXPECT_TRUE(ini.deleteKey("S", "K"));  // nothing to delete is no failure
    ASSERT_TRUE(ini.writeString("S", "K", "v"));
    EXPECT_EQ(readBytes(path), QByteArray("[S]\r\nK=v\r\n"));
}

TEST_F(ProfileFileTest, LookupsIgnoreCaseAlsoOfFullWidthLetters)
{
    writeBytes(path, toSjis(QStringLiteral("[ＡＢＣ]\nＫｅｙ=値\n[Tab]\n  Name  =  \"  quoted  \"  \n")));
    ProfileFile ini(path);
    EXPECT_EQ(ini.readString(QStringLiteral("ａｂｃ"), QStringLiteral("ｋＥＹ"), "none"),
              QStringLiteral("値"));
    EXPECT_EQ(ini.readString("TAB", "name", "none"), "  quoted  ");
    EXPECT_EQ(ini.readString("Tab", "Absent", "none"), "none");
    EXPECT_EQ(ini.readString("NoSuch", "Name", "none"), "none");
}

TEST_F(ProfileFileTest, ReadThroughTheBufferCutsWithoutSplittingCharacters)
{
    ProfileFile ini(path);
    const QString wide(1100, QChar(0x3042));  // あ: two bytes each
    const QString mixed = u'a' + wide;
    ASSERT_TRUE(ini.writeString("S", "Wide", wide));
    ASSERT_TRUE(ini.writeString("S", "Mixed", mixed));
    EXPECT_EQ(ini.readString("S", "Wide", {}), wide.left(1023));  // 2046 bytes, not 2047
    EXPECT_EQ(ini.readString("S", "Mixed", {}), mixed.left(1024));  // exactly 2047 bytes
    EXPECT_EQ(ini.readString("S", "Mixed", {}, 4), QStringLiteral("aあ"));
    EXPECT_EQ(ini.readString("S", "Mixed", {}, 3), "a");
    EXPECT_EQ(ini.readValue("S", "Wide"), wide);
    EXPECT_EQ(ini.readString("S", "Absent", "abcdef", 4), "abc");
}

TEST_F(ProfileFileTest, JapaneseValuesAreShiftJisOnDisk)
{
    ProfileFile ini(path);
    ASSERT_TRUE(
        ini.writeString(QStringLiteral("並び"), QStringLiteral("順"), QStringLiteral("ﾌｧｲﾙ名(昇順)")));
    ASSERT_TRUE(ini.writeString("Font", "Name", QStringLiteral("ＭＳ Ｐゴシック")));
    const QByteArray bytes = readBytes(path);
    EXPECT_TRUE(bytes.contains(toSjis(QStringLiteral("順=ﾌｧｲﾙ名(昇順)\r\n"))));
    EXPECT_TRUE(bytes.contains("Name=\x82\x6c\x82\x72 \x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e\r\n"));
    EXPECT_EQ(ini.readString(QStringLiteral("並び"), QStringLiteral("順"), {}),
              QStringLiteral("ﾌｧｲﾙ名(昇順)"));
    EXPECT_EQ(ini.readString("font", "name", {}), QStringLiteral("ＭＳ Ｐゴシック"));
}

TEST_F(ProfileFileTest, UndecodableLinesSurviveAnEditByteForByte)
{
    const QByteArray odd("[S]\r\n;\xff\x85\x40 broken\r\nk=1\r\n");
    writeBytes(path, odd);
    ProfileFile ini(path);
    ASSERT_TRUE(ini.writeString("S", "k", "2"));
    EXPECT_EQ(readBytes(path), QByteArray("[S]\r\n;\xff\x85\x40 broken\r\nk=2\r\n"));
}

TEST_F(ProfileFileTest, ALineBreakInAValueCannotAddLines)
{
    ProfileFile ini(path);
    ASSERT_TRUE(ini.writeString("S", "k", "one\r\n[Injected]\nx=1"));
    EXPECT_EQ(ini.sectionNames(), QStringList{"S"});
    EXPECT_EQ(ini.keyNames("S"), QStringList{"k"});
}

TEST_F(ProfileFileTest, DeleteKeyAndSection)
{
    writeBytes(path, "[A]\nx=1\ny=2\n[B]\nz=3\n");
    ProfileFile ini(path);
    ASSERT_TRUE(ini.deleteKey("a", "X"));
    ASSERT_TRUE(ini.deleteSection("b"));
    EXPECT_EQ(readBytes(path), QByteArray("[A]\r\ny=2\r\n"));
}

TEST_F(ProfileFileTest, ChangesByOthersAreSeenByTheNextRead)
{
    ProfileFile ini(path);
    writeBytes(path, "[S]\nk=aaa\n");
    EXPECT_EQ(ini.readString("S", "k", {}), "aaa");
    writeBytes(path, "[S]\nk=bbb\n");  // same size, same inode, maybe same time stamp
    EXPECT_EQ(ini.readString("S", "k", {}), "bbb");
    ProfileFile other(path);
    ASSERT_TRUE(other.writeString("S", "k", "ccc"));
    EXPECT_EQ(ini.readString("S", "k", {}), "ccc");
}

TEST_F(ProfileFileTest, BatchReachesTheFileInOneReplacementAtItsCommit)
{
    writeBytes(path, "[S]\r\nk=old\r\n");
    ProfileFile ini(path);
    ini.beginBatch();
    ASSERT_TRUE(ini.writeString("S", "k", "new"));
    ASSERT_TRUE(ini.writeString("T", "München", "Café"));
    ASSERT_TRUE(ini.deleteKey("S", "gone"));
    EXPECT_EQ(ini.readString("T", "München", {}), "Café");  // seen before the commit
    EXPECT_EQ(readBytes(path), QByteArray("[S]\r\nk=old\r\n"));
    EXPECT_TRUE(ini.commitBatch());
    EXPECT_EQ(readBytes(path), QByteArray("[S]\r\nk=new\r\n\r\n[T]\r\nM&#xFC;nchen=Caf&#xE9;\r\n"));
    EXPECT_TRUE(leftovers() == QStringList{"tav.Ini"});

    // What cannot be read as a file (here a folder) fails the batch and stays.
    ASSERT_TRUE(QDir(folder).mkdir("taken.ini"));
    ProfileFile taken(folder + "/taken.ini");
    taken.beginBatch();
    EXPECT_FALSE(taken.writeString("S", "k", "x"));
    EXPECT_FALSE(taken.commitBatch());
    EXPECT_TRUE(QFileInfo(folder + "/taken.ini").isDir());
}

TEST_F(ProfileFileTest, ReadOnlyFolderFailsTheWriteAndKeepsTheOldFile)
{
    writeBytes(path, "[S]\r\nk=old\r\n");
    // The test may run as root, who ignores permissions: the write is then
    // tried by a child that gives up root first.
    chmod(QFile::encodeName(sandbox()).constData(), 0755);
    chmod(QFile::encodeName(folder).constData(), 0555);
    const int rc = inChild([&] {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            return 2;
        return ProfileFile(path).writeString("S", "k", "new") ? 1 : 0;
    });
    chmod(QFile::encodeName(folder).constData(), 0755);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(readBytes(path), QByteArray("[S]\r\nk=old\r\n"));
}

TEST_F(ProfileFileTest, WriteThatRunsOutOfSpaceKeepsTheOldFileAndNoTemporary)
{
    writeBytes(path, "[S]\r\nk=old\r\n");
    const int rc = inChild([&] {
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        return ProfileFile(path).writeString("S", "k", QString(10000, u'x')) ? 1 : 0;
    });
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(readBytes(path), QByteArray("[S]\r\nk=old\r\n"));
    EXPECT_EQ(leftovers(), QStringList{"tav.Ini"});
}

TEST_F(ProfileFileTest, PathThatIsAFolderIsRefused)
{
    QDir().mkpath(path);
    ProfileFile ini(path);
    EXPECT_FALSE(ini.writeString("S", "k", "v"));
    EXPECT_EQ(ini.readString("S", "k", "fallback"), "fallback");
}
