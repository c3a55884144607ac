// The colour swatch: a stored colour reference (red in the low byte) shown as
// its colour, and a click reported when the button is released on it.
#include "tav/core/ui/ColorSwatch.h"

#include <QApplication>
#include <QMouseEvent>
#include <gtest/gtest.h>

namespace {

void release(ColorSwatch& swatch, QPoint at, Qt::MouseButton button = Qt::LeftButton)
{
    QMouseEvent event(QEvent::MouseButtonRelease, QPointF(at), swatch.mapToGlobal(QPointF(at)), button,
                      Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&swatch, &event);
}

TEST(ColorSwatchTest, ShowsTheColourOfItsReference)
{
    ColorSwatch swatch(QStringLiteral("pgHeikeiColHt"), 0x00FF0000);  // blue
    EXPECT_EQ(swatch.objectName(), QStringLiteral("pgHeikeiColHt"));
    EXPECT_EQ(swatch.palette().color(QPalette::Window), QColor(0, 0, 255));
    swatch.setColorRef(0x00336699);
    EXPECT_EQ(swatch.colorRef(), 0x00336699u);
    EXPECT_EQ(swatch.palette().color(QPalette::Window), QColor(0x99, 0x66, 0x33));
    swatch.setColorRef(8421504);
    EXPECT_EQ(swatch.palette().color(QPalette::Window), QColor(128, 128, 128));
}

TEST(ColorSwatchTest, ClickedOnReleaseOverTheSwatch)
{
    ColorSwatch swatch(QStringLiteral("suKageCol"), 8421504);
    int clicked = 0;
    QObject::connect(&swatch, &ColorSwatch::clicked, &swatch, [&clicked] { ++clicked; });
    release(swatch, QPoint(5, 5));
    EXPECT_EQ(clicked, 1);
    release(swatch, QPoint(5, 5), Qt::RightButton);
    release(swatch, QPoint(swatch.width() + 10, 5));  // dragged off before release
    EXPECT_EQ(clicked, 1);
}

}  // namespace
