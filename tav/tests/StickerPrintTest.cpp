// Sticker sheets on the raster printer: 90 x 140 mm inside the 5 mm margins at 10 dots per mm,
// the image area's corner 50 dots from the sheet's.
#include "tav/printing/StickerPrint.h"

#include "tav/tests/FakePrintHost.h"
#include "tav/tests/PageTestSupport.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace {

using platform::Answer;

constexpr QRgb kRed = qRgb(255, 0, 0);

class StickerPrintTest : public PrintHostTest {
protected:
    void SetUp() override
    {
        PrintHostTest::SetUp();
        width(QStringLiteral("40"));
    }
    void width(const QString& mm) { host.tabs.texts[QStringLiteral("tx_komaHabaMM")] = mm; }
    const QImage& page() const { return host.printer.pages().at(0); }
    bool darkAt(int x, int y) const { return !pagetest::boundsOfDark(page().copy(x, y, 1, 1)).isNull(); }
    bool redAt(int x, int y) const { return pagetest::contains(page().copy(x, y, 1, 1), kRed); }
};

TEST_F(StickerPrintTest, WidthAndMarginsAreCheckedBeforeAnythingPrints)
{
    addPicture(QStringLiteral("a.bmp"), 100, 100);
    host.app.marginLeft = 15;  // 10 mm more than the printer leaves: 80 mm across
    const QString range = QStringLiteral("1コマの幅が不正です。(10～80.0mmの範囲で指定してください。)");
    for (const char* entry : {"9", "81", "1e300"}) {
        width(QString::fromLatin1(entry));
        PrintStickers(host, false);
    }
    width(QStringLiteral("4O"));
    PrintStickers(host, false);
    width(QStringLiteral("40"));
    host.app.marginLeft = 4;  // inside the printer's 5 mm strip
    PrintStickers(host, false);
    EXPECT_EQ(prompt.messages(),
              (QStringList{range, range, range,
                           QStringLiteral("1コマの幅に文字が含まれています。整数に変換できません。"),
                           QStringLiteral("余白が多すぎて、印刷領域が確保出来ません。\n"
                                          "環境設定で余白ｻｲｽﾞを調整して再度印刷してください。")}));
    EXPECT_TRUE(host.printer.pages().isEmpty());

    // The narrowest frame: 9 x 14 squares of 10 mm fill the image area.
    prompt.clear();
    host.app.marginLeft = 5;
    width(QStringLiteral("10.9"));
    PrintStickers(host, false);
    EXPECT_EQ(host.printer.documentName(), QStringLiteral("Tav(a.bmp)"));
    EXPECT_EQ(pagetest::boundsOf(page(), kRed), QRect(50, 50, 900, 1400));
    EXPECT_EQ(prompt.messages(), QStringList(QStringLiteral("印刷完了。")));
    EXPECT_EQ(host.selectionRefreshes, 1);
}

TEST_F(StickerPrintTest, FramesAbutFromTheCornerAndLeaveTheRestBlank)
{
    addPicture(QStringLiteral("a.bmp"), 200, 100);
    host.app.marginTop = 25;  // the image area starts 20 mm lower: 120 mm high
    PrintStickers(host, false);
    ASSERT_EQ(host.printer.pages().size(), 1);
    // 40 x 20 mm frames: 900 / 400 -> 2 across, 1200 / 200 -> 6 down.
    EXPECT_EQ(pagetest::boundsOf(page(), kRed), QRect(50, 250, 800, 1200));
    for (const QPoint seam : {QPoint(449, 300), QPoint(450, 300), QPoint(100, 449), QPoint(100, 450)})
        EXPECT_TRUE(redAt(seam.x(), seam.y())) << seam.x() << "," << seam.y();
}

