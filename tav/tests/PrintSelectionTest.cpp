// The one-per-page command and the shared print loop, on the raster printer
// (254 dpi: 10 dots per mm; 100 x 150 mm sheet, 5 mm border) with pictures
// written to a temporary folder.
#include "tav/printing/PrintSelection.h"
#include "platform/RasterPrinter.h"
#include "platform/tests/ScriptedPrompt.h"
#include "tav/core/RunState.h"
#include "tav/printing/OnePerPage.h"
#include "tav/tests/BitmapTestPictures.h"
#include "tav/tests/FakePrintHost.h"
#include "tav/tests/PageTestSupport.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using platform::Answer;
using platform::PromptRecord;
using testpic::kRed;

namespace {

class PrintSelectionTest : public PrintHostTest {};

TEST_F(PrintSelectionTest, PrintsEachPictureOnItsOwnPageAndSkipsUnreadableFiles)
{
    addPicture(QStringLiteral("a.bmp"), 200, 100);
    host.selected << QDir(dir.path()).filePath(QStringLiteral("missing.bmp"));
    addPicture(QStringLiteral("b.bmp"), 100, 200);
    PrintOnePerPage(host, false);
    EXPECT_EQ(host.printer.documentName(), QStringLiteral("Tav(1koma)"));
    ASSERT_TRUE(host.printer.ended());
    EXPECT_EQ(host.printer.pages().size(), 2);
    EXPECT_EQ(prompt.messages(), QStringList(QStringLiteral("印刷完了。")));
    // The unreadable file took no progress step.
    EXPECT_EQ(host.gaugeMaximum, 3);
    EXPECT_TRUE(
        host.status.contains(QStringLiteral("a.bmpを印刷中です。(ESCｷｰまたは、「中止」ﾎﾞﾀﾝで中断できます)")));
    EXPECT_EQ(host.busy, std::vector<bool>({true, false}));
    EXPECT_EQ(host.selectionRefreshes, 1);
    // Whole page: 900 x 450 centred in the 1400-dot high area, the sheet adds the border.
    EXPECT_EQ(pagetest::boundsOf(host.printer.pages()[0], testpic::rgb(kRed)), QRect(50, 50 + 475, 900, 450));
}

TEST_F(PrintSelectionTest, ADocumentTheSpoolerRefusedIsReportedAsAFailure)
{
    addPicture(QStringLiteral("a.bmp"), 200, 100);
    host.printer.failDelivery();
    PrintOnePerPage(host, false);
    EXPECT_EQ(prompt.messages(), QStringList(QStringLiteral("印刷出来ませんでした。")));
}

TEST_F(PrintSelectionTest, APhotoStoredOnItsSidePrintsUpright)
{
    // Stored 200 x 100 with the EXIF orientation "turn clockwise", as phones write portraits.
    QImage stored(200, 100, QImage::Format_RGB32);
    stored.fill(QColor(255, 0, 0));
    const QString path = QDir(dir.path()).filePath(QStringLiteral("phone.png"));
    ASSERT_TRUE(stored.save(path, "PNG"));
    testpic::exiftool({"-Orientation=6", path});
    host.selected << path;
    PrintOnePerPage(host, false);
    ASSERT_EQ(host.printer.pages().size(), 1);
    EXPECT_EQ(pagetest::boundsOf(host.printer.pages()[0], testpic::rgb(kRed)).size(), QSize(700, 1400));
}

TEST_F(PrintSelectionTest, AGivenWidthKeepsProportionsAndSizesLargerThanThePaperAreRefused)
{
    addPicture(QStringLiteral("portrait.bmp"), 100, 200);
    host.tabs.checks[QStringLiteral("ch_size")] = true;
    host.tabs.checks[QStringLiteral("ch_tateYoko")] = true;
    host.tabs.texts[QStringLiteral("tx_w")] = QStringLiteral("60.0");
    host.tabs.texts[QStringLiteral("tx_h")] = QStringLiteral("60.0");
    PrintOnePerPage(host, false);
    ASSERT_EQ(host.printer.pages().size(), 1);
    // 60 mm wide, 120 mm high: taller than the entered height.
    const QRect picture = pagetest::boundsOf(host.printer.pages()[0], testpic::rgb(kRed));
    EXPECT_EQ(picture.size(), QSize(600, 1200));

    prompt.clear();
    host.tabs.texts[QStringLiteral("tx_w")] = QStringLiteral("91");  // printable width is 90 mm
    PrintOnePerPage(host, false);
    EXPECT_EQ(prompt.messages(),
              QStringList(QStringLiteral("指定されたサイズは用紙より大きいため印刷できません。")));

    prompt.clear();
    host.tabs.texts[QStringLiteral("tx_w")] = QStringLiteral("abc");
    PrintOnePerPage(host, false);
    EXPECT_EQ(prompt.messages(),
              QStringList(QStringLiteral("幅と高さには、0より大きい数値(mm)を入力してください。")));
    EXPECT_EQ(host.printer.pages().size(), 1);  // still the first run's page
}

TEST_F(PrintSelectionTest, NoMarginsNeverAsksAndACancelledPrintDialogPrintsNothing)
{
    addPicture(QStringLiteral("a.bmp"), 100, 100);
    host.app.marginTop = 0;
    host.tabs.checks[QStringLiteral("ch_yohakuNasiPr1")] = true;
    PrintOnePerPage(host, false);
    EXPECT_EQ(prompt.messages(), QStringList(QStringLiteral("印刷完了。")));

    prompt.clear();
    host.printerChosen = false;
    host.printer.failNextBegin();  // would fail if a job were started
    PrintOnePerPage(host, false);
    EXPECT_TRUE(prompt.messages().isEmpty());
}

TEST_F(PrintSelectionTest, APreviewStoppedOnPageOneGoesOnWhenTheQuestionIsAnsweredNo)
{
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp"})
        addPicture(QString::fromLatin1(name), 100, 100);
    host.stopOnPage = 1;
    prompt.answer(Answer::No);
    PrintOnePerPage(host, true);
    EXPECT_EQ(host.previews.size(), 3);
    // The stop question, and no completion box after a preview.
    EXPECT_EQ(prompt.messages(), QStringList(QStringLiteral("本当に印刷を中断してよろしいですか？")));
    EXPECT_TRUE(host.printer.pages().isEmpty());
    EXPECT_EQ(host.gauge, 0);
}

TEST_F(PrintSelectionTest, APreviewStoppedOnPageOneAndConfirmedShowsNoMorePages)
{
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp"})
        addPicture(QString::fromLatin1(name), 100, 100);
    host.stopOnPage = 1;
    prompt.answer(Answer::Yes);
    PrintOnePerPage(host, true);
    EXPECT_EQ(host.previews.size(), 1);
    EXPECT_EQ(prompt.messages(), QStringList(QStringLiteral("本当に印刷を中断してよろしいですか？")));
}

TEST_F(PrintSelectionTest, AStopConfirmedWhilePrintingDropsTheDocument)
{
    addPicture(QStringLiteral("a.bmp"), 100, 100);
    addPicture(QStringLiteral("b.bmp"), 100, 100);
    host.waitingInput = [] { AbortRequested = true; };  // ESC during the first file
    prompt.answer(Answer::Yes);
    EXPECT_EQ(PrintSelection(host, {}, {}), BatchResult::Stopped);
    EXPECT_TRUE(host.printer.aborted());
    EXPECT_EQ(prompt.messages(), QStringList({QStringLiteral("本当に印刷を中断してよろしいですか？"),
                                              QStringLiteral("印刷完了。")}));
}

TEST_F(PrintSelectionTest, WhenTheOnlyFileCannotBeLoadedTheJobEndsWithoutABlankSheet)
{
    host.selected << QDir(dir.path()).filePath(QStringLiteral("broken.bmp"));
    QFile broken(host.selected.first());
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("BM not really");
    broken.close();
    PrintOnePerPage(host, false);
    EXPECT_EQ(prompt.messages(), QStringList(QStringLiteral("印刷完了。")));
    EXPECT_TRUE(host.printer.aborted());
    EXPECT_FALSE(host.printer.ended());
}

TEST_F(PrintSelectionTest, RepeatModeFillsAPageWithCopiesAndCommentsTakeTheNextCell)
{
    addPicture(QStringLiteral("a.bmp"), 100, 100);
    PrintSelectionArgs args;
    args.repeatSamePicture = true;
    args.columns = 2;
    args.rows = 2;
    PrintSelection(host, {}, args);
    EXPECT_EQ(host.printer.documentName(), QStringLiteral("Tav(4koma)"));
    ASSERT_EQ(host.printer.pages().size(), 1);
    // Four 450 x 450 copies fill the 900 x 1400 area's 450 x 700 cells.
    EXPECT_EQ(pagetest::boundsOf(host.printer.pages()[0], testpic::rgb(kRed)).width(), 900);

    args.repeatSamePicture = false;
    args.printComments = true;
    args.columns = 1;
    addPicture(QStringLiteral("b.bmp"), 100, 100);
    PrintSelection(host, {}, args);
    // Picture, comment, picture, comment: two pages of a 1 x 2 grid.
    EXPECT_EQ(host.printer.pages().size(), 2);
}

}  // namespace
