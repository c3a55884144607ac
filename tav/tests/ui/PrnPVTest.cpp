#include "tav/core/RunState.h"
#include "tav/printing/ui/frmPrnPV.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace {

QImage pagePicture(int width, int height)
{
    QImage page(width, height, QImage::Format_RGB888);
    page.fill(Qt::white);
    for (int x = 0; x < width; ++x)
        page.setPixelColor(x, height / 2, QColor(200, 10, 30));
    return page;
}

void choose(QWidget* window, const char* item)
{
    QAction* action = window->findChild<QAction*>(QString::fromLatin1(item));
    ASSERT_NE(action, nullptr) << item;
    action->trigger();
}

// Runs `steps` on the preview once its modal loop is running, then shows
// `page` through the engine's entry point.
bool showPageActing(const QImage& page, double& zoom, std::function<void(TfrPrnPV*)> steps)
{
    QTimer::singleShot(0, [steps] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* window = qobject_cast<TfrPrnPV*>(widget); window && window->isVisible()) {
                EXPECT_TRUE(window->isModal());
                steps(window);
                return;
            }
        }
        ADD_FAILURE() << "no preview window shown";
    });
    return TfrPrnPV::showPage(nullptr, page, zoom);
}

class PrnPVTest : public ::testing::Test {
protected:
    void SetUp() override { AbortRequested = false; }
    void TearDown() override { AbortRequested = false; }
};

}  // namespace

TEST_F(PrnPVTest, ZoomStopsAtBothEndsAndPictureFollows)
{
    TfrPrnPV window(nullptr, pagePicture(200, 100), 1.0);
    window.show();
    EXPECT_EQ(window.windowTitle().toStdString(), "印刷ﾌﾟﾚﾋﾞｭｰ (100%)");
    auto* pic = window.findChild<QLabel*>(QStringLiteral("pic"));
    ASSERT_NE(pic, nullptr);

    choose(&window, "mnuKakuDai");
    EXPECT_EQ(window.windowTitle().toStdString(), "印刷ﾌﾟﾚﾋﾞｭｰ (125%)");
    EXPECT_EQ(pic->size(), QSize(250, 125));
    for (int i = 0; i < 4; ++i)
        choose(&window, "mnuKakuDai");
    EXPECT_EQ(window.windowTitle().toStdString(), "印刷ﾌﾟﾚﾋﾞｭｰ (200%)");
    EXPECT_EQ(pic->size(), QSize(400, 200));

    choose(&window, "mnuDspNomal");
    for (int i = 0; i < 4; ++i)
        choose(&window, "mnuSyukuSyou");
    EXPECT_EQ(window.windowTitle().toStdString(), "印刷ﾌﾟﾚﾋﾞｭｰ (25%)");
    EXPECT_EQ(pic->size(), QSize(50, 25));
    EXPECT_DOUBLE_EQ(window.zoom(), 0.25);
}

TEST_F(PrnPVTest, ZoomChosenOnOnePageIsUsedForTheNext)
{
    double zoom = 1.0;
    EXPECT_TRUE(showPageActing(pagePicture(80, 60), zoom, [](TfrPrnPV* window) {
        choose(window, "mnuKakuDai");
        choose(window, "mnuKakuDai");
        choose(window, "mnuNe");
    }));
    EXPECT_DOUBLE_EQ(zoom, 1.5);
    EXPECT_FALSE(AbortRequested);

    QString caption;
    QSize picSize;
    EXPECT_TRUE(showPageActing(pagePicture(80, 60), zoom, [&](TfrPrnPV* window) {
        caption = window->windowTitle();
        picSize = window->findChild<QLabel*>(QStringLiteral("pic"))->size();
        choose(window, "mnuNe");
    }));
    EXPECT_EQ(caption.toStdString(), "印刷ﾌﾟﾚﾋﾞｭｰ (150%)");
    EXPECT_EQ(picSize, QSize(120, 90));
}

TEST_F(PrnPVTest, StopSetsTheStopFlagAndNextPageKeepsAnEarlierOne)
{
    double zoom = 1.0;
    EXPECT_FALSE(
        showPageActing(pagePicture(40, 30), zoom, [](TfrPrnPV* window) { choose(window, "mnuPV_end"); }));
    EXPECT_TRUE(AbortRequested);

    // ESC pressed while the page was drawn: going on to the next page must not
    // withdraw that stop before the print loop has asked about it.
    EXPECT_TRUE(showPageActing(pagePicture(40, 30), zoom, [](TfrPrnPV* window) { choose(window, "mnuNe"); }));
    EXPECT_TRUE(AbortRequested);
}

TEST_F(PrnPVTest, ClosingBoxActsAsNextPage)
{
    double zoom = 0.75;
    EXPECT_TRUE(showPageActing(pagePicture(40, 30), zoom, [](TfrPrnPV* window) {
        choose(window, "mnuSyukuSyou");
        window->close();
    }));
    EXPECT_FALSE(AbortRequested);
    EXPECT_DOUBLE_EQ(zoom, 0.5);
}

TEST_F(PrnPVTest, CopyPutsTheWholePageOnTheClipboard)
{
    const QImage page = pagePicture(120, 90);
    TfrPrnPV window(nullptr, page, 0.5);
    window.show();
    QGuiApplication::clipboard()->clear();
    choose(&window, "mnuCopy");
    const QImage copied = QGuiApplication::clipboard()->image();
    ASSERT_EQ(copied.size(), page.size());
    EXPECT_EQ(copied.convertToFormat(QImage::Format_RGB888), page);
}

TEST_F(PrnPVTest, LargePageScrollsInAWindowThatFitsTheScreen)
{
    TfrPrnPV window(nullptr, pagePicture(2400, 1800), 1.0);
    window.show();
    const QRect room = window.screen()->availableGeometry();
    EXPECT_LE(window.frameGeometry().width(), room.width());
    EXPECT_LE(window.frameGeometry().height(), room.height());
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("pic"))->size(), QSize(2400, 1800));
}

TEST_F(PrnPVTest, EmptyPageShowsNothingAndGoesOn)
{
    double zoom = 1.25;
    EXPECT_TRUE(TfrPrnPV::showPage(nullptr, QImage(), zoom));
    EXPECT_DOUBLE_EQ(zoom, 1.25);
    EXPECT_FALSE(AbortRequested);
}