TEST_F(StickerPrintTest, CuttingMarksCrossEveryFrameCorner)
{
    // 10 mm margins keep every arm printable; 25 x 26 mm frames make a grid
    // of 3 x 5 (80 / 25, 130 / 26) with marks at 4 x 6 corners.
    host.app.marginTop = host.app.marginLeft = host.app.marginBottom = host.app.marginRight = 10;
    addPicture(QStringLiteral("a.bmp"), 250, 260);
    width(QStringLiteral("25"));
    PrintStickers(host, false);
    EXPECT_TRUE(pagetest::boundsOfDark(page()).isNull());

    host.tabs.checks[QStringLiteral("ch_tonbo")] = true;
    PrintStickers(host, false);
    for (int r = 0; r <= 5; ++r) {
        for (int c = 0; c <= 3; ++c) {
            const int x = 100 + c * 250, y = 100 + r * 260;
            EXPECT_TRUE(darkAt(x, y) && darkAt(x - 14, y) && darkAt(x + 14, y) && darkAt(x, y - 14) &&
                        darkAt(x, y + 14))
                << c << "," << r;
        }
    }
    // Arms of 1.5 mm (15 dots, the far end exclusive): nothing further out, and no mark inside a frame.
    EXPECT_EQ(pagetest::boundsOfDark(page()), QRect(QPoint(100 - 15, 100 - 15), QPoint(850 + 14, 1400 + 14)));
    EXPECT_FALSE(darkAt(100 + 125, 100 + 130));
}

TEST_F(StickerPrintTest, FramesAndCrossesShareTheCornersWhenTheBorderIsNoWholeMillimetre)
{
    // 300 dpi with a 3.53 mm (42-dot) border: the 4 mm margins start 5 dots
    // inside the printable area, so the area the frames are counted in and
    // the engine's image area differ.
    host.printer.loadPaper(platform::RasterPrinter::paper(300, 100, 150, 3.53));
    host.app.marginTop = host.app.marginLeft = host.app.marginBottom = host.app.marginRight = 4;
    host.tabs.checks[QStringLiteral("ch_tonbo")] = true;
    addPicture(QStringLiteral("a.bmp"), 300, 200);
    width(QStringLiteral("30"));
    PrintStickers(host, false);
    // Frames of exactly 30 mm (354 dots) by 236 dots, 3 x 7 from the image area's corner.
    const int left = 42 + 5, top = 42 + 5, frameWidth = 354, frameHeight = 236;
    const QRect red = pagetest::boundsOf(page(), kRed);
    EXPECT_EQ(red.topLeft(), QPoint(left, top));
    EXPECT_NEAR(red.width(), 3 * frameWidth, 1);  // picture rectangles are whole tenths of a millimetre
    EXPECT_NEAR(red.height(), 7 * frameHeight, 1);
    for (int r = 0; r <= 7; ++r) {
        for (int c = 0; c <= 3; ++c) {
            // The arms beyond the first row and column fall in the printer's border.
            const int x = left + c * frameWidth, y = top + r * frameHeight;
            EXPECT_TRUE(darkAt(x, y) && (c == 0 || darkAt(x - 17, y)) && darkAt(x + 17, y) &&
                        (r == 0 || darkAt(x, y - 17)) && darkAt(x, y + 17))
                << c << "," << r;
        }
    }
}

TEST_F(StickerPrintTest, IntoAFileEverySheetIsKeptOnAPrinterEachPictureIsAJob)
{
    addPicture(QStringLiteral("a.bmp"), 100, 100);
    addPicture(QStringLiteral("b.bmp"), 200, 100);
    PrintStickers(host, false);
    EXPECT_EQ(host.printer.endedDocuments(),
              (QStringList{QStringLiteral("Tav(a.bmp)"), QStringLiteral("Tav(b.bmp)")}));
    EXPECT_EQ(host.printer.pages().size(), 1);

    host.printer.printIntoFile(true);
    PrintStickers(host, false);
    ASSERT_EQ(host.printer.pages().size(), 2);
    EXPECT_EQ(pagetest::boundsOf(host.printer.pages()[0], kRed), QRect(50, 50, 800, 1200));
    EXPECT_EQ(pagetest::boundsOf(host.printer.pages()[1], kRed), QRect(50, 50, 800, 1400));
    EXPECT_EQ(prompt.messages().last(), QStringLiteral("印刷完了。"));
}

TEST_F(StickerPrintTest, OutputTheSpoolerOrTheFileRefusedIsReportedAsAFailure)
{
    addPicture(QStringLiteral("a.bmp"), 100, 100);
    addPicture(QStringLiteral("b.bmp"), 100, 100);
    host.printer.failDelivery();
    PrintStickers(host, false);
    EXPECT_EQ(prompt.messages(), QStringList(QStringLiteral("印刷出来ませんでした。")));

    prompt.clear();
    host.printer.printIntoFile(true);
    PrintStickers(host, false);
    EXPECT_EQ(prompt.messages(), QStringList(QStringLiteral("印刷出来ませんでした。")));
}

