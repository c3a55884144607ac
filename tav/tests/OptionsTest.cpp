#include "tav/core/OptionsModel.h"

#include <gtest/gtest.h>

namespace {

platform::FontSpec font(const char* name, int size)
{
    platform::FontSpec f;
    f.name = QString::fromUtf8(name);
    f.size = size;
    return f;
}

// Settings where every field the dialog edits differs from its default and
// from every other field, so that a value landing in the wrong place shows.
AppSettings distinctSettings()
{
    AppSettings s;
    s.gvPath = QStringLiteral("/opt/gv/gv");
    s.gvIs080OrLater = true;
    s.gvWaitSeconds = 9;
    s.highQualityScaling = true;
    s.fileNameFont = font("ＭＳ ゴシック", 11);
    s.commentFont = font("ＭＳ Ｐ明朝", 13);
    for (int i = 0; i < 3; ++i) {
        s.header[i] = {font("ＭＳ Ｐゴシック", 20 + i), i + 1};
        s.footer[i] = {font("ＭＳ Ｐゴシック", 30 + i), 2 - i};
    }
    s.headerTitle = QStringLiteral("旅行");
    s.footerTitle = QStringLiteral("二〇二六年");
    s.headerLine = true;
    s.headerLineSize = 3;
    s.footerLine = true;
    s.footerLineSize = 2;
    s.marginTop = 1;
    s.marginBottom = 2;
    s.marginRight = 3;
    s.marginLeft = 4;
    return s;
}

TEST(OptionsModel, StoringAnUneditedCopyChangesNothingAndKeepsTheFieldsTheDialogDoesNotEdit)
{
    const AppSettings original = distinctSettings();
    AppSettings target = original;
    target.spoolWaitSeconds = 17;
    target.previewZoom = 1.5;
    target.showHintsAtStart = false;
    target.customColors[3] = QStringLiteral("ColorD=ff00aa");
    target.marginTop = 40;  // an edited field must be overwritten

    storeOptions(optionsOf(original), target);

    EXPECT_EQ(target.marginTop, 1);
    EXPECT_EQ(target.marginBottom, 2);
    EXPECT_EQ(target.marginRight, 3);
    EXPECT_EQ(target.marginLeft, 4);
    EXPECT_EQ(target.gvPath, QStringLiteral("/opt/gv/gv"));
    EXPECT_TRUE(target.gvIs080OrLater);
    EXPECT_EQ(target.gvWaitSeconds, 9);
    EXPECT_TRUE(target.highQualityScaling);
    EXPECT_EQ(target.fileNameFont, original.fileNameFont);
    EXPECT_EQ(target.commentFont, original.commentFont);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(target.header[i].font, original.header[i].font) << i;
        EXPECT_EQ(target.header[i].type, original.header[i].type) << i;
        EXPECT_EQ(target.footer[i].font, original.footer[i].font) << i;
        EXPECT_EQ(target.footer[i].type, original.footer[i].type) << i;
    }
    EXPECT_EQ(target.headerTitle, original.headerTitle);
    EXPECT_EQ(target.footerTitle, original.footerTitle);
    EXPECT_TRUE(target.headerLine);
    EXPECT_EQ(target.headerLineSize, 3);
    EXPECT_TRUE(target.footerLine);
    EXPECT_EQ(target.footerLineSize, 2);

    EXPECT_EQ(target.spoolWaitSeconds, 17);
    EXPECT_EQ(target.previewZoom, 1.5);
    EXPECT_FALSE(target.showHintsAtStart);
    EXPECT_EQ(target.customColors[3], QStringLiteral("ColorD=ff00aa"));
}

TEST(OptionsModel, TheCopyIsIndependentOfTheSettingsUntilStored)
{
    AppSettings settings = distinctSettings();
    OptionsForm form = optionsOf(settings);
    form.margins.left = 33;
    form.gvPath = QStringLiteral("/elsewhere/gv");
    fontOf(form, FontTarget::FooterCentre).size = 99;
    EXPECT_EQ(settings.marginLeft, 4);
    EXPECT_EQ(settings.gvPath, QStringLiteral("/opt/gv/gv"));
    EXPECT_EQ(settings.footer[SlotCentre].font.size, 31);

    storeOptions(form, settings);
    EXPECT_EQ(settings.marginLeft, 33);
    EXPECT_EQ(settings.marginRight, 3);
    EXPECT_EQ(settings.gvPath, QStringLiteral("/elsewhere/gv"));
    EXPECT_EQ(settings.footer[SlotCentre].font.size, 99);
    EXPECT_EQ(settings.footer[SlotRight].font.size, 32);
}

