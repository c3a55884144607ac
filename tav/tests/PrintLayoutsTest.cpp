// The multi-image, index, service-size and album commands on the raster printer: 90 x 140 mm
// printable at 10 dots per mm.
#include "tav/catalog/CommentFile.h"
#include "tav/printing/Album.h"
#include "tav/printing/IndexPrint.h"
#include "tav/printing/MultiImage.h"
#include "tav/printing/ServiceSize.h"
#include "tav/tests/BitmapTestPictures.h"
#include "tav/tests/FakePrintHost.h"
#include "tav/tests/PageTestSupport.h"

#include <gtest/gtest.h>

namespace {

class PrintLayoutsTest : public PrintHostTest {
protected:
    void SetUp() override
    {
        PrintHostTest::SetUp();
        host.tabs.checks[QStringLiteral("cb_gaSuKaraPr")] = true;
        host.tabs.texts[QStringLiteral("tx_komaYohaku")] = QStringLiteral("0");
    }
    QRect redOn(int page) const
    {
        return pagetest::boundsOf(host.printer.pages()[page], testpic::rgb(testpic::kRed));
    }
};

TEST_F(PrintLayoutsTest, SevenPicturesAtSixPerPageLeaveOneInTheFirstCellOfPageTwo)
{
    for (int i = 0; i < 7; ++i)
        addPicture(QStringLiteral("p%1.bmp").arg(i), 100, 100);
    host.tabs.lists[QStringLiteral("cb_gaSu")] = 2;  // 6: 2 columns x 3 rows
    PrintMultiImage(host, false);
    EXPECT_EQ(host.printer.documentName(), QStringLiteral("Tav(6koma)"));
    ASSERT_EQ(host.printer.pages().size(), 2);
    // Cells of 450 x 467 dots hold 450 x 450 squares 8.5 dots down: page 1 is
    // full (rows from 58 to 50 + 942.5 + 450), page 2 has the top-left square.
    EXPECT_EQ(redOn(0), QRect(50, 58, 900, 1384));
    EXPECT_EQ(redOn(1), QRect(50, 50 + 8, 450, 450));
    EXPECT_EQ(prompt.messages(), QStringList(QStringLiteral("印刷完了。")));
}

TEST_F(PrintLayoutsTest, ColumnsAndRowsAndTheCellMarginShapeTheGrid)
{
    addPicture(QStringLiteral("a.bmp"), 100, 100);
    host.tabs.checks[QStringLiteral("cb_gaSuKaraPr")] = false;
    host.tabs.checks[QStringLiteral("cb_tateYokoKaraPr")] = true;
    host.tabs.lists[QStringLiteral("suWPr")] = 19;
    host.tabs.lists[QStringLiteral("suHPr")] = 19;
    PrintMultiImage(host, false);
    EXPECT_EQ(host.printer.documentName(), QStringLiteral("Tav(400koma)"));

    // 1 x 2 with 5 mm: the picture keeps at least 10 mm (100 dots) from its cell's sides.
    host.tabs.lists[QStringLiteral("suWPr")] = 0;
    host.tabs.lists[QStringLiteral("suHPr")] = 1;
    host.tabs.texts[QStringLiteral("tx_komaYohaku")] = QStringLiteral("5");
    PrintMultiImage(host, false);
    // Cell 900 x 700, inset 100: a 500 x 500 square 200 across and 100 down.
    EXPECT_EQ(redOn(0), QRect(50 + 200, 50 + 100, 500, 500));

    // A margin that is not a number ends the command without a word.
    prompt.clear();
    host.tabs.texts[QStringLiteral("tx_komaYohaku")] = QStringLiteral("x");
    host.printer.failNextBegin();
    PrintMultiImage(host, false);
    EXPECT_TRUE(prompt.messages().isEmpty());
}

TEST_F(PrintLayoutsTest, IndexGridFollowsThePaperAndTheCaptionLine)
{
    EXPECT_EQ(IndexGridFor(200, 100, 0).columns, 6);
    EXPECT_EQ(IndexGridFor(195, 100, 0).columns, 5);

    addPicture(QStringLiteral("a.bmp"), 100, 100);
    host.app.marginTop = 0;  // margins are never asked about on index pages
    host.tabs.checks[QStringLiteral("ch_fileNameAPS")] = true;
    PrintIndex(host, false);
    // 90 / 36 -> 3 columns, 140 / 24 -> 6 rows: a name alone adds no line.
    EXPECT_EQ(host.printer.documentName(), QStringLiteral("Tav(18koma)"));
    EXPECT_EQ(prompt.messages(), QStringList(QStringLiteral("印刷完了。")));

    // The shooting date needs its line: 9 pt = 3.2 mm, 140 / 27.2 -> 5 rows.
    host.tabs.checks[QStringLiteral("ch_satuDateAPS")] = true;
    PrintIndex(host, false);
    EXPECT_EQ(host.printer.documentName(), QStringLiteral("Tav(15koma)"));
}

}  // namespace

