// Thumbnail sheets: the cells, margins and shadows on the sheet, numbering
// across sheets, the preview, the backing picture and failed writes.
#include "tav/catalog/ThumbnailSheets.h"
#include "imgkit/ImgKit.h"
#include "tav/catalog/sumNe.h"
#include "tav/tests/FakePrintHost.h"

#include <QFile>
#include <cstring>
#include <gtest/gtest.h>

namespace {

constexpr QRgb kRed = 0xFFFF0000;
constexpr QRgb kBlue = 0xFF0000FF;
constexpr QRgb kWhite = 0xFFFFFFFF;

class ThumbnailSheetsTest : public PrintHostTest {
protected:
    void SetUp() override
    {
        PrintHostTest::SetUp();
        stem = QDir(dir.path()).filePath(QStringLiteral("sheet"));
        host.tabs.texts[QStringLiteral("suOutPath")] = stem + QStringLiteral(".jpg");
        host.tabs.texts[QStringLiteral("suYohaku")] = QStringLiteral("0");
        host.tabs.lists[QStringLiteral("suType")] = 0;  // BMP
        host.tabs.swatches[QStringLiteral("suKageCol")] = 0xFF0000;  // blue as 0x00BBGGRR
    }

    // Sheet width and height by their list entries, columns and rows.
    void chooseGrid(int widthIndex, int heightIndex, int columns, int rows)
    {
        host.tabs.lists[QStringLiteral("suSizeW")] = widthIndex;
        host.tabs.lists[QStringLiteral("suSizeH")] = heightIndex;
        host.tabs.lists[QStringLiteral("suW")] = columns - 1;
        host.tabs.lists[QStringLiteral("suH")] = rows - 1;
    }

    void addPictures(int count, int width, int height)
    {
        for (int i = 0; i < count; ++i)
            addPicture(QStringLiteral("p%1.bmp").arg(i), width, height);
    }

    QImage sheetFile(const QString& name) const
    {
        return QImage(QDir(dir.path()).filePath(name)).convertToFormat(QImage::Format_RGB32);
    }

