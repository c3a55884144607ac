// Loading a picture no larger than needed: the scale a JPEG decodes at, the
// picture's own size reported beside it, upright camera pictures, and a
// result that looks like the whole picture reduced the same way.
#include "imgkit/ImgKit.h"
#include "imgkit/src/Readers.h"
#include "imgkit/tests/TestPictures.h"

#include <QSize>
#include <gtest/gtest.h>

#include <utility>

using imgkit::DibHandle;
using imgkit::LoadNeed;
using namespace imgkit::test;

namespace {

LoadNeed need(int width, int height, bool fit)
{
    LoadNeed n;
    n.width = width;
    n.height = height;
    n.fit = fit;
    return n;
}

QString jpegOf(const QString& name, int width, int height)
{
    const QString path = tempPath(name);
    EXPECT_EQ(ImgKitJpegFileSave(path, photo24(width, height), {}, {}, 95, 0), 1);
    return path;
}

TEST(ScaledLoadTest, SmallestEighthThatStillServesTheNeed)
{
    EXPECT_EQ(imgkit::eighthsNeeded(4000, 3000, need(48, 48, true)), 1);  // 500 x 375 for 48 x 36
    EXPECT_EQ(imgkit::eighthsNeeded(4000, 3000, need(320, 240, false)), 1);
    EXPECT_EQ(imgkit::eighthsNeeded(4000, 3000, need(1600, 1600, true)), 4);  // 3/8 gives 1500
    EXPECT_EQ(imgkit::eighthsNeeded(4000, 3000, need(200, 2000, false)), 6);  // the height decides
    EXPECT_EQ(imgkit::eighthsNeeded(4000, 3000, need(4000, 3000, true)), 8);
    EXPECT_EQ(imgkit::eighthsNeeded(640, 480, need(1024, 768, true)), 8);  // enlarging: all of it
    EXPECT_EQ(imgkit::eighthsNeeded(9, 9, need(3, 3, true)), 2);  // 1/8 of 9 rounds up to 2 only
    EXPECT_EQ(imgkit::eighthsNeeded(4000, 3000, need(0, 0, true)), 8);
}

TEST(ScaledLoadTest, JpegDecodesSmallerYetAtLeastTheNeedAndLooksLikeTheWholeReduced)
{
    const QString path = jpegOf("scaled.jpg", 800, 600);
    ImageInfo full;
    const DibHandle small = ImgKitFileLoadAtLeast(path, {}, {}, {}, 60, 60, 1, &full);
    ASSERT_TRUE(small);
    EXPECT_EQ(full.width, 800);
    EXPECT_EQ(full.height, 600);
    EXPECT_EQ(full.colorCode, 5);
    EXPECT_EQ(small.width(), 100);  // 1/8 is enough for 60 x 45
    EXPECT_EQ(small.height(), 75);

    const DibHandle whole = ImgKitFileLoad(path, {}, {});
    for (const auto& [w, h] : {std::pair{60, 45}, std::pair{100, 40}}) {
        const DibHandle fromSmall = ImgKitImageSize(small, {}, {}, w, h);
        const DibHandle fromWhole = ImgKitImageSize(whole, {}, {}, w, h);
        EXPECT_LT(meanError(fromSmall, fromWhole), 2.0) << w << "x" << h;
    }

    // Exact sizes are served too, and a need beyond the picture gives all of it.
    const DibHandle box = ImgKitFileLoadAtLeast(path, {}, {}, {}, 320, 100, 0, nullptr);
    EXPECT_EQ(box.width(), 400);
    EXPECT_GE(box.height(), 100);
    EXPECT_EQ(ImgKitFileLoadAtLeast(path, {}, {}, {}, 1000, 1000, 1, nullptr).width(), 800);
}

TEST(ScaledLoadTest, CameraPictureOnItsSideComesUprightWithItsUprightSize)
{
    const QString path = jpegOf("side.jpg", 160, 80);
    int status = 0;
    run("exiftool -q -q -overwrite_original -n -Orientation=6 '" + path.toStdString() + "' 2>&1", &status);
    ASSERT_EQ(status, 0);
    ImageInfo full;
    // Upright the picture is 80 x 160; a 20 x 40 box needs a quarter of it.
    const DibHandle small = ImgKitFileLoadAtLeast(path, {}, {}, {}, 20, 40, 1, &full);
    ASSERT_TRUE(small);
    EXPECT_EQ(QSize(full.width, full.height), QSize(80, 160));
    EXPECT_EQ(QSize(small.width(), small.height()), QSize(20, 40));
    const DibHandle whole = ImgKitFileLoad(path, {}, {});
    EXPECT_LT(meanError(ImgKitImageSize(small, {}, {}, 20, 40), ImgKitImageSize(whole, {}, {}, 20, 40)), 2.0);
}

TEST(ScaledLoadTest, OtherFormatsLoadWholeWithTheirSize)
{
    const QString path = tempPath("whole.bmp");
    ASSERT_EQ(ImgKitBmpFileSave(path, indexed(64, 32, 8), {}, {}, 0), 1);
    ImageInfo full;
    const DibHandle dib = ImgKitFileLoadAtLeast(path, {}, {}, {}, 8, 8, 1, &full);
    ASSERT_TRUE(dib);
    EXPECT_EQ(dib.width(), 64);
    EXPECT_EQ(QSize(full.width, full.height), QSize(64, 32));
    EXPECT_EQ(full.colorCode, 4);
    EXPECT_FALSE(ImgKitFileLoadAtLeast(tempPath("missing.jpg"), {}, {}, {}, 8, 8, 1, &full));
}

}  // namespace
