// The adjustment tab's preview: loading, the grey and adjusted views, the
// messages, and when the preview picture is released.
#include "tav/printing/ui/AdjustPreview.h"
#include "imgkit/ImgKit.h"
#include "platform/ScriptedPrompt.h"
#include "tav/core/ui/WorkTabs.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

using imgkit::DibHandle;

namespace {

const QString kNoSelection = QStringLiteral("ﾌｧｲﾙが選択されていないため、画像調整ﾌﾟﾚﾋﾞｭｰできません。");
const QString kNoBrightness = QStringLiteral("「ｸﾞﾚｲｽｹｰﾙ印刷」がﾁｴｯｸされていると明るさを変更できません。");
const QString kNoRgb = QStringLiteral("「ｸﾞﾚｲｽｹｰﾙが印刷」がﾁｪｯｸされているとRGBを変更できません。");

class AdjustPreviewTest : public testing::Test {
protected:
    void SetUp() override
    {
        page.reset(buildAdjustTab());
        AdjustPreviewHost host;
        host.activePage = [this] { return activePage; };
        host.firstSelectedPath = [this] { return selected; };
        host.setStatus = [this](const QString& s) { statuses.append(s); };
        host.settings = &settings;
        preview = std::make_unique<AdjustPreview>(page.get(), host);
        preview->connectTabControls();
        QObject::connect(page->findChild<QPushButton*>(QStringLiteral("btGazoCyoPV")), &QPushButton::clicked,
                         preview.get(), &AdjustPreview::btGazoCyoPVClick);
        page->show();
    }

    // A BMP of one colour, with red 200, green 100, blue 50.
    QString picture(int width = 440, int height = 330)
    {
        DibHandle dib = DibHandle::create(width, height, 24);
        const std::uint8_t bgr[3] = {50, 100, 200};
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                std::memcpy(dib.row(y) + x * 3, bgr, 3);
        const QString path = dir.filePath(QStringLiteral("photo.bmp"));
        EXPECT_NE(ImgKitBmpFileSave(path, dib, {}, {}, 0), 0);
        return path;
    }

    // The texts of the message boxes (progress boxes left out).
    QStringList messages() const
    {
        QStringList texts;
        for (const platform::PromptRecord& r : prompt.shown())
            if (r.type == platform::PromptRecord::Type::Message)
                texts.append(r.text);
        return texts;
    }

    QRgb shown() const { return pic2()->pixmap().toImage().pixel(5, 5); }
    QLabel* pic2() const { return page->findChild<QLabel*>(QStringLiteral("pic2")); }
    QLineEdit* edit(const char* name) const { return page->findChild<QLineEdit*>(QString::fromLatin1(name)); }
    QCheckBox* gurei() const { return page->findChild<QCheckBox*>(QStringLiteral("ch_gurei")); }
    void clickRefresh() { page->findChild<QPushButton*>(QStringLiteral("btGazoCyoPV"))->click(); }

    QTemporaryDir dir;
    platform::ScriptedPrompt prompt;
    AppSettings settings;
    std::unique_ptr<QWidget> page;
    std::unique_ptr<AdjustPreview> preview;
    PreviewPage activePage = PreviewPage::Adjust;
    QString selected;
    QStringList statuses;
};

}  // namespace

TEST_F(AdjustPreviewTest, WithoutSelectionTellsAndHides)
{
    clickRefresh();
    EXPECT_EQ(messages(), QStringList{kNoSelection});
    EXPECT_FALSE(pic2()->isVisible());
    EXPECT_FALSE(preview->AdjustPreviewPicture());
}

TEST_F(AdjustPreviewTest, LoadsTheFirstSelectedPictureFittedToTheBox)
{
    selected = picture();
    for (bool hq : {false, true}) {
        settings.highQualityScaling = hq;
        clickRefresh();
        EXPECT_TRUE(messages().isEmpty());
        const DibHandle& p = preview->AdjustPreviewPicture();
        ASSERT_TRUE(p);
        const QSize box = pic2()->contentsRect().size();
        // 4 : 3 into the box: one side fills it, the other fits inside.
        EXPECT_TRUE(p.width() == box.width() || p.height() == box.height());
        EXPECT_LE(p.width(), box.width());
        EXPECT_LE(p.height(), box.height());
        EXPECT_TRUE(pic2()->isVisible());
        EXPECT_EQ(pic2()->pixmap().size(), QSize(p.width(), p.height()));
        EXPECT_EQ(shown(), qRgb(200, 100, 50));
    }
    EXPECT_EQ(statuses.mid(0, 2), (QStringList{QStringLiteral("画像を読み込んでいます..."), QString()}));
}

