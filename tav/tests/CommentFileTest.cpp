#include "tav/catalog/CommentFile.h"
#include "imgkit/ImgKit.h"
#include "platform/Sjis.h"
#include "tav/catalog/Caption.h"
#include "tav/core/AppSettings.h"
#include "tav/imaging/PictureOptions.h"
#include "tav/tests/BitmapTestPictures.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

class CommentFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        picture = dir.filePath(QStringLiteral("IMG01.JPG"));
        writeBytes(picture, "not really a picture");
        // A known modification date for the fallback, with a one-digit month and day.
        QFile file(picture);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(QDateTime(QDate(2003, 4, 7), QTime(10, 20, 30)),
                                     QFileDevice::FileModificationTime));
    }

    static void writeBytes(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }
    static QByteArray readBytes(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QString commentFile() const { return dir.filePath(QStringLiteral("IMG01.tav")); }
    void writeCommentFile(const QString& text) { writeBytes(commentFile(), platform::toSjis(text)); }
    COMKATA read(int expected = 0)
    {
        COMKATA record;
        EXPECT_EQ(ReadComment(picture, record), expected);
        return record;
    }

    QTemporaryDir dir;
    QString picture;
};

TEST(CommentFileNameTest, ReplacesEverythingFromTheLastDot)
{
    EXPECT_EQ(CommentFileName(QStringLiteral("/photos/IMG01.JPG")), QStringLiteral("/photos/IMG01.tav"));
    EXPECT_EQ(CommentFileName(QStringLiteral("/photos/a.b.jpeg")), QStringLiteral("/photos/a.b.tav"));
    // A dot in a folder name is not the picture's: the comment file stays
    // beside the picture instead of landing on "/photo.tav" (another
    // picture's, say /photo.jpg's).
    EXPECT_EQ(CommentFileName(QStringLiteral("/photo.old/readme")), QStringLiteral("/photo.old/readme.tav"));
    EXPECT_EQ(CommentFileName(QStringLiteral("/photos/readme")), QStringLiteral("/photos/readme.tav"));
    EXPECT_EQ(CommentFileName(QStringLiteral("ab")), QStringLiteral("ab.tav"));
    // Nothing before the dot: no comment file.
    EXPECT_EQ(CommentFileName(QStringLiteral(".jpg")), QString());
    EXPECT_EQ(CommentFileName(QString()), QString());
}

TEST_F(CommentFileTest, ReadsTheTenLinesAndNormalisesTheDate)
{
    writeCommentFile(QStringLiteral(
        "[TI]\r\nSummer\r\n[NEN]\r\n2001\r\n[TUKI]\r\n05\r\n[HI]\r\n03\r\n[COM]\r\nfirst\r\nsecond\r\n"));
    const COMKATA r = read();
    EXPECT_EQ(r.title, QStringLiteral("Summer"));
    EXPECT_EQ(r.year, QStringLiteral("2001"));
    EXPECT_EQ(r.month, QStringLiteral("5"));
    EXPECT_EQ(r.day, QStringLiteral("3"));
    EXPECT_EQ(r.comment, QStringLiteral("first\r\nsecond"));
}

TEST_F(CommentFileTest, CommentModeSwallowsLaterTags)
{
    writeCommentFile(QStringLiteral("[COM]\r\na\r\n[TI]\r\n"));
    const COMKATA r = read();
    EXPECT_EQ(r.comment, QStringLiteral("a\r\n[TI]"));
    EXPECT_EQ(r.title, QString());
}

TEST_F(CommentFileTest, LastOccurrenceWinsAndOtherLinesAreIgnored)
{
    writeCommentFile(QStringLiteral("junk\r\n[TI]\r\nfirst\r\n[ti]\r\nlower\r\n[TI]\r\nsecond\r\n"
                                    "[NEN]\r\n1999\r\n[NEN]\r\n2002\r\n[TUKI]\r\n12\r\n[HI]\r\n31\r\n"));
    const COMKATA r = read();
    EXPECT_EQ(r.title, QStringLiteral("second"));
    EXPECT_EQ(r.year, QStringLiteral("2002"));
    EXPECT_EQ(r.month, QStringLiteral("12"));
    EXPECT_EQ(r.day, QStringLiteral("31"));
    EXPECT_EQ(r.comment, QString());
}

