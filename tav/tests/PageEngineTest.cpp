// The page engine on the raster printer double: 254 dpi, so that one
// millimetre is exactly 10 dots, on a 100 x 150 mm sheet with a 5 mm border
// the printer cannot reach.
#include "platform/RasterPrinter.h"
#include "platform/tests/ScriptedPrompt.h"
#include "tav/core/RunState.h"
#include "tav/printing/mg_pr.h"
#include "tav/tests/BitmapTestPictures.h"
#include "tav/tests/PageTestSupport.h"

#include <gtest/gtest.h>

using platform::Answer;
using platform::RasterPrinter;
using testpic::kBlue;
using testpic::kRed;

namespace {

class PageEngineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        PreviewMode = false;
        AbortRequested = false;
        settings.marginTop = settings.marginLeft = settings.marginBottom = settings.marginRight = 5;
    }

    PrintJobEnvironment environment()
    {
        PrintJobEnvironment env;
        env.settings = &settings;
        env.printer = &printer;
        env.folder = QStringLiteral("/photos/2026");
        env.showPreviewPage = [this](const QImage& page, double&) {
            previews.append(page);
            return true;
        };
        return env;
    }

    bool begin(Tmg_PR& engine, double columns = 1, double rows = 1, bool header = false, bool footer = false,
               bool cut = false)
    {
        return engine.BeginJob(QStringLiteral("Tav(1koma)"), 0, columns, rows, false, 0, 0, true, header,
                               footer, cut);
    }

    AppSettings settings;
    RasterPrinter printer{RasterPrinter::paper(254, 100, 150, 5)};
    platform::ScriptedPrompt prompt;
    QList<QImage> previews;
};

TEST_F(PageEngineTest, MarginsAtThePrinterMinimumMakeTheImageAreaThePrintableArea)
{
    Tmg_PR engine(environment());
    ASSERT_TRUE(begin(engine));
    const PageGeometry& g = engine.geometry();
    EXPECT_EQ(g.top, 0);
    EXPECT_EQ(g.left, 0);
    EXPECT_EQ(g.bottom, 0);
    EXPECT_EQ(g.right, 0);
    EXPECT_EQ(g.imageAreaWidth, 900);
    EXPECT_EQ(g.imageAreaHeight, 1400);
    EXPECT_TRUE(prompt.shown().empty());
    EXPECT_EQ(printer.documentName(), QStringLiteral("Tav(1koma)"));

    // 12 mm at the top: 120 dots from the sheet edge, 70 below the printable edge.
    settings.marginTop = 12;
    settings.marginBottom = 8;
    Tmg_PR second(environment());
    engine.EndJob();
    ASSERT_TRUE(begin(second));
    EXPECT_EQ(second.geometry().top, 70);
    EXPECT_EQ(second.geometry().bottom, 30);
    EXPECT_EQ(second.geometry().imageAreaHeight, 1400 - 70 - 30);
}

TEST_F(PageEngineTest, MarginQuestionsComeTopLeftBottomRightAndDecliningOneStartsNothing)
{
    settings.marginTop = settings.marginLeft = settings.marginBottom = settings.marginRight = 0;
    for (int i = 0; i < 4; ++i)
        prompt.answer(Answer::Yes);
    Tmg_PR engine(environment());
    ASSERT_TRUE(begin(engine));
    EXPECT_EQ(
        prompt.texts(),
        QStringList({QStringLiteral("上余白がﾌﾟﾘﾝﾀ設定可能な値より小さいです。自動調整して続行しますか？"),
                     QStringLiteral("左余白がﾌﾟﾘﾝﾀ設定可能な値より小さいです。自動調整して続行しますか？"),
                     QStringLiteral("下余白がﾌﾟﾘﾝﾀ設定可能な値より小さいです。自動調整して続行しますか？"),
                     QStringLiteral("右余白がﾌﾟﾘﾝﾀ設定可能な値より小さいです。自動調整して続行しますか？")}));
    EXPECT_EQ(engine.geometry().imageAreaWidth, 900);
    EXPECT_EQ(engine.geometry().imageAreaHeight, 1400);
    engine.EndJob();

    platform::ScriptedPrompt declining;
    declining.answer(Answer::Yes);
    declining.answer(Answer::Abort);
    Tmg_PR refused(environment());
    EXPECT_FALSE(begin(refused));
    EXPECT_EQ(declining.texts().size(), 2);
    EXPECT_EQ(refused.PutCell(nullptr, 0, 0, false, {}, QStringLiteral("x")), 9);
    EXPECT_FALSE(refused.EndJob());
}

