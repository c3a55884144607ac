#include "tav/catalog/Caption.h"
#include "imgkit/ImgKit.h"
#include "tav/catalog/CommentFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class CaptionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath(QStringLiteral("IMG01.JPG"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.close();
        COMKATA record{QStringLiteral("Summer"), QStringLiteral("2001"), QStringLiteral("05"),
                       QStringLiteral("3"), QString()};
        ASSERT_EQ(WriteComment(path, record), 0);
        picture = imgkit::DibHandle::create(640, 480, 24);
        ASSERT_TRUE(picture);
    }

    static CaptionOptions allOn(int nameMode = 1) { return {nameMode, 1, 1, 1}; }

    QTemporaryDir dir;
    QString path;
    imgkit::DibHandle picture;
};

TEST_F(CaptionTest, PrintCaptionWithEveryPart)
{
    EXPECT_EQ(BuildCaption(allOn(), 0, &picture, path),
              QStringLiteral("IMG01.JPG(640X480,24bitｶﾗｰ) 2001/5/3 Summer"));
    EXPECT_EQ(BuildCaption(allOn(2), 0, &picture, path),
              QStringLiteral("IMG01(640X480,24bitｶﾗｰ) 2001/5/3 Summer"));
}

TEST_F(CaptionTest, HtmlCaptionBreaksBetweenParts)
{
    EXPECT_EQ(BuildCaption(allOn(), 1, &picture, path),
              QStringLiteral("IMG01.JPG<br>(640X480,24bitｶﾗｰ)<br> 2001/5/3<br> Summer"));
    // Nothing before the date: no break, the caption starts with the space.
    EXPECT_EQ(BuildCaption(CaptionOptions{0, 0, 1, 0}, 1, &picture, path), QStringLiteral(" 2001/5/3"));
    EXPECT_EQ(BuildCaption(CaptionOptions{0, 1, 0, 1}, 1, &picture, path),
              QStringLiteral("(640X480,24bitｶﾗｰ)<br> Summer"));
}

TEST_F(CaptionTest, HtmlCaptionEscapesNamesAndTitles)
{
    const QString odd = dir.filePath(QStringLiteral("Tom&Jerry.jpg"));
    COMKATA record{QStringLiteral("<b>big</b> & small"), QStringLiteral("2001"), QStringLiteral("1"),
                   QStringLiteral("2"), QString()};
    ASSERT_EQ(WriteComment(odd, record), 0);
    EXPECT_EQ(BuildCaption(CaptionOptions{1, 0, 0, 1}, 1, nullptr, odd),
              QStringLiteral("Tom&amp;Jerry.jpg<br> &lt;b&gt;big&lt;/b&gt; &amp; small"));
    // Print captions are drawn as they are.
    EXPECT_EQ(BuildCaption(CaptionOptions{1, 0, 0, 1}, 0, nullptr, odd),
              QStringLiteral("Tom&Jerry.jpg <b>big</b> & small"));
}

TEST_F(CaptionTest, ColourDepthTexts)
{
    const auto infoOnly = [](const imgkit::DibHandle& dib) {
        return BuildCaption(CaptionOptions{0, 1, 0, 0}, 0, &dib, QString());
    };
    EXPECT_EQ(infoOnly(imgkit::DibHandle::create(3, 2, 1)), QStringLiteral("(3X2,2色)"));
    EXPECT_EQ(infoOnly(imgkit::DibHandle::create(3, 2, 4)), QStringLiteral("(3X2,16色)"));
    EXPECT_EQ(infoOnly(imgkit::DibHandle::create(3, 2, 8)), QStringLiteral("(3X2,256色)"));
    EXPECT_EQ(infoOnly(imgkit::DibHandle::create(3, 2, 16)), QStringLiteral("(3X2,16bitｶﾗｰ)"));
    EXPECT_EQ(infoOnly(imgkit::DibHandle::create(3, 2, 32)), QStringLiteral("(3X2,32bitｶﾗｰ)"));
    // No picture, or a block that is no picture: no size part.
    EXPECT_EQ(BuildCaption(CaptionOptions{0, 1, 0, 0}, 0, nullptr, path), QString());
    const imgkit::DibHandle empty;
    EXPECT_EQ(infoOnly(empty), QString());
}

TEST_F(CaptionTest, WithoutPictureAndPathOnlyTheDateAndTitleParts)
{
    EXPECT_EQ(BuildCaption(CaptionOptions{1, 1, 0, 0}, 0, nullptr, QString()), QString());
    // The index print measures a caption line exactly when this is not empty.
    EXPECT_EQ(BuildCaption(CaptionOptions{1, 1, 1, 0}, 0, nullptr, QString()), QStringLiteral(" 0/0/0"));
    EXPECT_EQ(BuildCaption(CaptionOptions{0, 0, 0, 1}, 0, nullptr, QString()), QStringLiteral(" "));
}

TEST_F(CaptionTest, TheSetInForceIsRead)
{
    captionOptions() = CaptionOptions{2, 0, 1, 0};
    EXPECT_EQ(BuildCaption(0, &picture, path), QStringLiteral("IMG01 2001/5/3"));
    captionOptions() = CaptionOptions{};
    EXPECT_EQ(BuildCaption(0, &picture, path), QString());
}

}  // namespace