TEST_F(CommentFileTest, TitleKeepsTheCallersValueWhenTheFileHasNone)
{
    writeCommentFile(QStringLiteral("[NEN]\r\n2001\r\n[TUKI]\r\n1\r\n[HI]\r\n2\r\n"));
    COMKATA record{QStringLiteral("kept"), QStringLiteral("9"), QStringLiteral("9"), QStringLiteral("9"),
                   QStringLiteral("old comment")};
    EXPECT_EQ(ReadComment(picture, record), 0);
    EXPECT_EQ(record.title, QStringLiteral("kept"));
    EXPECT_EQ(record.comment, QString());
}

TEST_F(CommentFileTest, BadOrMissingDatesFallBackToTheFileDateZeroPadded)
{
    const auto expectFileDate = [this](const char* what) {
        const COMKATA r = read();
        EXPECT_EQ(r.year, QStringLiteral("2003")) << what;
        EXPECT_EQ(r.month, QStringLiteral("04")) << what;
        EXPECT_EQ(r.day, QStringLiteral("07")) << what;
    };
    expectFileDate("no comment file");
    writeCommentFile(QStringLiteral("[NEN]\r\n2001\r\n[TUKI]\r\n05\r\n[HI]\r\nx\r\n"));
    expectFileDate("a day that is not a number");
    writeCommentFile(QStringLiteral("[NEN]\r\n0\r\n[TUKI]\r\n5\r\n[HI]\r\n3\r\n"));
    expectFileDate("year 0");
    writeCommentFile(QStringLiteral("[TI]\r\nonly a title\r\n"));
    expectFileDate("no date at all");
    writeCommentFile(QStringLiteral("[NEN]\r\n99999999999\r\n[TUKI]\r\n5\r\n[HI]\r\n3\r\n"));
    expectFileDate("a year beyond any integer");
}

TEST_F(CommentFileTest, ToleratesBareLineFeedsAndATagOnTheLastLine)
{
    writeCommentFile(QStringLiteral("[TI]\nlf title\n[NEN]\n2001\n[TUKI]\n2\n[HI]\n3\n[TI]"));
    const COMKATA r = read();
    EXPECT_EQ(r.title, QString());  // the last "[TI]" has no line after it
    EXPECT_EQ(r.year, QStringLiteral("2001"));
    writeCommentFile(QStringLiteral("[COM]"));
    EXPECT_EQ(read().comment, QString());
}

TEST_F(CommentFileTest, UnreadableCommentFileGivesOneAndTheDefaults)
{
    // A folder where the comment file should be cannot be opened as a file.
    ASSERT_TRUE(QDir().mkpath(commentFile()));
    const COMKATA r = read(1);
    EXPECT_EQ(r.year, QStringLiteral("0"));
    EXPECT_EQ(r.month, QStringLiteral("0"));
    EXPECT_EQ(r.day, QStringLiteral("0"));
}

TEST_F(CommentFileTest, NoPathGivesTheZeroDate)
{
    COMKATA record;
    EXPECT_EQ(ReadComment(QString(), record), 0);
    EXPECT_EQ(record.year + record.month + record.day, QStringLiteral("000"));
}

TEST_F(CommentFileTest, WritesShiftJisWithCrLfAndReadsItBack)
{
    const COMKATA written{QStringLiteral("ﾀｲﾄﾙ 夏の海"), QStringLiteral("2001"), QStringLiteral("5"),
                          QStringLiteral("3"), QStringLiteral("一行目\r\nｶﾀｶﾅの二行目\r\n[TI]")};
    ASSERT_EQ(WriteComment(picture, written), 0);

    const QByteArray expected = platform::toSjis(
        QStringLiteral("[TI]\r\nﾀｲﾄﾙ 夏の海\r\n[NEN]\r\n2001\r\n[TUKI]\r\n5\r\n[HI]\r\n3\r\n[COM]\r\n"
                       "一行目\r\nｶﾀｶﾅの二行目\r\n[TI]\r\n"));
    const QByteArray onDisk = readBytes(commentFile());
    EXPECT_EQ(onDisk, expected);
    // Half-width katakana are single bytes in Shift-JIS: ﾀ is 0xC0.
    EXPECT_EQ(onDisk.mid(6, 1), QByteArray("\xC0"));

    const COMKATA back = read();
    EXPECT_EQ(back.title, written.title);
    EXPECT_EQ(back.year, written.year);
    EXPECT_EQ(back.month, written.month);
    EXPECT_EQ(back.day, written.day);
    EXPECT_EQ(back.comment, written.comment);
}