TEST_F(AdjustPreviewTest, SizesTheHighQualityFilterRefusesStillPreview)
{
    settings.highQualityScaling = true;
    const QSize box = pic2()->contentsRect().size();
    // The box's own size (nothing to resample), and one column short of the
    // box's width with a low height (only the width moves).
    for (const QSize size : {box, QSize(box.width() - 1, 50)}) {
        selected = picture(size.width(), size.height());
        clickRefresh();
        ASSERT_TRUE(preview->AdjustPreviewPicture());
        EXPECT_EQ(preview->AdjustPreviewPicture().width(), box.width());
        EXPECT_TRUE(pic2()->isVisible());
    }
}

TEST_F(AdjustPreviewTest, UnreadablePictureIsReportedWithItsPath)
{
    selected = picture();
    clickRefresh();
    ASSERT_TRUE(preview->AdjustPreviewPicture());
    selected = dir.filePath(QStringLiteral("broken.jpg"));
    QFile f(selected);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("no picture");
    f.close();
    clickRefresh();
    EXPECT_EQ(messages(), QStringList{selected + QStringLiteral("は読めませんでした。")});
    EXPECT_FALSE(preview->AdjustPreviewPicture());
    EXPECT_FALSE(pic2()->isVisible());
}

TEST_F(AdjustPreviewTest, EachViewStartsFromThePlainPicture)
{
    selected = picture();
    clickRefresh();
    edit("tx_akarusa")->setText(QStringLiteral("100"));
    EXPECT_EQ(shown(), qRgb(255, 255, 255));
    // The colour view shows colour alone: the brightness is not added.
    edit("tx_r")->setText(QStringLiteral("-100"));
    EXPECT_EQ(shown(), qRgb(0, 100, 50));
    // Unreadable values leave the view as it was, without a message.
    edit("tx_g")->setText(QStringLiteral("x"));
    EXPECT_EQ(shown(), qRgb(0, 100, 50));
    EXPECT_TRUE(messages().isEmpty());
    // The preview picture itself is never changed.
    EXPECT_EQ(preview->AdjustPreviewPicture().row(0)[2], 200);
}

TEST_F(AdjustPreviewTest, GrayscaleDisablesTheBoxesAndRefusesChanges)
{
    selected = picture();
    clickRefresh();
    gurei()->setChecked(true);
    const QRgb grey = shown();
    EXPECT_TRUE(qRed(grey) == qGreen(grey) && qGreen(grey) == qBlue(grey));
    EXPECT_FALSE(edit("tx_akarusa")->isEnabled());
    EXPECT_FALSE(page->findChild<QWidget*>(QStringLiteral("ud_b"))->isEnabled());

    preview->tx_akarusaChange();
    preview->tx_rChange();
    EXPECT_EQ(messages(), (QStringList{kNoBrightness, kNoRgb}));

    // Reloading keeps the grey view; unchecking brings back the adjusted one.
    clickRefresh();
    EXPECT_EQ(shown(), grey);
    gurei()->setChecked(false);
    EXPECT_TRUE(edit("tx_r")->isEnabled());
    EXPECT_EQ(shown(), qRgb(200, 100, 50));
}

TEST_F(AdjustPreviewTest, ReloadReappliesTheTypedChange)
{
    edit("tx_akarusa")->setText(QStringLiteral("-100"));  // no preview yet: nothing happens
    selected = picture();
    clickRefresh();
    EXPECT_EQ(shown(), qRgb(0, 0, 0));
}

TEST_F(AdjustPreviewTest, AnotherTabReleasesThePicture)
{
    selected = picture();
    clickRefresh();
    ASSERT_TRUE(preview->AdjustPreviewPicture());
    activePage = PreviewPage::Other;
    preview->btGazoCyoPVClick();  // the work tabs' click
    EXPECT_FALSE(preview->AdjustPreviewPicture());
    // Back on the tab, the picture is loaded again from the selection.
    activePage = PreviewPage::Adjust;
    preview->btGazoCyoPVClick();
    EXPECT_TRUE(preview->AdjustPreviewPicture());
    activePage = PreviewPage::Other;
    preview->LoadAdjustPreview(pic2());
    EXPECT_FALSE(preview->AdjustPreviewPicture());
}

TEST_F(AdjustPreviewTest, TitleTabPreviewFollowsItsCheckBox)
{
    QLabel pic3;
    pic3.resize(120, 90);
    pic3.show();
    activePage = PreviewPage::Titles;
    preview->LoadAdjustPreview(&pic3, false);
    EXPECT_FALSE(pic3.isVisible());
    // Without a selection the title tab stays silent.
    pic3.show();
    preview->LoadAdjustPreview(&pic3, true);
    EXPECT_TRUE(messages().isEmpty());
    EXPECT_FALSE(pic3.isVisible());
    selected = picture();
    preview->LoadAdjustPreview(&pic3, true);
    EXPECT_TRUE(pic3.isVisible());
    EXPECT_EQ(preview->AdjustPreviewPicture().width(), 120);
}