TEST_F(StickerPrintTest, AnOverlayIsLaidOverEveryCopyWhenItsFileExists)
{
    addPicture(QStringLiteral("a.bmp"), 100, 100);
    host.tabs.texts[QStringLiteral("tx_kasane")] = dir.filePath(QStringLiteral("missing.bmp"));
    PrintStickers(host, false);
    EXPECT_EQ(pagetest::boundsOf(page(), kRed), QRect(50, 50, 800, 1200));
    EXPECT_TRUE(pagetest::boundsOfDark(page()).isNull());

    // A black frame around a white window: every copy gets a black border.
    QImage frame(100, 100, QImage::Format_RGB32);
    frame.fill(Qt::black);
    QPainter(&frame).fillRect(10, 10, 80, 80, Qt::white);
    const QString framePath = dir.filePath(QStringLiteral("frame.bmp"));
    ASSERT_TRUE(frame.save(framePath, "BMP"));
    host.tabs.texts[QStringLiteral("tx_kasane")] = framePath;
    PrintStickers(host, false);
    EXPECT_TRUE(darkAt(50 + 10, 50 + 200));  // left border of the first frame
    EXPECT_TRUE(darkAt(50 + 395, 50 + 605));  // corner of a later copy
    EXPECT_TRUE(redAt(50 + 200, 50 + 200));
}

TEST_F(StickerPrintTest, APictureTooTallIsReportedAndTheNextPrints)
{
    addPicture(QStringLiteral("tall.bmp"), 100, 400);  // 160 mm high at 40 mm
    addPicture(QStringLiteral("b.bmp"), 100, 100);
    PrintStickers(host, false);
    EXPECT_EQ(host.printer.documentName(), QStringLiteral("Tav(b.bmp)"));
    EXPECT_EQ(prompt.messages(),
              (QStringList{QStringLiteral("「tall.bmp」は、指定された幅で印刷できません。"),
                           QStringLiteral("印刷完了。")}));
    EXPECT_EQ(host.status.first(), QStringLiteral("tall.bmpを印刷中です。(ESCｷｰで中断できます)"));
    EXPECT_EQ(host.busy, (std::vector<bool>{true, false}));
}

TEST_F(StickerPrintTest, AJobThatCannotStartEndsTheRunWithoutClaimingCompletion)
{
    addPicture(QStringLiteral("a.bmp"), 100, 100);
    addPicture(QStringLiteral("b.bmp"), 100, 100);
    host.printer.failNextBegin();
    PrintStickers(host, false);
    EXPECT_TRUE(host.printer.pages().isEmpty());  // b.bmp was not tried
    EXPECT_EQ(prompt.messages(), QStringList(QStringLiteral("印刷出来ませんでした。")));
    EXPECT_EQ(host.gauge, 0);
}

TEST_F(StickerPrintTest, EachPictureIsPreviewedOnItsOwnAndAStopEndsTheRun)
{
    addPicture(QStringLiteral("a.bmp"), 100, 100);
    addPicture(QStringLiteral("b.bmp"), 100, 100);
    PrintStickers(host, true);
    EXPECT_EQ(host.previews.size(), 2);
    EXPECT_TRUE(prompt.messages().isEmpty());
    EXPECT_TRUE(host.printer.pages().isEmpty());

    host.previews.clear();
    host.stopOnPage = 1;
    prompt.answer(Answer::Yes);
    PrintStickers(host, true);
    EXPECT_EQ(host.previews.size(), 1);
    EXPECT_EQ(prompt.messages(), QStringList(QStringLiteral("本当に印刷を中断してよろしいですか？")));
}

TEST_F(StickerPrintTest, TheOverlayDialogFillsTheBoxUnlessCancelled)
{
    host.tabs.texts[QStringLiteral("tx_kasane")] = QStringLiteral("/old.bmp");
    prompt.answer(std::optional<QString>());
    ChooseOverlayPicture(host.tabs);
    EXPECT_EQ(host.tabs.texts[QStringLiteral("tx_kasane")], QStringLiteral("/old.bmp"));
    prompt.answer(std::optional<QString>(QStringLiteral("/frames/heart.bmp")));
    ChooseOverlayPicture(host.tabs);
    EXPECT_EQ(host.tabs.texts[QStringLiteral("tx_kasane")], QStringLiteral("/frames/heart.bmp"));
    EXPECT_EQ(prompt.shown()[0].caption, QStringLiteral("重ね合せ画像の指定"));
    EXPECT_EQ(prompt.shown()[0].text, QStringLiteral("/old.bmp"));
}

}  // namespace
