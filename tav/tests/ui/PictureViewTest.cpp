#include "tav/core/ui/PictureView.h"
#include "tav/core/ui/frmPic.h"

#include <QLabel>

#include <gtest/gtest.h>

TEST(PictureViewTest, CaptionNamesSizeAndColours)
{
    const QString path = QStringLiteral("/p/a.bmp");
    EXPECT_EQ(pictureCaption(path, imgkit::DibHandle::create(40, 30, 24)).toStdString(),
              "/p/a.bmp(40*30,ﾌﾙｶﾗｰ)");
    EXPECT_EQ(pictureCaption(path, imgkit::DibHandle::create(4, 3, 1)).toStdString(), "/p/a.bmp(4*3,2色)");
    const std::string eight = pictureCaption(path, imgkit::DibHandle::create(4, 3, 8)).toStdString();
    EXPECT_EQ(eight, "/p/a.bmp(4*3,256色)");
    EXPECT_EQ(pictureCaption(path, imgkit::DibHandle()).toStdString(), "/p/a.bmp");
}

TEST(PictureViewTest, ALargePictureFitsTheWindowAndZoomsInStepsAndToItsOwnSize)
{
    TfrPic window;
    window.resize(400, 300);
    window.show();
    QPixmap picture(2000, 1500);
    picture.fill(Qt::red);
    window.setPicture(picture);
    EXPECT_TRUE(window.fitsWindow());
    EXPECT_LT(window.scale(), 0.2);
    const double fitted = window.scale();

    window.zoomIn();
    EXPECT_FALSE(window.fitsWindow());
    EXPECT_GT(window.scale(), fitted);
    window.actualSize();
    EXPECT_DOUBLE_EQ(window.scale(), 1.0);
    window.zoomOut();
    EXPECT_DOUBLE_EQ(window.scale(), 0.75);
    window.fitToWindow();
    EXPECT_DOUBLE_EQ(window.scale(), fitted);

    // A small picture is shown at its own size, never blown up to the window.
    QPixmap small(40, 30);
    small.fill(Qt::blue);
    window.setPicture(small);
    EXPECT_DOUBLE_EQ(window.scale(), 1.0);
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("pic"))->size(), QSize(40, 30));
}
