#include "platform/ScriptedPrompt.h"
#include "tav/core/ui/UpDown.h"
#include "tav/core/ui/frmOp.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class OptionsDialogTest : public ::testing::Test {
protected:
    OptionsDialogTest()
    {
        settings.gvPath = QStringLiteral("/opt/gv/gv");
        settings.gvWaitSeconds = 7;
        settings.marginTop = 12;
        settings.marginBottom = 13;
        settings.marginLeft = 14;
        settings.marginRight = 15;
        settings.header[SlotLeft] = {{QStringLiteral("ＭＳ Ｐゴシック"), 12, 0, 0}, 1};
        settings.header[SlotCentre].type = 3;
        settings.headerTitle = QStringLiteral("旅行");
        settings.footer[SlotRight].type = 1;
        settings.footerTitle = QStringLiteral("終");
        settings.fileNameFont = {QStringLiteral("ＭＳ ゴシック"), 10, 0, 0};
    }

    std::unique_ptr<TfrOp> open(PageMargins minimum = {})
    {
        auto dialog = std::make_unique<TfrOp>(settings, QStringLiteral("/home/u/写真"), minimum);
        dialog->show();
        return dialog;
    }
    template <class T>
    static T* child(QWidget* dialog, const char* name)
    {
        T* widget = dialog->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    static void press(QWidget* dialog, const char* button) { child<QPushButton>(dialog, button)->click(); }
    static QLabel* label(QWidget* dialog, const char* name) { return child<QLabel>(dialog, name); }

    AppSettings settings;
    platform::ScriptedPrompt prompt;
};

TEST_F(OptionsDialogTest, OkStoresEveryPageAndShowsNoMessage)
{
    auto dialog = open();
    EXPECT_EQ(child<QLineEdit>(dialog.get(), "tx_gv_path")->text(), QStringLiteral("/opt/gv/gv"));
    EXPECT_EQ(child<QLineEdit>(dialog.get(), "tx_UeYohaku")->text(), QStringLiteral("12"));
    EXPECT_EQ(child<QLineEdit>(dialog.get(), "tx_migiYohaku")->text(), QStringLiteral("15"));

    child<QLineEdit>(dialog.get(), "tx_hidariYohaku")->setText(QStringLiteral("21"));
    child<QLineEdit>(dialog.get(), "tx_migiYohaku")->setText(QStringLiteral("22"));
    child<QComboBox>(dialog.get(), "cb_HeR")->setCurrentIndex(2);
    child<QComboBox>(dialog.get(), "cb_FuC")->setCurrentIndex(2);
    child<QLineEdit>(dialog.get(), "tx_FutaTitle")->setText(QStringLiteral("おわり"));
    child<QCheckBox>(dialog.get(), "cb_HeKyoukaiSen")->setChecked(true);
    child<QComboBox>(dialog.get(), "cb_HeSenFutosa")->setCurrentIndex(3);
    child<QCheckBox>(dialog.get(), "ch_pelcalc_flg")->setChecked(true);
    EXPECT_TRUE(child<QCheckBox>(dialog.get(), "ch_exifKaiten")->isChecked());
    child<QCheckBox>(dialog.get(), "ch_exifGps")->setChecked(false);
    press(dialog.get(), "bt_ok");

    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(settings.marginTop, 12);
    EXPECT_EQ(settings.marginBottom, 13);
    EXPECT_EQ(settings.marginLeft, 21);
    EXPECT_EQ(settings.marginRight, 22);
    EXPECT_EQ(settings.header[SlotLeft].type, 1);
    EXPECT_EQ(settings.header[SlotCentre].type, 3);
    EXPECT_EQ(settings.header[SlotRight].type, 2);
    EXPECT_EQ(settings.footer[SlotCentre].type, 2);
    EXPECT_EQ(settings.footer[SlotRight].type, 1);
    EXPECT_EQ(settings.footerTitle, QStringLiteral("おわり"));
    EXPECT_TRUE(settings.headerLine);
    EXPECT_EQ(settings.headerLineSize, 3);
    EXPECT_TRUE(settings.highQualityScaling);
    EXPECT_TRUE(settings.uprightPictures && settings.colourProfiles && settings.exifShootingDate);
    EXPECT_FALSE(settings.keepGpsOnConvert);
    EXPECT_EQ(settings.gvPath, QStringLiteral("/opt/gv/gv"));
    EXPECT_EQ(settings.gvWaitSeconds, 7);
    EXPECT_TRUE(prompt.shown().isEmpty());
}