TEST_F(PageEngineTest, BandHeightsFollowTheFontsAndTheSeparatorLines)
{
    // A header line counts even with the header off: 1.0 mm = 10 dots.
    settings.headerLine = true;
    settings.headerLineSize = 3;
    Tmg_PR lined(environment());
    ASSERT_TRUE(begin(lined, 1, 1, false, true));
    EXPECT_EQ(lined.geometry().headerHeight, 10);
    EXPECT_EQ(lined.geometry().imageAreaTop, 10);
    // A footer of three empty bands and no line takes no room.
    EXPECT_EQ(lined.geometry().footerHeight, 0);
    lined.EndJob();

    // 20 pt = 7.06 mm = 71 dots for the largest band that prints something.
    settings.headerLine = false;
    settings.header[0] = {platform::FontSpec{QStringLiteral("ＭＳ Ｐゴシック"), 30, 0, 0}, 0};
    settings.header[2] = {platform::FontSpec{QStringLiteral("ＭＳ Ｐゴシック"), 20, 0, 0}, 2};
    Tmg_PR banded(environment());
    EXPECT_EQ(banded.MaxBandFontSize(false), 20);
    ASSERT_TRUE(begin(banded, 1, 1, true, false));
    EXPECT_EQ(banded.geometry().headerHeight, 71);
}

TEST_F(PageEngineTest, SizeChecksRefuseTheJobWithTheirMessages)
{
    Tmg_PR tooLarge(environment());
    tooLarge.requestedWidthMm = 95;
    tooLarge.requestedHeightMm = 50;
    EXPECT_FALSE(begin(tooLarge));
    EXPECT_EQ(prompt.texts(),
              QStringList(QStringLiteral("現在の用紙には、指定されたｻｲｽﾞで印刷できません。")));

    settings.marginTop = settings.marginBottom = 66;  // 150 - 132 = 18 mm left over
    Tmg_PR cramped(environment());
    EXPECT_FALSE(begin(cramped));
    EXPECT_TRUE(prompt.texts().last().startsWith(QStringLiteral("余白または、ﾍｯﾀﾞｰ/ﾌｯﾀｰのｻｲｽﾞが大きいため")));
    EXPECT_TRUE(printer.pages().isEmpty());
}

TEST_F(PageEngineTest, OneColumnTwoRowsFillsTopThenBottomAndTheThirdStartsPageTwo)
{
    const imgkit::DibHandle red = testpic::solid(300, 200, kRed);
    const imgkit::DibHandle blue = testpic::solid(300, 200, kBlue);
    Tmg_PR engine(environment());
    ASSERT_TRUE(begin(engine, 1, 2));
    EXPECT_EQ(engine.geometry().cellHeight, 700);
    engine.PutCell(&red, 300, 200, true, {}, {});
    engine.PutCell(&blue, 300, 200, true, {}, {});
    engine.PutCell(&red, 300, 200, true, {}, {});
    ASSERT_TRUE(engine.EndJob());
    ASSERT_TRUE(printer.ended());
    ASSERT_EQ(printer.pages().size(), 2);
    // 900 wide cell: the picture is 900 x 600, centred in its 700-dot row;
    // the sheet adds the 50-dot border.
    EXPECT_EQ(pagetest::boundsOf(printer.pages()[0], testpic::rgb(kRed)), QRect(50, 50 + 50, 900, 600));
    EXPECT_EQ(pagetest::boundsOf(printer.pages()[0], testpic::rgb(kBlue)), QRect(50, 50 + 750, 900, 600));
    EXPECT_EQ(pagetest::boundsOf(printer.pages()[1], testpic::rgb(kRed)), QRect(50, 50 + 50, 900, 600));
}