// The footer's buttons are tagged 4 (left), 8 (centre) and 5 (right); the
// comment font takes tag 7 and every tag not listed.
TEST(OptionsModel, FontButtonTagsReachTheirTargets)
{
    AppSettings settings = distinctSettings();
    OptionsForm form = optionsOf(settings);
    const struct {
        int tag;
        const platform::FontSpec* expected;
    } cases[] = {
        {1, &form.header[SlotLeft].font},
        {2, &form.header[SlotCentre].font},
        {3, &form.header[SlotRight].font},
        {4, &form.footer[SlotLeft].font},
        {5, &form.footer[SlotRight].font},
        {8, &form.footer[SlotCentre].font},
        {6, &form.fileNameFont},
        {7, &form.commentFont},
        {0, &form.commentFont},
        {9, &form.commentFont},
        {-1, &form.commentFont},
    };
    for (const auto& c : cases)
        EXPECT_EQ(&fontOf(form, fontTargetOfTag(c.tag)), c.expected) << "tag " << c.tag;
}

TEST(OptionsModel, MarginCaptionAndFields)
{
    EXPECT_EQ(marginGroupCaption(QStringLiteral("上余白("), 5), QStringLiteral("上余白(最小5mm～)"));
    EXPECT_EQ(marginGroupCaption(QStringLiteral("右余白("), 0), QStringLiteral("右余白(最小0mm～)"));

    // Below the printer's minimum and above the counter's 50 are both kept:
    // the field, not the counter, holds the margin.
    EXPECT_EQ(marginFromField(QStringLiteral("2")), 2);
    EXPECT_EQ(marginFromField(QStringLiteral("999")), 999);
    EXPECT_EQ(marginFromField(QStringLiteral("007")), 7);
    EXPECT_EQ(marginFromField(QString()), 0);
    EXPECT_EQ(marginFromField(QStringLiteral("1000")), 0);
    EXPECT_EQ(marginFromField(QStringLiteral("-3")), 0);
    EXPECT_EQ(marginFromField(QStringLiteral("1a")), 0);
    EXPECT_EQ(marginFromField(QStringLiteral("0x1")), 0);
}

TEST(OptionsModel, PreviewLines)
{
    EXPECT_EQ(previewLineThickness(0), 1);
    EXPECT_EQ(previewLineThickness(1), 1);
    EXPECT_EQ(previewLineThickness(2), 2);
    EXPECT_EQ(previewLineThickness(3), 3);
    EXPECT_EQ(previewLineThickness(-1), 1);

    // "太" with only the centre label visible at a 12-pixel height: 12 + 1 below the left label.
    EXPECT_EQ(headerLineTop(6, {12}, 3), 6 + 12 + 1);
    // The tallest of the visible labels counts, by its absolute height.
    EXPECT_EQ(headerLineTop(6, {10, -16, 12}, 2), 6 + 16 + 1);
    EXPECT_EQ(headerLineTop(6, {}, 1), 6);
    EXPECT_EQ(footerLineTop(30, 3), 28);
    EXPECT_EQ(footerLineTop(30, 2), 29);
    EXPECT_EQ(footerLineTop(30, 1), 29);
}

TEST(OptionsModel, SlotTexts)
{
    const QString folder = QStringLiteral("/home/u/写真");
    const QString date = QStringLiteral("2026/12/08");
    const QString title = QStringLiteral("運動会");
    EXPECT_EQ(headerSlotText(0, folder, date, title), std::nullopt);
    EXPECT_EQ(headerSlotText(1, folder, date, title), folder);
    EXPECT_EQ(headerSlotText(2, folder, date, title), date);
    EXPECT_EQ(headerSlotText(3, folder, date, title), title);
    EXPECT_EQ(headerSlotText(4, folder, date, title), std::nullopt);
    EXPECT_EQ(footerSlotText(0, title), std::nullopt);
    EXPECT_EQ(footerSlotText(1, title), QStringLiteral("-1-"));
    EXPECT_EQ(footerSlotText(2, title), title);
    EXPECT_EQ(footerSlotText(3, title), std::nullopt);
    // An empty title still shows its (empty) label rather than hiding it.
    EXPECT_EQ(footerSlotText(2, QString()), QString());
}

}  // namespace
