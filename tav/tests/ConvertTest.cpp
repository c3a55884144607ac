// Batch conversion of the selected pictures into BMP, JPG and TIF files.
#include "tav/catalog/Convert.h"
#include "imgkit/ImgKit.h"
#include "tav/core/spath.h"
#include "tav/imaging/ImageResize.h"
#include "tav/tests/BitmapTestPictures.h"
#include "tav/tests/FakePrintHost.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

class ConvertTest : public PrintHostTest {
protected:
    void SetUp() override
    {
        PrintHostTest::SetUp();
        ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("out")));
        out = QDir(dir.path()).filePath(QStringLiteral("out"));
        host.tabs.checks[QStringLiteral("rb_bmp")] = true;
        host.tabs.checks[QStringLiteral("cb_tateYokoHi")] = true;
        host.tabs.texts[QStringLiteral("ed_jpg_comp")] = QStringLiteral("60");
        host.tabs.texts[QStringLiteral("tx_outW")] = QStringLiteral("320");
        host.tabs.texts[QStringLiteral("tx_outH")] = QStringLiteral("240");
        host.tabs.texts[QStringLiteral("tx_out_path")] = out;
    }

    void chooseTiff(int compression)
    {
        host.tabs.checks[QStringLiteral("rb_bmp")] = false;
        host.tabs.checks[QStringLiteral("rb_tif")] = true;
        host.tabs.lists[QStringLiteral("cb_tif_comp")] = compression;
    }

    // Width, height and colour code of a written file; all 0 when it cannot be read.
    ImageInfo written(const QString& name) const
    {
        ImageInfo info;
        const imgkit::DibHandle dib = ImgKitFileLoad(QDir(out).filePath(name), {}, {});
        if (dib)
            ImgKitImageInfo(dib, &info);
        return info;
    }

    QString out;
};

TEST(ConvertedSizeTest, ProportionsScaleByTheSmallerRatioOrAreDropped)
{
    EXPECT_EQ(ConvertedSize(1000, 500, 320, 240, true), QSize(320, 160));
    EXPECT_EQ(ConvertedSize(1000, 500, 320, 240, false), QSize(320, 240));
    EXPECT_EQ(ConvertedSize(100, 100, 320, 240, true), QSize(240, 240));  // enlarged
    EXPECT_EQ(ConvertedSize(3, 2, 100, 100, true), QSize(100, 67));  // 66.67 rounds up
    EXPECT_EQ(ConvertedSize(10000, 1, 320, 240, true), QSize(320, 1));  // never 0 pixels
}

TEST_F(ConvertTest, ResizedPictureIsWrittenAndTheTrailingSeparatorLeavesTheBox)
{
    addPicture(QStringLiteral("wide.jpg.bmp"), 1000, 500);
    addPicture(QStringLiteral("square.bmp"), 100, 100);
    host.tabs.checks[QStringLiteral("cb_size")] = true;
    host.tabs.texts[QStringLiteral("tx_out_path")] = out + QLatin1Char('/');
    ConvertSelection(host);

    EXPECT_EQ(host.tabs.texts[QStringLiteral("tx_out_path")], out);
    const ImageInfo wide = written(QStringLiteral("wide.jpg.bmp"));  // the stem ends at the last "."
    EXPECT_EQ(QSize(wide.width, wide.height), QSize(320, 160));
    const ImageInfo square = written(QStringLiteral("square.bmp"));
    EXPECT_EQ(QSize(square.width, square.height), QSize(240, 240));
    EXPECT_EQ(host.status.first(), QStringLiteral("wide.jpg.bmpを変換中です。(ESCｷｰで中断できます)"));
    EXPECT_EQ(host.gaugeMaximum, 2);
    EXPECT_EQ(prompt.messages(), QStringList(QStringLiteral("変換完了。")));
    EXPECT_EQ(host.selectionRefreshes, 1);
    // Nothing but the two results is left in the folder.
    EXPECT_EQ(QDir(out).entryList(QDir::Files | QDir::Hidden).size(), 2);

    // The root folder keeps its only separator.
    host.tabs.texts[QStringLiteral("tx_out_path")] = QStringLiteral("/");
    host.selected.clear();
    ConvertSelection(host);
    EXPECT_EQ(host.tabs.texts[QStringLiteral("tx_out_path")], QStringLiteral("/"));
}