TEST_F(OptionsDialogTest, CancelEnterAndTheCloseBoxStoreNothing)
{
    const AppSettings before = settings;
    auto edit = [this](TfrOp* d) {
        child<QLineEdit>(d, "tx_UeYohaku")->setText(QStringLiteral("40"));
        child<QLineEdit>(d, "tx_hetaTitle")->setText(QStringLiteral("変更"));
        child<QComboBox>(d, "cb_FuL")->setCurrentIndex(1);
    };
    {
        auto dialog = open();
        edit(dialog.get());
        press(dialog.get(), "bt_can");
        EXPECT_EQ(dialog->result(), QDialog::Rejected);
    }
    {
        auto dialog = open();
        edit(dialog.get());
        QLineEdit* title = child<QLineEdit>(dialog.get(), "tx_hetaTitle");
        title->setFocus();
        QTest::keyClick(title, Qt::Key_Return);
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(dialog->result(), QDialog::Rejected);
    }
    {
        auto dialog = open();
        edit(dialog.get());
        dialog->close();
    }
    EXPECT_EQ(settings.marginTop, before.marginTop);
    EXPECT_EQ(settings.headerTitle, before.headerTitle);
    EXPECT_EQ(settings.footer[SlotLeft].type, before.footer[SlotLeft].type);
}

// The counter stops at the printer's minimum, but a smaller margin typed in
// the field, or one already stored, is kept.
TEST_F(OptionsDialogTest, MarginsBelowThePrinterMinimum)
{
    settings.marginTop = 2;
    settings.marginBottom = 0;
    auto dialog = open({5, 4, 3, 6});
    EXPECT_EQ(child<QGroupBox>(dialog.get(), "gp_ue")->title(), QStringLiteral("上余白(最小5mm～)"));
    EXPECT_EQ(child<QGroupBox>(dialog.get(), "gp_sita")->title(), QStringLiteral("下余白(最小4mm～)"));
    EXPECT_EQ(child<QGroupBox>(dialog.get(), "gp_hidari")->title(), QStringLiteral("左余白(最小6mm～)"));
    EXPECT_EQ(child<QGroupBox>(dialog.get(), "gp_migi")->title(), QStringLiteral("右余白(最小3mm～)"));

    EXPECT_EQ(child<QLineEdit>(dialog.get(), "tx_UeYohaku")->text(), QStringLiteral("2"));
    UpDown* top = child<UpDown>(dialog.get(), "Ud_ueYohaku");
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(top->minimum(), 5);
    top->setPosition(0);
    EXPECT_EQ(top->position(), 5);

    QLineEdit* bottom = child<QLineEdit>(dialog.get(), "tx_sitaYohaku");
    EXPECT_EQ(bottom->text(), QStringLiteral("0"));
    bottom->clear();  // an empty field stores 0
    QLineEdit* field = child<QLineEdit>(dialog.get(), "tx_UeYohaku");
    field->clear();
    QTest::keyClicks(field, QStringLiteral("a1-b"));
    EXPECT_EQ(field->text(), QStringLiteral("1"));
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, QStringLiteral("2"));
    press(dialog.get(), "bt_ok");

    EXPECT_EQ(settings.marginTop, 2);
    EXPECT_EQ(settings.marginBottom, 0);
    EXPECT_EQ(bottom->text(), QStringLiteral("0"));
}

TEST_F(OptionsDialogTest, HeaderAndFooterPreviews)
{
    auto dialog = open();
    QLabel* left = label(dialog.get(), "lb_L");
    QLabel* centre = label(dialog.get(), "lb_C");
    QLabel* right = label(dialog.get(), "lb_R");
    EXPECT_EQ(left->text(), QStringLiteral("/home/u/写真"));
    EXPECT_EQ(centre->text(), QStringLiteral("旅行"));
    EXPECT_TRUE(right->isHidden());
    EXPECT_EQ(label(dialog.get(), "lb_fuR")->text(), QStringLiteral("-1-"));
    EXPECT_TRUE(label(dialog.get(), "lb_fuL")->isHidden());

    // Choosing the folder again shows the sample folder until the dialog reopens.
    child<QComboBox>(dialog.get(), "cb_HeR")->setCurrentIndex(1);
    EXPECT_FALSE(right->isHidden());
    EXPECT_EQ(right->text(), QStringLiteral("c:\\windows"));
    child<QLineEdit>(dialog.get(), "tx_hetaTitle")->setText(QStringLiteral("運動会"));
    EXPECT_EQ(centre->text(), QStringLiteral("運動会"));
    EXPECT_EQ(left->text(), QStringLiteral("/home/u/写真"));
    child<QComboBox>(dialog.get(), "cb_HeL")->setCurrentIndex(0);
    EXPECT_TRUE(left->isHidden());

    child<QComboBox>(dialog.get(), "cb_FuL")->setCurrentIndex(2);
    child<QLineEdit>(dialog.get(), "tx_FutaTitle")->setText(QStringLiteral("おわり"));
    EXPECT_EQ(label(dialog.get(), "lb_fuL")->text(), QStringLiteral("おわり"));

    // The labels sit left, centred and right in the preview box.
    const int width = right->parentWidget()->width();
    EXPECT_LT(right->x() + right->width(), width);
    EXPECT_GT(right->x(), width / 2);
    EXPECT_NEAR(centre->x() + centre->width() / 2, width / 2, 1);

    QWidget* line = child<QWidget>(dialog.get(), "sp_heLine");
    EXPECT_TRUE(line->isHidden());
    child<QCheckBox>(dialog.get(), "cb_HeKyoukaiSen")->setChecked(true);
    child<QComboBox>(dialog.get(), "cb_HeSenFutosa")->setCurrentIndex(3);
    EXPECT_FALSE(line->isHidden());
    EXPECT_EQ(line->height(), 3);
    EXPECT_GT(line->y(), left->y());
}