    QString stem;
};

TEST_F(ThumbnailSheetsTest, PictureFillsItsCellAndTheShadowTakesFourPixelsEachSide)
{
    chooseGrid(0, 0, 1, 1);  // 320 x 240, one cell
    addPictures(1, 640, 480);
    MakeThumbnailSheets(host, true);
    host.tabs.checks[QStringLiteral("suKage")] = true;
    MakeThumbnailSheets(host, true);
    ASSERT_EQ(host.previews.size(), 2);
    EXPECT_TRUE(prompt.messages().isEmpty());  // a preview shows no "完了。"

    const QImage plain = host.previews[0];
    ASSERT_EQ(plain.size(), QSize(320, 240));
    EXPECT_EQ(plain.pixel(0, 0), kRed);
    EXPECT_EQ(plain.pixel(319, 239), kRed);

    // 309 x 232 at (5.5, 4) drawn from (5, 4); the shadow from (9, 8) to (318, 240).
    const QImage shaded = host.previews[1];
    EXPECT_EQ(shaded.pixel(4, 4), kWhite);
    EXPECT_EQ(shaded.pixel(5, 4), kRed);
    EXPECT_EQ(shaded.pixel(313, 235), kRed);
    EXPECT_EQ(shaded.pixel(314, 235), kBlue);
    EXPECT_EQ(shaded.pixel(317, 239), kBlue);
    EXPECT_EQ(shaded.pixel(318, 100), kWhite);
    EXPECT_EQ(shaded.pixel(314, 7), kWhite);
    EXPECT_EQ(shaded.pixel(314, 8), kBlue);
}

TEST_F(ThumbnailSheetsTest, MarginShrinksSmallPicturesIntoEveryCellAndThePreviewShowsEachSheet)
{
    chooseGrid(0, 0, 2, 1);  // 320 x 240: cells of 160 x 240
    host.tabs.texts[QStringLiteral("suYohaku")] = QStringLiteral("20");
    addPictures(3, 10, 10);  // enlarged to 120 x 120, centred at (20, 60)
    MakeThumbnailSheets(host, true);
    ASSERT_EQ(host.previews.size(), 2);
    const QImage first = host.previews[0];
    for (const int x0 : {0, 160}) {
        EXPECT_EQ(first.pixel(x0 + 19, 60), kWhite);
        EXPECT_EQ(first.pixel(x0 + 20, 60), kRed);
        EXPECT_EQ(first.pixel(x0 + 139, 179), kRed);
        EXPECT_EQ(first.pixel(x0 + 140, 179), kWhite);
        EXPECT_EQ(first.pixel(x0 + 139, 180), kWhite);
    }
    // The second sheet holds the third picture only.
    EXPECT_EQ(host.previews[1].pixel(20, 60), kRed);
    EXPECT_EQ(host.previews[1].pixel(180, 60), kWhite);
    EXPECT_FALSE(QFileInfo::exists(stem + QStringLiteral("001.bmp")));
}

TEST_F(ThumbnailSheetsTest, SheetsAreNumberedAndTheLastOneIsWrittenByTheFinish)
{
    chooseGrid(0, 0, 3, 2);
    addPictures(10, 40, 30);
    MakeThumbnailSheets(host, false);
    EXPECT_EQ(host.tabs.texts[QStringLiteral("suOutPath")], stem);  // the extension leaves the box
    EXPECT_EQ(prompt.messages(), QStringList(QStringLiteral("完了。")));
    EXPECT_EQ(host.status.first(), QStringLiteral("p0.bmpのｻﾑﾈｲﾙを作成中です。(ESCｷｰで中断できます)"));
    EXPECT_EQ(host.folderRefreshes, 1);
    const QImage second = sheetFile(QStringLiteral("sheet002.bmp"));
    ASSERT_EQ(second.size(), QSize(320, 240));
    EXPECT_FALSE(sheetFile(QStringLiteral("sheet001.bmp")).isNull());
    EXPECT_FALSE(QFileInfo::exists(stem + QStringLiteral("003.bmp")));
    // Cells of 107 x 120: four pictures, then two blank cells.
    EXPECT_EQ(second.pixel(53, 60), kRed);
    EXPECT_EQ(second.pixel(53, 180), kRed);
    EXPECT_EQ(second.pixel(160, 180), kWhite);
    EXPECT_EQ(second.pixel(267, 180), kWhite);

    // Six pictures fill one sheet exactly; JPG now, and the files open elsewhere too.
    QDir(dir.path()).remove(QStringLiteral("sheet002.bmp"));
    host.selected = host.selected.mid(0, 6);
    host.tabs.lists[QStringLiteral("suType")] = 1;
    prompt.clear();
    MakeThumbnailSheets(host, false);
    EXPECT_EQ(prompt.messages(), QStringList(QStringLiteral("完了。")));
    EXPECT_FALSE(QImage(stem + QStringLiteral("001.jpg")).isNull());
    EXPECT_FALSE(QFileInfo::exists(stem + QStringLiteral("002.jpg")));
    EXPECT_EQ(QDir(dir.path())
                  .entryList({QStringLiteral("*.tmp"), QStringLiteral(".*tmp*")}, QDir::Files | QDir::Hidden),
              QStringList());
}

TEST_F(ThumbnailSheetsTest, ExistingSheetsAreReplacedOnlyWhenTheUserAgreesAndFailedWritesAreListed)
{
    chooseGrid(0, 0, 1, 1);
    addPictures(2, 40, 30);
    QFile kept(stem + QStringLiteral("002.bmp"));
    ASSERT_TRUE(kept.open(QIODevice::WriteOnly));
    kept.write("mine");
    kept.close();
    prompt.answer(platform::Answer::No);
    MakeThumbnailSheets(host, false);
    EXPECT_EQ(prompt.messages(),
              QStringList(QStringLiteral("ｻﾑﾈｲﾙﾌｧｲﾙ「sheet002.bmp」は存在します. 上書してよろしいですか?")));
    EXPECT_EQ(QFileInfo(kept).size(), 4);
    EXPECT_FALSE(QFileInfo::exists(stem + QStringLiteral("001.bmp")));

    // A folder in the way of the first sheet: that one fails, the second is written.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("sheet001.bmp")));
    prompt.clear();
    prompt.answer(platform::Answer::Yes);
    MakeThumbnailSheets(host, false);
    EXPECT_EQ(
        prompt.messages(),
        QStringList({QStringLiteral("ｻﾑﾈｲﾙﾌｧｲﾙ「sheet001.bmp」ほか1個は存在します. 上書してよろしいですか?"),
                     QStringLiteral("ｻﾑﾈｲﾙﾌｧｲﾙを保存できませんでした：\nsheet001.bmp")}));
    EXPECT_EQ(sheetFile(QStringLiteral("sheet002.bmp")).pixel(160, 120), kRed);
}

TEST_F(ThumbnailSheetsTest, TabChecksComeBeforeTheRunAndUnreadablePicturesAreSkipped)
{
    host.tabs.texts[QStringLiteral("suOutPath")] = QDir(dir.path()).filePath(QStringLiteral("no/sheet"));
    MakeThumbnailSheets(host, false);
    host.tabs.texts[QStringLiteral("suOutPath")] = stem;
    host.tabs.texts[QStringLiteral("suDaishi")] = QDir(dir.path()).filePath(QStringLiteral("none.bmp"));
    MakeThumbnailSheets(host, false);
    host.tabs.texts[QStringLiteral("suDaishi")].clear();
    MakeThumbnailSheets(host, false);
    EXPECT_EQ(prompt.messages(), QStringList({QStringLiteral("結果を格納するﾌｫﾙﾀﾞが存在しません。"),
                                              QStringLiteral("台紙ﾌｧｲﾙが存在しません。"),
                                              QStringLiteral("ﾌｧｲﾙが選択されていません。")}));

    chooseGrid(0, 0, 2, 1);
    QFile broken(QDir(dir.path()).filePath(QStringLiteral("broken.bmp")));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("BM not a picture");
    broken.close();
    host.selected << broken.fileName();
    addPictures(1, 40, 30);
    MakeThumbnailSheets(host, true);
    ASSERT_EQ(host.previews.size(), 1);
    EXPECT_EQ(host.previews[0].pixel(80, 120), kRed);  // the good picture takes the first cell
    EXPECT_EQ(host.previews[0].pixel(240, 120), kWhite);
}

TEST(SheetBuilderTest, BackingPictureIsStretchedOverTheWholeSheetNotTiled)
{
    AppSettings settings;
    QList<QImage> shown;
    TsumNe sheets({&settings, [&shown](const QImage& sheet, double&) {
                       shown << sheet;
                       return true;
                   }});
    // Left half black, right half blue, 2 x 1 pixels.
    sheets.background = imgkit::DibHandle::create(2, 1, 24);
    std::memset(sheets.background.row(0), 0, 3);
    const std::uint8_t blue[3] = {255, 0, 0};
    std::memcpy(sheets.background.row(0) + 3, blue, 3);
    EXPECT_EQ(sheets.AddPicture(sheets.background, 2, {}, 1, 1), 9);  // not open yet
    sheets.BeginSheets({}, 0, 100, 200, true, SheetFormat::Bmp, 1, 1);
    sheets.FinishSheets();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0].size(), QSize(200, 100));
    for (const int y : {0, 50, 99}) {
        EXPECT_EQ(shown[0].pixelColor(5, y).rgb(), 0xFF000000);
        EXPECT_EQ(shown[0].pixelColor(194, y).rgb(), kBlue);
    }
}

}  // namespace