// A JPEG made smaller is decoded at a fraction of its size and looks like the
// whole picture reduced; with the high-quality switch it is the whole
// picture resampled, to the byte.
TEST_F(ConvertTest, ResizedJpegLooksLikeTheWholeReducedAndTheHighQualitySwitchKeepsItExact)
{
    QImage gradient(800, 600, QImage::Format_RGB32);
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x)
            gradient.setPixel(x, y, qRgb(x * 255 / 799, y * 255 / 599, (x + y) % 256));
    const QString photo = QDir(dir.path()).filePath(QStringLiteral("photo.jpg"));
    ASSERT_TRUE(gradient.save(photo, "JPG", 95));
    host.selected << photo;
    host.tabs.checks[QStringLiteral("cb_size")] = true;
    const imgkit::DibHandle whole = ImgKitFileLoad(photo, {}, {});
    const QString target = QDir(out).filePath(QStringLiteral("photo.bmp"));
    for (const bool highQuality : {false, true}) {
        host.app.highQualityScaling = highQuality;
        ConvertSelection(host);
        const imgkit::DibHandle written = ImgKitFileLoad(target, {}, {});
        ASSERT_TRUE(written);
        ASSERT_EQ(QSize(written.width(), written.height()), QSize(320, 240));
        const imgkit::DibHandle expected = ResizeImage(whole, {}, {}, 320, 240, highQuality);
        double difference = 0;
        for (int y = 0; y < 240; ++y)
            for (int x = 0; x < 320 * 3; ++x)
                difference += std::abs(written.row(y)[x] - expected.row(y)[x]);
        difference /= 320 * 240 * 3;
        if (highQuality)
            EXPECT_EQ(difference, 0);
        else
            EXPECT_LT(difference, 2.0);
    }
}

TEST_F(ConvertTest, PortraitPhotoIsWrittenUprightKeepingItsExifAndGpsByTheSwitch)
{
    const QString photo = QDir(dir.path()).filePath(QStringLiteral("phone.jpg"));
    ASSERT_NE(ImgKitJpegFileSave(photo, testpic::solid(60, 40, testpic::kRed), {}, {}, 90, 0), 0);
    using testpic::exiftool;
    exiftool({"-Orientation=6", "-Model=Phone", "-GPSLatitude=35.5", "-GPSLatitudeRef=N", photo});
    host.selected << photo;
    host.tabs.checks[QStringLiteral("rb_bmp")] = false;
    host.tabs.checks[QStringLiteral("rb_jpg")] = true;
    const QString target = QDir(out).filePath(QStringLiteral("phone.jpg"));
    for (bool keepGps : {true, false}) {
        host.app.keepGpsOnConvert = keepGps;
        ConvertSelection(host);
        const ImageInfo info = written(QStringLiteral("phone.jpg"));
        EXPECT_EQ(QSize(info.width, info.height), QSize(40, 60));
        EXPECT_EQ(exiftool({"-Orientation", "-Model", target}), QStringLiteral("1\nPhone"));
        EXPECT_EQ(exiftool({"-GPSLatitude", target}).isEmpty(), !keepGps);
    }
}

TEST_F(ConvertTest, FaxCompressionMakesTwoColoursOtherSchemesKeepTheDepth)
{
    addPicture(QStringLiteral("a.bmp"), 40, 30);
    chooseTiff(4);  // GROUP4, colours "そのまま"
    ConvertSelection(host);
    EXPECT_EQ(written(QStringLiteral("a.tif")).colorCode, 0);

    chooseTiff(0);  // uncompressed
    ConvertSelection(host);
    EXPECT_EQ(written(QStringLiteral("a.tif")).colorCode, 5);

    chooseTiff(5);  // PackBits codes any depth
    ConvertSelection(host);
    EXPECT_EQ(written(QStringLiteral("a.tif")).colorCode, 5);

    host.tabs.lists[QStringLiteral("cb_tif_coln")] = 3;  // 256 colours
    ConvertSelection(host);
    EXPECT_EQ(written(QStringLiteral("a.tif")).colorCode, 4);
    EXPECT_EQ(prompt.messages(), QStringList(4, QStringLiteral("変換完了。")));
}

TEST_F(ConvertTest, MissingFolderEmptySelectionAndBadNumbersStopBeforeTheRun)
{
    const QString missing = QStringLiteral("変換結果を格納するﾌｫﾙﾀﾞが見つかりません。");
    addPicture(QStringLiteral("a.bmp"), 10, 10);
    for (const QString& folder :
         {QString(), QDir(dir.path()).filePath(QStringLiteral("none")), QStringLiteral("out"),
          QDir(dir.path()).filePath(QStringLiteral("a.bmp"))}) {
        host.tabs.texts[QStringLiteral("tx_out_path")] = folder;
        ConvertSelection(host);
    }
    EXPECT_EQ(prompt.messages(), QStringList(4, missing));

    prompt.clear();
    host.tabs.texts[QStringLiteral("tx_out_path")] = out;
    host.tabs.checks[QStringLiteral("cb_size")] = true;
    host.tabs.texts[QStringLiteral("tx_outW")] = QStringLiteral("0");
    ConvertSelection(host);
    host.tabs.checks[QStringLiteral("cb_size")] = false;
    host.tabs.checks[QStringLiteral("rb_jpg")] = true;
    host.tabs.texts[QStringLiteral("ed_jpg_comp")] = QStringLiteral("abc");
    ConvertSelection(host);
    host.selected.clear();  // with nothing selected the boxes do not matter
    ConvertSelection(host);
    EXPECT_EQ(prompt.messages(),
              QStringList({QStringLiteral("画像ｻｲｽﾞには、1～32767の整数を指定してください。"),
                           QStringLiteral("圧縮品質係数には、0～100の整数を指定してください。"),
                           QStringLiteral("変換するﾌｧｲﾙが選択されていません。")}));
    EXPECT_TRUE(host.busy.empty());
    EXPECT_TRUE(QDir(out).isEmpty());
}

