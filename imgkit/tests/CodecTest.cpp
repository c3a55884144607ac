// JPEG and PNG through the real codecs, the type sniffing, FlashPix, and the
// progress box of the loaders.
#include "imgkit/ImgKit.h"
#include "imgkit/tests/TestPictures.h"
#include "platform/tests/ScriptedPrompt.h"

#include <gtest/gtest.h>

#include <png.h>

using imgkit::DibHandle;
using namespace imgkit::test;

TEST(Jpeg, RoundTripKeepsThePictureAndDjpegAgreesExactly)
{
    const DibHandle original = photo24(123, 77);
    const QString path = tempPath("photo.jpg");
    ASSERT_EQ(ImgKitJpegFileSave(path, original, "", "", 95, 0), 1);
    const DibHandle loaded = IK5FileLoad(path, 0, 0, "", "", "");
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded.bitCount(), 24);
    EXPECT_LT(meanError(loaded, original), 3.0);

    EXPECT_EQ(run("gm identify -format '%m %w %h' '" + path.toStdString() + "'").substr(0, 10), "JPEG 123 7");
    const QString viaDjpeg = tempPath("djpeg.bmp");
    int status = 0;
    run("djpeg -bmp -outfile '" + viaDjpeg.toStdString() + "' '" + path.toStdString() + "'", &status);
    ASSERT_EQ(status, 0);
    const DibHandle reference = ImgKitFileLoad(viaDjpeg, "", "");
    ASSERT_TRUE(reference);
    EXPECT_EQ(bgrPixels(reference), bgrPixels(loaded));
}

TEST(Jpeg, QualityTradesSizeForFidelityAndGreyStaysGrey)
{
    const DibHandle original = photo24(200, 150);
    const QString low = tempPath("q10.jpg"), high = tempPath("q90.jpg");
    ASSERT_EQ(ImgKitJpegFileSave(low, original, "", "", 10, 0), 1);
    ASSERT_EQ(ImgKitJpegFileSave(high, original, "", "", 90, 0), 1);
    EXPECT_LT(readBytes(low).size(), readBytes(high).size());
    EXPECT_GT(meanError(IK5FileLoad(low, 0, 0, "", "", ""), original),
              meanError(IK5FileLoad(high, 0, 0, "", "", ""), original));
    EXPECT_EQ(ImgKitJpegFileSave(tempPath("q0.jpg"), original, "", "", 0, 0), 1);

    const DibHandle grey = ImgKitSetGray(ImgKitConvertColor(original, 8, 0, 1, "", ""), "", "");
    const QString greyPath = tempPath("grey.jpg");
    ASSERT_EQ(ImgKitJpegFileSave(greyPath, grey, "", "", 90, 0), 1);
    const DibHandle back = IK5FileLoad(greyPath, 0, 0, "", "", "");
    ASSERT_TRUE(back);
    ImageInfo info;
    ImgKitImageInfo(back, &info);
    EXPECT_EQ(info.colorCode, 3);
    EXPECT_LT(meanError(back, grey), 3.0);
}

namespace {

QString writePng(const QString& name, int w, int h, png_uint_32 format, const std::vector<std::uint8_t>& px)
{
    const QString path = tempPath(name);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(w);
    image.height = png_uint_32(h);
    image.format = format;
    EXPECT_TRUE(png_image_write_to_file(&image, path.toLocal8Bit().constData(), 0, px.data(), 0, nullptr));
    return path;
}

}  // namespace

TEST(Png, TransparencyIsLaidOverWhite)
{
    // RGBA: opaque red, fully transparent, half-transparent black.
    const QString path =
        writePng("alpha.png", 3, 1, PNG_FORMAT_RGBA, {255, 0, 0, 255, 0, 0, 0, 0, 0, 0, 0, 128});
    const DibHandle dib = IK5FileLoad(path, 0, 0, "", "", "");
    ASSERT_TRUE(dib);
    const auto px = bgrPixels(dib);
    EXPECT_EQ(std::vector<std::uint8_t>(px.begin(), px.begin() + 6),
              (std::vector<std::uint8_t>{0, 0, 255, 255, 255, 255}));
    // Half-transparent black over white is a mid grey (libpng blends in
    // linear light, so a little lighter than 127).
    EXPECT_GT(px[6], 110);
    EXPECT_LT(px[6], 200);
    EXPECT_TRUE(px[6] == px[7] && px[7] == px[8]);
}