TEST_F(CommentFileTest, WriteKeepsTheLineStructureWhateverTheFieldsHold)
{
    const COMKATA written{QStringLiteral("two\nlines"), QStringLiteral("2001"), QStringLiteral("5"),
                          QStringLiteral("3"), QStringLiteral("a\nb\r\nc\r\n")};
    ASSERT_EQ(WriteComment(picture, written), 0);
    EXPECT_EQ(readBytes(commentFile()),
              QByteArray("[TI]\r\ntwo lines\r\n[NEN]\r\n2001\r\n[TUKI]\r\n5\r\n[HI]\r\n3\r\n[COM]\r\n"
                         "a\r\nb\r\nc\r\n\r\n"));
    const COMKATA back = read();
    EXPECT_EQ(back.title, QStringLiteral("two lines"));
    EXPECT_EQ(back.comment, QStringLiteral("a\r\nb\r\nc\r\n"));
}

TEST_F(CommentFileTest, WriteWithoutACommentFileNameFails)
{
    EXPECT_EQ(WriteComment(QStringLiteral(".jpg"), COMKATA{}), 1);
}

// A write that runs out of room half-way (the file-size limit stands in for
// a full disk) reports failure and leaves the old comment file as it was.
TEST_F(CommentFileTest, InterruptedWriteLeavesTheOldFileIntact)
{
    writeCommentFile(QStringLiteral("[TI]\r\nold\r\n"));
    const QByteArray before = readBytes(commentFile());

    COMKATA longer;
    longer.title = QStringLiteral("new");
    longer.comment = QString(4096, QLatin1Char('x'));

    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 64;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const int result = WriteComment(picture, longer);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(result, 1);
    EXPECT_EQ(readBytes(commentFile()), before);
    EXPECT_EQ(read().title, QStringLiteral("old"));
    // No half-written temporary file is left beside the pictures.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

}  // namespace

TEST_F(CommentFileTest, RecordedShootingDateComesBeforeTheFileDateButNotBeforeTheFile)
{
    // A copied photograph: its file date is today, its camera recorded 2018/3/9.
    const QString photo = dir.filePath(QStringLiteral("DSC01.JPG"));
    ASSERT_NE(ImgKitJpegFileSave(photo, testpic::solid(8, 6, testpic::kRed), {}, {}, 90, 0), 0);
    testpic::exiftool({"-DateTimeOriginal=2018:03:09 08:07:06", photo});
    COMKATA record;
    ASSERT_EQ(ReadComment(photo, record), 0);
    EXPECT_EQ(record.year + "/" + record.month + "/" + record.day, QStringLiteral("2018/03/09"));
    EXPECT_EQ(BuildCaption(CaptionOptions{1, 0, 1, 0}, 0, nullptr, photo),
              QStringLiteral("DSC01.JPG 2018/03/09"));

    AppSettings settings;
    settings.exifShootingDate = false;
    ApplyPictureOptions(settings);
    ReadComment(photo, record);
    ApplyPictureOptions(AppSettings{});
    EXPECT_EQ(record.year.toInt(), QDate::currentDate().year());

    writeBytes(dir.filePath(QStringLiteral("DSC01.tav")),
               platform::toSjis(QStringLiteral("[NEN]\r\n2001\r\n[TUKI]\r\n5\r\n[HI]\r\n3\r\n")));
    ReadComment(photo, record);
    EXPECT_EQ(record.year + "/" + record.month + "/" + record.day, QStringLiteral("2001/5/3"));
}
