#include "tav/core/TextHelpers.h"
#include "tav/core/Fsort.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

std::string str(const QString& s) { return s.toStdString(); }
std::string str(const QStringList& l) { return l.join(QLatin1Char(',')).toStdString(); }

TEST(SplitExtensionTest, ScansThePathBackwardsForTheLastDot)
{
    auto s = SplitExtension(QStringLiteral("D:\\photo.old\\readme"));
    EXPECT_EQ(str(s.extension), "old\\readme");
    EXPECT_EQ(str(s.stem), "D:\\photo");
    s = SplitExtension(QStringLiteral("/p/a.b.JPG"));
    EXPECT_EQ(str(s.extension), "JPG");
    EXPECT_EQ(str(s.stem), "/p/a.b");
    s = SplitExtension(QStringLiteral(".a"));  // two characters or fewer: all stem
    EXPECT_EQ(str(s.extension), "");
    EXPECT_EQ(str(s.stem), ".a");
    s = SplitExtension(QStringLiteral("/p/readme"));
    EXPECT_EQ(str(s.stem), "/p/readme");
    s = SplitExtension(QStringLiteral("abc."));
    EXPECT_EQ(str(s.extension), "");
    EXPECT_EQ(str(s.stem), "abc");
}

TEST(HasInvalidFileNameCharTest, EachForbiddenCharacter)
{
    for (const QChar c : QStringLiteral("\\/:;,*?\"<>|"))
        EXPECT_TRUE(HasInvalidFileNameChar(QStringLiteral("ab") + c + QStringLiteral("cd"))) << c.toLatin1();
    EXPECT_FALSE(HasInvalidFileNameChar(QStringLiteral("写真 2003-01.htm")));
}

TEST(ParseDateTimeTextTest, DatesWithOptionalTime)
{
    EXPECT_EQ(ParseDateTimeText(QStringLiteral("2003/1/5")), QDateTime(QDate(2003, 1, 5), QTime(0, 0)));
    EXPECT_EQ(ParseDateTimeText(QStringLiteral(" 2003/01/05 13:04:09 ")),
              QDateTime(QDate(2003, 1, 5), QTime(13, 4, 9)));
    EXPECT_EQ(ParseDateTimeText(QStringLiteral("1899/12/31 8:05")),
              QDateTime(QDate(1899, 12, 31), QTime(8, 5)));
    for (const char* bad : {"2003/2/30", "2003/13/1", "abc", "", "2003-01-05", "2003/1/5 25:00", "2003/1"})
        EXPECT_FALSE(ParseDateTimeText(QString::fromLatin1(bad)).has_value()) << bad;
}

TEST(FormatDateTimeAnyYearTest, PatternsAndOldYears)
{
    const QDateTime d(QDate(2003, 1, 5), QTime(7, 8, 9));
    EXPECT_EQ(str(FormatDateTimeAnyYear(QStringLiteral("yyyy/mm/dd/hh:nn:ss"), d)), "2003/01/05/07:08:09");
    EXPECT_EQ(str(FormatDateTimeAnyYear(QStringLiteral("mm"), d)), "01");
    EXPECT_EQ(str(FormatDateTimeAnyYear(QStringLiteral("d"), d)), "5");
    EXPECT_EQ(str(FormatDateTimeAnyYear(QStringLiteral("hh:mm"), d)), "07:08");
    const QDateTime old(QDate(1899, 3, 4), QTime(0, 0));
    EXPECT_EQ(str(FormatDateTimeAnyYear(QStringLiteral("yyyy"), old)), "1899");
    EXPECT_EQ(str(FormatDateTimeAnyYear(QStringLiteral("yyyy年mm月"), old)), "1899年03月");
    EXPECT_EQ(str(FormatDateTimeAnyYear(QStringLiteral("yy"), old)), "99");
    EXPECT_EQ(str(FormatDateTimeAnyYear(QStringLiteral("yyyy"), QDateTime(QDate(5, 1, 1), QTime(0, 0)))),
              "   5");
}

TEST(ColorToRgbBytesTest, PlainAndSystemColours)
{
    const RgbBytes plain = ColorToRgbBytes(0x00332211);
    EXPECT_EQ(plain.red, 0x11);
    EXPECT_EQ(plain.green, 0x22);
    EXPECT_EQ(plain.blue, 0x33);
    const RgbBytes window = ColorToRgbBytes(0x80000005);  // the window background: white
    EXPECT_EQ(window.red, 255);
    EXPECT_EQ(window.blue, 255);
}

class SortFileNamesTest : public ::testing::Test {
protected:
    void make(const char* name, const QDateTime& written)
    {
        QFile f(dir.filePath(QString::fromUtf8(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.close();
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(written, QFileDevice::FileModificationTime));
    }
    QTemporaryDir dir;
};

TEST_F(SortFileNamesTest, ByNameIgnoringCaseAndWithoutCommentFiles)
{
    const QStringList names{"b.JPG", "A.jpg", "c.jpg", "A.tav"};
    EXPECT_EQ(str(SortFileNames(true, SortNameAscending, names, dir.path())), "A.jpg,b.JPG,c.jpg");
    EXPECT_EQ(str(SortFileNames(true, SortNameDescending, names, dir.path())), "c.jpg,b.JPG,A.jpg");
    EXPECT_EQ(str(SortFileNames(false, SortNameAscending, names, dir.path())), "A.jpg,A.tav,b.JPG,c.jpg");
    EXPECT_TRUE(SortFileNames(true, SortNameAscending, {}, dir.path()).isEmpty());
}

TEST_F(SortFileNamesTest, ByDateWithTiesByName)
{
    const QDateTime early(QDate(2001, 5, 1), QTime(10, 0));
    const QDateTime late(QDate(2002, 1, 1), QTime(9, 0));
    make("z.jpg", early);
    make("b.jpg", late);
    make("a.jpg", late);
    const QStringList names{"z.jpg", "b.jpg", "a.jpg", "gone.jpg"};
    EXPECT_EQ(str(SortFileNames(true, SortDateAscending, names, dir.path())), "z.jpg,a.jpg,b.jpg");
    EXPECT_EQ(str(SortFileNames(true, SortDateDescending, names, dir.path())), "b.jpg,a.jpg,z.jpg");
}

}  // namespace

TEST(FullPathTest, TheRootTakesNoExtraSeparator)
{
    EXPECT_EQ(fullPath(QStringLiteral("/"), QStringLiteral("a.jpg")).toStdString(), "/a.jpg");
    EXPECT_EQ(fullPath(QStringLiteral("/p/q"), QStringLiteral("a.jpg")).toStdString(), "/p/q/a.jpg");
}
