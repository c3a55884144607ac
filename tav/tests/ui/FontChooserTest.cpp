#include "platform/FontChooser.h"
#include "platform/QtPrompt.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QProgressDialog>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(FontChooserTest, KeepsAnUnchangedStoredNameAndStoresSizeStyleAndColour)
{
    const platform::FontSpec stored{QStringLiteral("ＭＳ Ｐゴシック"), -12, 0x000000, 0};
    platform::FontChooser chooser(stored);
    EXPECT_EQ(chooser.result(), stored);  // nothing touched, nothing changed

    chooser.findChild<QComboBox*>(QStringLiteral("cb_fontSize"))->setCurrentText(QStringLiteral("14"));
    for (const char* style : {"ch_fontBold", "ch_fontItalic", "ch_fontUnderline", "ch_fontStrikeOut"})
        chooser.findChild<QCheckBox*>(QString::fromLatin1(style))->setChecked(true);
    chooser.setColor(0x0000FF);  // red as a colour reference
    EXPECT_EQ(chooser.result(), (platform::FontSpec{QStringLiteral("ＭＳ Ｐゴシック"), 14, 0x0000FF, 15}));

    chooser.findChild<QComboBox*>(QStringLiteral("cb_fontName"))->setCurrentText(QStringLiteral("IPAGothic"));
    EXPECT_EQ(chooser.result().name, QStringLiteral("IPAGothic"));
}

TEST(ProgressBoxTest, AppearsOnlyWhenTheWorkTakesLongerThanTheDelay)
{
    platform::QtPrompt prompts;
    const auto visibleBoxes = [] {
        int n = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            n += qobject_cast<QProgressDialog*>(w) && w->isVisible();
        return n;
    };
    {
        auto quick =
            prompts.openProgress(QStringLiteral("案内"), QStringLiteral("a.jpgを読込み中"), QString());
        quick->setPercent(50);
        quick->setPercent(100);
        EXPECT_EQ(visibleBoxes(), 0);
    }
    auto slow = prompts.openProgress(QStringLiteral("案内"), QStringLiteral("b.jpgを読込み中"), QString());
    slow->setPercent(10);
    QTest::qWait(platform::QtPrompt::kProgressDelayMs + 50);
    slow->setPercent(20);
    EXPECT_EQ(visibleBoxes(), 1);
}

}  // namespace