namespace {

TEST(ServiceSizeLayout, TakesTheLayoutOfMoreWholePrintsAndTurnsOnATie)
{
    const PrintLayout a4 = ServiceSizeLayout(210, 297, 81, 120);
    EXPECT_DOUBLE_EQ(a4.across, 210.0 / 81);  // 2 x 2 upright against 1 x 3 turned
    EXPECT_DOUBLE_EQ(a4.down, 297.0 / 120);
    const PrintLayout tie = ServiceSizeLayout(100, 100, 50, 40);
    EXPECT_DOUBLE_EQ(tie.across, 100.0 / 40);  // 2 x 2 either way: turned
    const PrintLayout narrow = ServiceSizeLayout(100, 300, 81, 120);
    EXPECT_DOUBLE_EQ(narrow.across, 100.0 / 81);  // upright: turned, 120 mm would not fit across
    EXPECT_DOUBLE_EQ(narrow.down, 300.0 / 120);
}

TEST_F(PrintLayoutsTest, FourLPrintsFillAnA4PrintableAreaUpright)
{
    // 203 x 290 mm printable at 5 dots per mm: 2 x 2 prints of 88 x 126 mm, each cell exact.
    host.printer.loadPaper(platform::RasterPrinter::paper(127, 210, 297, 3.5));
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp", "d.bmp", "e.bmp"})
        addPicture(QString::fromLatin1(name), 88, 126);
    host.tabs.checks[QStringLiteral("rb_L")] = true;
    host.tabs.checks[QStringLiteral("ch_giseiSV")] = true;
    PrintServiceSize(host, false);
    EXPECT_EQ(host.printer.documentName(), QStringLiteral("Tav(4koma)"));
    ASSERT_EQ(host.printer.pages().size(), 2);
    EXPECT_EQ(redOn(0), QRect(18, 18, 2 * 440, 2 * 630));
}

TEST_F(PrintLayoutsTest, ServiceSizePrintsFillTheirCellOrSayTheyDoNotFit)
{
    addPicture(QStringLiteral("a.bmp"), 300, 200);
    host.tabs.checks[QStringLiteral("rb_sb")] = true;
    host.tabs.checks[QStringLiteral("ch_giseiSV")] = true;
    PrintServiceSize(host, false);
    ASSERT_EQ(host.printer.pages().size(), 1);
    // One upright 81 x 120 mm print, the turned picture cut to fill it to
    // within a dot (the cut keeps whole pixels of the 200 x 300 picture).
    EXPECT_EQ(redOn(0), QRect(50, 51, 810, 1198));

    prompt.clear();
    host.tabs.checks[QStringLiteral("rb_sb")] = false;
    host.tabs.checks[QStringLiteral("rb_4w")] = true;
    PrintServiceSize(host, false);
    EXPECT_EQ(prompt.messages(),
              QStringList(QStringLiteral("現在の用紙には、四つ切りﾜｲﾄﾞ(245X358mm)ｻｲｽﾞで印刷できません。")));
}

TEST_F(PrintLayoutsTest, LandscapePaperIsTurnedUprightForServiceSizes)
{
    host.printer.loadPaper(platform::RasterPrinter::paper(254, 150, 100, 5));
    addPicture(QStringLiteral("a.bmp"), 300, 200);
    PrintServiceSize(host, false);
    EXPECT_EQ(host.printer.caps().physicalWidth, 1000);
    ASSERT_EQ(host.printer.pages().size(), 1);
    EXPECT_EQ(host.printer.pages()[0].size(), QSize(1000, 1500));
}

TEST_F(PrintLayoutsTest, AlbumRowsHoldAPictureAndItsCommentBesideIt)
{
    addPicture(QStringLiteral("a.bmp"), 100, 100);
    addPicture(QStringLiteral("b.bmp"), 100, 100);
    COMKATA record;
    record.comment = QStringLiteral("Summer at the lake");
    ASSERT_EQ(WriteComment(host.selected[0], record), 0);
    host.tabs.texts[QStringLiteral("tx_AL_yohaku")] = QStringLiteral("0");
    PrintAlbum(host, false);
    EXPECT_EQ(host.printer.documentName(), QStringLiteral("Tav(6koma)"));
    ASSERT_EQ(host.printer.pages().size(), 1);
    const QImage& page = host.printer.pages()[0];
    // Row 1 (467 dots high): the picture left, its comment in the right cell
    // level with the picture's top; row 2's comment cell holds a blank.
    const QRect text = pagetest::boundsOfDark(page);
    EXPECT_GE(text.left(), 50 + 450);
    EXPECT_GE(text.top(), redOn(0).top());
    EXPECT_LT(text.bottom(), 50 + 467);
}

}  // namespace