TEST_F(PageEngineTest, AnExactlyFullLastPageEndsWithoutABlankPage)
{
    settings.footer[1] = {platform::FontSpec{QStringLiteral("ＭＳ Ｐゴシック"), 12, 0, 0}, 1};
    const imgkit::DibHandle red = testpic::solid(300, 200, kRed);
    PreviewMode = true;
    Tmg_PR engine(environment());
    ASSERT_TRUE(begin(engine, 1, 2, false, true));
    // Preview pages are sheets at screen resolution: lengths from the sheet's edges.
    const double screen = ScreenDotsPerMm;
    EXPECT_EQ(engine.geometry().physicalWidth, int(1000 / 10.0 * screen));
    EXPECT_EQ(engine.geometry().imageAreaLeft, int(50 / 10.0 * screen));
    EXPECT_EQ(engine.geometry().imageAreaWidth, int(900 / 10.0 * screen));
    for (int i = 0; i < 4; ++i)
        engine.PutCell(&red, 300, 200, true, {}, {});
    engine.EndJob();
    ASSERT_EQ(previews.size(), 2);
    EXPECT_EQ(engine.previewPageNumber(), 3);
    // Each page has its footer ("-1-", "-2-") drawn once, below the image area.
    for (const QImage& page : previews) {
        const QRect ink = pagetest::boundsOfDark(page);
        EXPECT_GT(ink.top(), engine.geometry().imageAreaTop + engine.geometry().imageAreaHeight - 1);
    }
}

TEST_F(PageEngineTest, AFinerPreviewPageKeepsItsLayoutAtTwiceThePixels)
{
    const imgkit::DibHandle red = testpic::solid(300, 200, kRed);
    PreviewMode = true;
    for (const double scale : {1.0, 2.0}) {
        PrintJobEnvironment env = environment();
        env.previewScale = scale;
        Tmg_PR engine(env);
        ASSERT_TRUE(begin(engine));
        engine.PutCell(&red, 300, 200, true, {}, {});
        engine.EndJob();
    }
    ASSERT_EQ(previews.size(), 2);
    EXPECT_EQ(previews[1].size(), previews[0].size() * 2);
    EXPECT_EQ(previews[1].devicePixelRatio(), 2.0);
    const QRect coarse = pagetest::boundsOf(previews[0], testpic::rgb(kRed));
    const QRect fine = pagetest::boundsOf(previews[1], testpic::rgb(kRed));
    EXPECT_EQ(fine.topLeft(), coarse.topLeft() * 2);
    EXPECT_NEAR(fine.width(), coarse.width() * 2, 1);
}

TEST_F(PageEngineTest, FractionalColumnsGiveCellsOfExactPhysicalSize)
{
    const imgkit::DibHandle red = testpic::solid(100, 100, kRed);
    Tmg_PR engine(environment());
    ASSERT_TRUE(begin(engine, 2.6, 1));
    EXPECT_EQ(engine.geometry().columns, 2);
    EXPECT_EQ(engine.geometry().cellWidth, 346);  // trunc(900 / 2.6 + 0.5)
    engine.PutCell(&red, 100, 100, true, {}, {});
    engine.PutCell(&red, 100, 100, true, {}, {});
    engine.EndJob();
    ASSERT_EQ(printer.pages().size(), 1);
    // Two squares of 346 side by side; the rest of the row stays white.
    EXPECT_EQ(pagetest::boundsOf(printer.pages()[0], testpic::rgb(kRed)).width(), 2 * 346);
}