// A large label font makes the preview box taller rather than cutting the label off.
TEST_F(OptionsDialogTest, APreviewBoxHoldsItsTallestLabel)
{
    settings.header[SlotCentre].font = {QStringLiteral("ＭＳ Ｐゴシック"), 48, 0, 0};
    settings.footer[SlotRight].font = {QStringLiteral("ＭＳ Ｐゴシック"), 30, 0, 0};
    auto dialog = open();
    for (const char* name : {"lb_C", "lb_fuR"}) {
        QLabel* tall = label(dialog.get(), name);
        EXPECT_LT(tall->geometry().bottom(), tall->parentWidget()->height()) << name;
    }
    QLabel* centre = label(dialog.get(), "lb_C");
    child<QCheckBox>(dialog.get(), "cb_HeKyoukaiSen")->setChecked(true);
    QWidget* line = child<QWidget>(dialog.get(), "sp_heLine");
    EXPECT_LT(line->geometry().bottom(), centre->parentWidget()->height());

    child<QComboBox>(dialog.get(), "cb_HeC")->setCurrentIndex(0);
    EXPECT_EQ(centre->parentWidget()->height(), 64);  // back to its usual height
}

// A stored slot type the list does not offer shows, and is stored, as "なし".
TEST_F(OptionsDialogTest, UnknownSlotTypesBecomeNone)
{
    settings.header[SlotRight].type = 9;
    settings.footer[SlotLeft].type = -2;
    settings.headerLineSize = 7;
    auto dialog = open();
    EXPECT_TRUE(label(dialog.get(), "lb_R")->isHidden());
    press(dialog.get(), "bt_ok");
    EXPECT_EQ(settings.header[SlotRight].type, 0);
    EXPECT_EQ(settings.footer[SlotLeft].type, 0);
    EXPECT_EQ(settings.headerLineSize, 0);
}

TEST_F(OptionsDialogTest, FontButtonsAskWithTheTargetsFontAndStoreOnlyOnOk)
{
    const platform::FontSpec chosen{QStringLiteral("ＭＳ Ｐ明朝"), 18, 0x0000ff, 0};
    auto dialog = open();
    prompt.answer(std::optional<platform::FontSpec>(chosen));
    press(dialog.get(), "bt_L_fontSet");
    prompt.answer(std::optional<platform::FontSpec>());  // cancelled
    press(dialog.get(), "bt_file_font");
    prompt.answer(std::optional<platform::FontSpec>(chosen));
    press(dialog.get(), "bt_fuC_fontSet");

    ASSERT_EQ(prompt.shown().size(), 3);
    for (const platform::PromptRecord& r : prompt.shown())
        EXPECT_EQ(r.type, platform::PromptRecord::Type::Font);
    EXPECT_EQ(prompt.shown()[0].text, QStringLiteral("ＭＳ Ｐゴシック"));
    EXPECT_EQ(prompt.shown()[1].text, QStringLiteral("ＭＳ ゴシック"));
    EXPECT_EQ(label(dialog.get(), "lb_L")->font().family(), QFont(QStringLiteral("ＭＳ Ｐ明朝")).family());
    EXPECT_NE(settings.header[SlotLeft].font, chosen);

    press(dialog.get(), "bt_ok");
    EXPECT_EQ(settings.header[SlotLeft].font, chosen);
    EXPECT_EQ(settings.footer[SlotCentre].font, chosen);
    EXPECT_EQ(settings.fileNameFont.name, QStringLiteral("ＭＳ ゴシック"));
    EXPECT_NE(settings.footer[SlotLeft].font, chosen);
}

// The menu's way in: modal over its owner, released after.
TEST_F(OptionsDialogTest, ExecuteReturnsWhetherOkStored)
{
    QWidget owner;
    QTimer::singleShot(0, [] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        dialog->findChild<QLineEdit*>(QStringLiteral("tx_hetaTitle"))->setText(QStringLiteral("新しい題"));
        dialog->findChild<QPushButton*>(QStringLiteral("bt_ok"))->click();
    });
    EXPECT_TRUE(TfrOp::Execute(&owner, settings, QString(), {}));
    EXPECT_EQ(settings.headerTitle, QStringLiteral("新しい題"));

    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    EXPECT_FALSE(TfrOp::Execute(&owner, settings, QString(), {}));
    EXPECT_TRUE(owner.findChildren<TfrOp*>().isEmpty());
}

}  // namespace