TEST(Png, GreyPaletteAndSixteenBitFilesMatchGraphicsMagick)
{
    const QString rgb = writePng("rgb.png", 40, 30, PNG_FORMAT_BGR, bgrPixels(photo24(40, 30)));
    const QString grey = writePng("grey.png", 2, 1, PNG_FORMAT_GRAY, {0, 200});
    const DibHandle g = IK5FileLoad(grey, 0, 0, "", "", "");
    ASSERT_TRUE(g);
    EXPECT_EQ(g.bitCount(), 8);
    EXPECT_EQ(bgrPixels(g), (std::vector<std::uint8_t>{0, 0, 0, 200, 200, 200}));
    for (const char* options : {"-type Palette", "-depth 16", "-type GrayscaleMatte"}) {
        const QString out = tempPath(QString("gm%1.png").arg(qHash(QString(options))));
        int status = 0;
        run("gm convert '" + rgb.toStdString() + "' " + options + " '" + out.toStdString() + "'", &status);
        ASSERT_EQ(status, 0);
        const DibHandle ours = IK5FileLoad(out, 0, 0, "", "", "");
        ASSERT_TRUE(ours) << options;
        EXPECT_LT(meanError(ours, decodeWithGm(out)), 0.6) << options;
    }
}

TEST(FileType, SniffsContentsNotNames)
{
    const QString jpegNamedBmp = tempPath("really_jpeg.bmp");
    ASSERT_EQ(ImgKitJpegFileSave(jpegNamedBmp, photo24(8, 8), "", "", 50, 0), 1);
    std::int16_t code = 0;
    ASSERT_EQ(ImgKitFileType(jpegNamedBmp, &code), 1);
    EXPECT_EQ(code, ImgKitTypeJpeg);
    EXPECT_TRUE(ImgKitFileLoad(jpegNamedBmp, "", ""));

    const QString text = tempPath("notes.bmp");
    writeBytes(text, {'h', 'e', 'l', 'l', 'o'});
    ASSERT_EQ(ImgKitFileType(text, &code), 1);
    EXPECT_EQ(code, ImgKitTypeUnreadable);
    EXPECT_FALSE(ImgKitFileLoad(text, "", ""));
    EXPECT_EQ(ImgKitFileType(tempPath("missing.tif"), &code), 0);
}

TEST(FileType, FlashPixIsRecognisedButLeftToTheViewer)
{
    std::vector<std::uint8_t> ole = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    ole.resize(1024, 0);
    const QString path = tempPath("picture.fpx");
    writeBytes(path, ole);
    std::int16_t code = 0;
    ASSERT_EQ(ImgKitFileType(path, &code), 1);
    EXPECT_EQ(code, ImgKitTypeFlashPix);
    EXPECT_FALSE(IK5FileLoad(path, 0, 0, "案内", "picture.fpxを読込み中", "ｷｬﾝｾﾙ"));
}

TEST(Progress, ShownWithTextsSilentWithoutAndCancelGivesNothing)
{
    platform::ScriptedPrompt prompt;
    const QString path = tempPath("progress.jpg");
    ASSERT_EQ(ImgKitJpegFileSave(path, photo24(64, 300), "", "", 80, 0), 1);
    EXPECT_TRUE(prompt.shown().isEmpty());

    EXPECT_TRUE(IK5FileLoad(path, 0, 0, "案内", "progress.jpgを読込み中", "ｷｬﾝｾﾙ"));
    ASSERT_EQ(prompt.shown().size(), 1);
    EXPECT_EQ(prompt.shown()[0].type, platform::PromptRecord::Type::Progress);
    EXPECT_EQ(prompt.shown()[0].caption, "案内");
    EXPECT_EQ(prompt.shown()[0].text, "progress.jpgを読込み中");

    prompt.cancelProgressAt = 0;
    EXPECT_FALSE(IK5FileLoad(path, 0, 0, "案内", "progress.jpgを読込み中", "ｷｬﾝｾﾙ"));
}
