// LoadImageFile's choice of decoder by extension, its GV fallback and the
// orientation of what GV decodes, and ResizeImage's high-quality path.
#include "tav/imaging/ImageLoad.h"
#include "imgkit/ImgKit.h"
#include "tav/imaging/ImageResize.h"
#include "tav/tests/BitmapTestPictures.h"

#include <QFile>
#include <QSize>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using imgkit::DibHandle;

namespace {

// Records every path it is asked for and answers with a 3 x 2 picture.
class FakeGv : public DibFetcher {
public:
    DibHandle fetch(const QString& fullPath) override
    {
        asked.append(fullPath);
        return answer ? testpic::solid(3, 2, testpic::kBlue) : DibHandle();
    }
    QStringList asked;
    bool answer = true;
};

const QString kGv = QStringLiteral("/usr/local/bin/gv");

class LoadImageFileTest : public testing::Test {
protected:
    QString path(const QString& name) const { return dir.filePath(name); }

    // A readable JPEG saved under `name`, whatever its extension says.
    QString jpegNamed(const QString& name)
    {
        EXPECT_NE(ImgKitJpegFileSave(path(name), testpic::solid(8, 6, testpic::kRed), {}, {}, 90, 0), 0);
        return path(name);
    }
    QString bmpNamed(const QString& name)
    {
        EXPECT_NE(ImgKitBmpFileSave(path(name), testpic::solid(8, 6, testpic::kRed), {}, {}, 0), 0);
        return path(name);
    }
    QString garbageNamed(const QString& name)
    {
        QFile f(path(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("this is no picture at all, only some words");
        return path(name);
    }

    DibHandle load(const QString& file, const QString& gvPath = kGv)
    {
        return LoadImageFile(file, {}, {}, gvPath, &gv);
    }

    QTemporaryDir dir;
    FakeGv gv;
};

}  // namespace

TEST(LoadRoute, ExtensionTableIsComparedUpperCase)
{
    for (const char* ext : {"TXT", "XLS", "DOC", "MDB", "SUE", "DLL", "LZH", "EXE", "CAB"})
        EXPECT_EQ(LoadRouteFor(QString::fromLatin1(ext)), LoadRoute::Never) << ext;
    for (const char* ext : {"JPG", "JPEG", "PCX", "PNG", "FPX"})
        EXPECT_EQ(LoadRouteFor(QString::fromLatin1(ext)), LoadRoute::Ik5) << ext;
    EXPECT_EQ(LoadRouteFor(QStringLiteral("BMP")), LoadRoute::ImgKit);
    EXPECT_EQ(LoadRouteFor(QStringLiteral("TIF")), LoadRoute::ImgKit);
    for (const char* ext : {"TIFF", "GIF", "WEBP", "", "JPE"})
        EXPECT_EQ(LoadRouteFor(QString::fromLatin1(ext)), LoadRoute::GvOnly) << ext;
}

TEST_F(LoadImageFileTest, NeverLoadedExtensionsReachNoDecoderAndNoGv)
{
    // Real JPEG contents: any decoder asked would have read them.
    EXPECT_FALSE(load(jpegNamed("notes.txt")));
    EXPECT_FALSE(load(jpegNamed("setup.EXE")));
    EXPECT_FALSE(load(jpegNamed("data.Cab")));
    EXPECT_TRUE(gv.asked.isEmpty());
}

TEST_F(LoadImageFileTest, JpegNamesOfEitherCaseLoadThroughTheLibrary)
{
    const DibHandle a = load(jpegNamed("a.jpeg"));
    const DibHandle b = load(jpegNamed("b.JPG"));
    ASSERT_TRUE(a);
    ASSERT_TRUE(b);
    EXPECT_EQ(a.width(), 8);
    EXPECT_EQ(b.height(), 6);
    EXPECT_TRUE(gv.asked.isEmpty());
}

TEST_F(LoadImageFileTest, UnreadableTifFallsBackToGvAndUnreadableBmpDoesNot)
{
    const QString tif = garbageNamed("scan.tif");
    const DibHandle fromGv = load(tif);
    ASSERT_TRUE(fromGv);
    EXPECT_EQ(fromGv.width(), 3);
    EXPECT_EQ(gv.asked, QStringList{tif});

    gv.asked.clear();
    EXPECT_FALSE(load(garbageNamed("broken.bmp")));
    EXPECT_FALSE(load(garbageNamed("BROKEN2.BMP")));
    EXPECT_TRUE(gv.asked.isEmpty());
}

TEST_F(LoadImageFileTest, ReadableBmpAndTifNeverGoToGv)
{
    EXPECT_TRUE(load(bmpNamed("ok.bmp")));
    EXPECT_NE(ImgKitTiffFileSave(path("ok.tif"), testpic::solid(4, 4, testpic::kRed), {}, {}, 0), 0);
    EXPECT_TRUE(load(path("ok.tif")));
    EXPECT_TRUE(gv.asked.isEmpty());
}

TEST_F(LoadImageFileTest, UnreadableLibraryFormatsAndOtherExtensionsGoToGv)
{
    const QString badJpeg = garbageNamed("bad.png");
    const QString gif = garbageNamed("anim.gif");
    const QString noDot = garbageNamed("README");
    EXPECT_TRUE(load(badJpeg));
    EXPECT_TRUE(load(gif));
    EXPECT_TRUE(load(noDot));
    EXPECT_EQ(gv.asked, (QStringList{badJpeg, gif, noDot}));
}

TEST_F(LoadImageFileTest, WithoutGvPathOrFetcherThereIsNoFallback)
{
    const QString gif = garbageNamed("anim.gif");
    EXPECT_FALSE(load(gif, QString()));
    EXPECT_TRUE(gv.asked.isEmpty());
    EXPECT_FALSE(LoadImageFile(gif, {}, {}, kGv, nullptr));
    gv.answer = false;
    EXPECT_FALSE(load(gif));
    EXPECT_EQ(gv.asked.size(), 1);
}

TEST_F(LoadImageFileTest, EmptyNameAndMissingFile)
{
    EXPECT_FALSE(load(QString()));
    EXPECT_TRUE(gv.asked.isEmpty());
    // A missing BMP is not a job for GV either.
    EXPECT_FALSE(load(path("missing.bmp")));
    EXPECT_TRUE(gv.asked.isEmpty());
}

TEST_F(LoadImageFileTest, RegisteredFetcherIsTheDefault)
{
    SetGvFetcher(&gv);
    const QString gif = garbageNamed("x.gif");
    EXPECT_TRUE(LoadImageFile(gif, {}, {}, kGv));
    SetGvFetcher(nullptr);
    EXPECT_FALSE(LoadImageFile(gif, {}, {}, kGv));
    EXPECT_EQ(gv.asked.size(), 1);
}

TEST(ResizeImage, GivesExactlyTheAskedSize)
{
    const DibHandle src = testpic::solid(64, 48, testpic::kRed);
    for (bool hq : {false, true}) {
        const DibHandle small = ResizeImage(src, {}, {}, 32, 24, hq);
        ASSERT_TRUE(small) << hq;
        EXPECT_EQ(small.width(), 32);
        EXPECT_EQ(small.height(), 24);
        EXPECT_EQ(testpic::pixel(small, 10, 10), testpic::kRed);
        const DibHandle big = ResizeImage(src, {}, {}, 64, 100, hq);
        ASSERT_TRUE(big) << hq;
        EXPECT_EQ(big.height(), 100);
    }
}

TEST(ResizeImage, HighQualityRefusalsFailInsteadOfFallingBack)
{
    const DibHandle src = testpic::solid(100, 100, testpic::kRed);
    // Wider but shorter, and the same size: refused by the high-quality filter.
    EXPECT_FALSE(ResizeImage(src, {}, {}, 150, 80, true));
    EXPECT_FALSE(ResizeImage(src, {}, {}, 100, 100, true));
    EXPECT_TRUE(ResizeImage(src, {}, {}, 150, 80, false));
}

TEST(ResizeImage, PalettePicturesNeverTakeTheHighQualityPath)
{
    const DibHandle src = testpic::solid8(100, 100, testpic::kBlue);
    const DibHandle out = ResizeImage(src, {}, {}, 150, 80, true);
    ASSERT_TRUE(out);
    EXPECT_EQ(out.width(), 150);
    EXPECT_EQ(out.height(), 80);
    EXPECT_FALSE(ResizeImage(DibHandle(), {}, {}, 10, 10, true));
}

TEST_F(LoadImageFileTest, PicturesFromGvStandUprightByTheirRecordedOrientation)
{
    const QString photo = jpegNamed(QStringLiteral("portrait.jpe"));  // a name only GV is asked for
    testpic::exiftool({"-Orientation=6", photo});
    const DibHandle upright = load(photo);
    ASSERT_TRUE(upright);
    EXPECT_EQ(gv.asked, QStringList(photo));
    EXPECT_EQ(QSize(upright.width(), upright.height()), QSize(2, 3));
    ImgKitSetLoadOptions({false, true});
    EXPECT_EQ(load(photo).width(), 3);
    ImgKitSetLoadOptions({});
}
