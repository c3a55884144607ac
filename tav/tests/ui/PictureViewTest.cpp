#include "PictureView.h"

#include <gtest/gtest.h>

TEST(PictureViewTest, CaptionNamesSizeAndColours)
{
    const QString path = QStringLiteral("/p/a.bmp");
    EXPECT_EQ(pictureCaption(path, imgkit::DibHandle::create(40, 30, 24)).toStdString(), "/p/a.bmp(40*30,ﾌﾙｶﾗｰ)");
    EXPECT_EQ(pictureCaption(path, imgkit::DibHandle::create(4, 3, 1)).toStdString(), "/p/a.bmp(4*3,2色)");
    const std::string eight = pictureCaption(path, imgkit::DibHandle::create(4, 3, 8)).toStdString();
    EXPECT_EQ(eight, "/p/a.bmp(4*3,256色)");
    EXPECT_EQ(pictureCaption(path, imgkit::DibHandle()).toStdString(), "/p/a.bmp");
}