TEST_F(ConvertTest, SelectedSourcesAreNeverOverwrittenAndAreListed)
{
    addPicture(QStringLiteral("a.bmp"), 20, 20);
    QImage other(20, 20, QImage::Format_RGB32);
    other.fill(Qt::blue);
    const QString png = QDir(dir.path()).filePath(QStringLiteral("a.png"));
    ASSERT_TRUE(other.save(png, "PNG"));
    host.selected << png;
    addPicture(QStringLiteral("b.png"), 20, 20);
    QFile original(host.selected.first());
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    const QByteArray before = original.readAll();
    original.close();

    host.tabs.texts[QStringLiteral("tx_out_path")] = dir.path() + QLatin1Char('/');
    ConvertSelection(host);

    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    EXPECT_EQ(original.readAll(), before);
    EXPECT_TRUE(QFileInfo::exists(QDir(dir.path()).filePath(QStringLiteral("b.bmp"))));
    ASSERT_EQ(prompt.messages().size(), 1);
    EXPECT_TRUE(prompt.messages().first().contains(QStringLiteral("上書き")));
    EXPECT_TRUE(prompt.messages().first().contains(QStringLiteral("a.bmp\na.png")));
    EXPECT_FALSE(prompt.messages().first().contains(QStringLiteral("b.png")));
    EXPECT_EQ(host.gauge, 0);
}

TEST_F(ConvertTest, TargetsThatCannotBeWrittenAreReportedAndTheOthersWritten)
{
    addPicture(QStringLiteral("x.bmp"), 10, 10);
    addPicture(QStringLiteral("y.bmp"), 10, 10);
    addPicture(QStringLiteral("z.bmp"), 10, 10);
    ASSERT_TRUE(QDir(out).mkdir(QStringLiteral("x.jpg")));  // a folder where the file should go
    QFile existing(QDir(out).filePath(QStringLiteral("y.jpg")));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("old");
    existing.close();
    host.tabs.checks[QStringLiteral("rb_bmp")] = false;
    host.tabs.checks[QStringLiteral("rb_jpg")] = true;
    ConvertSelection(host);

    const QString text = prompt.messages().value(0);
    EXPECT_TRUE(text.contains(QStringLiteral("保存できなかったﾌｧｲﾙ：\nx.bmp"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("y.bmp")));
    EXPECT_EQ(written(QStringLiteral("y.jpg")).width, 10);  // an existing target is replaced
    EXPECT_EQ(written(QStringLiteral("z.jpg")).width, 10);
    // No temporary file is left behind.
    EXPECT_EQ(QDir(out).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

TEST_F(ConvertTest, BrowseFillsTheBoxUnlessCancelledAndStartsWhereThePickerEnded)
{
    TfrPath picker;
    host.tabs.texts[QStringLiteral("tx_out_path")] = QStringLiteral("/tmp/first");
    prompt.answer(std::optional<QString>(QStringLiteral("/tmp/picked/")));
    ChooseOutputFolder(picker, host.tabs);
    EXPECT_EQ(host.tabs.texts[QStringLiteral("tx_out_path")], QStringLiteral("/tmp/picked"));
    host.tabs.texts[QStringLiteral("tx_out_path")] = QStringLiteral("/tmp/typed");
    prompt.answer(std::optional<QString>());
    ChooseOutputFolder(picker, host.tabs);
    EXPECT_EQ(host.tabs.texts[QStringLiteral("tx_out_path")], QStringLiteral("/tmp/typed"));
    ASSERT_EQ(prompt.shown().size(), 2);
    EXPECT_EQ(prompt.shown()[0].caption, QStringLiteral("結果出力先の指定"));
    EXPECT_EQ(prompt.shown()[0].text, QStringLiteral("/tmp/first"));
    EXPECT_EQ(prompt.shown()[1].text, QStringLiteral("/tmp/picked"));
}

}  // namespace