TEST_F(PageEngineTest, AutoRotateTurnsASquarePictureAndCutToFillKeepsTheCentre)
{
    // Left half red, right half blue: turned a quarter clockwise, red is on top.
    imgkit::DibHandle halves = testpic::solid(100, 100, kBlue);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 50; ++x)
            std::memcpy(halves.row(y) + x * 3, &kRed, 3);
    settings.marginTop = 25;  // square image area: 900 x 900
    settings.marginBottom = 35;
    Tmg_PR engine(environment());
    engine.autoRotate = true;
    ASSERT_TRUE(begin(engine));
    ASSERT_EQ(engine.geometry().imageAreaHeight, 900);
    engine.PutCell(&halves, 100, 100, true, {}, {});
    engine.EndJob();
    const QImage& page = printer.pages()[0];
    const QRect top = pagetest::boundsOf(page, testpic::rgb(kRed));
    EXPECT_EQ(top.topLeft(), QPoint(50, 250));
    EXPECT_EQ(top.width(), 900);
    EXPECT_NEAR(top.height(), 450, 5);  // the red and blue halves blend where they meet
    EXPECT_EQ(testpic::pixel(halves, 10, 10).r, 255);  // the caller's picture is untouched

    // A 300 x 100 picture cut to the square cell keeps its middle 100 x 100.
    imgkit::DibHandle wide = testpic::solid(300, 100, kBlue);
    for (int y = 0; y < 100; ++y)
        for (int x = 100; x < 200; ++x)
            std::memcpy(wide.row(y) + x * 3, &kRed, 3);
    Tmg_PR cutting(environment());
    ASSERT_TRUE(begin(cutting, 1, 1, false, false, true));
    cutting.PutCell(&wide, 300, 100, true, {}, {});
    cutting.EndJob();
    const QRect red = pagetest::boundsOf(printer.pages()[0], testpic::rgb(kRed));
    EXPECT_NEAR(red.width(), 900, 9);
    EXPECT_FALSE(pagetest::contains(printer.pages()[0], testpic::rgb(kBlue)));
}

TEST_F(PageEngineTest, ACaptionWiderThanTheCellIsShrunkToTheCellWidth)
{
    settings.fileNameFont = platform::FontSpec{QStringLiteral("ＭＳ Ｐゴシック"), 40, 0, 0};
    const imgkit::DibHandle red = testpic::solid(100, 100, kRed);
    Tmg_PR engine(environment());
    ASSERT_TRUE(begin(engine, 3, 3));
    const QString caption = QStringLiteral("a-rather-long-file-name-for-a-cell.jpg");
    engine.PutCell(&red, 100, 100, true, caption, {});
    engine.EndJob();
    const QImage& page = printer.pages()[0];
    const QRect picture = pagetest::boundsOf(page, testpic::rgb(kRed));
    const QRect text = pagetest::boundsOfDark(page);
    EXPECT_LE(text.width(), engine.geometry().cellWidth);
    EXPECT_GE(text.top(), picture.bottom());  // under the picture, touching it
    EXPECT_LE(text.top(), picture.bottom() + 10);
}

TEST_F(PageEngineTest, ACaptionKeepsALegibleSizeAndLosesItsMiddleInstead)
{
    const imgkit::DibHandle red = testpic::solid(100, 100, kRed);
    Tmg_PR engine(environment());
    ASSERT_TRUE(begin(engine, 9, 9));  // cells of 10 mm: 9 pt would shrink to 1 pt
    engine.PutCell(&red, 100, 100, true, QStringLiteral("a-rather-long-file-name-for-a-small-cell.jpg"), {});
    engine.EndJob();
    const QRect text = pagetest::boundsOfDark(printer.pages()[0]);
    EXPECT_LE(text.width(), engine.geometry().cellWidth);
    EXPECT_GE(text.height(), 10);  // 5 pt is 17.6 dots; its letters stand well over 10
}

}  // namespace
