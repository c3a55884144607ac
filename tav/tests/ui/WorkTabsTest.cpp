// The work tabs as the window and the settings see them: every control under
// its name, with its caption, its entries, its range and its initial state.
#include "tav/core/ui/WorkTabs.h"
#include "tav/core/ui/ColorSwatch.h"
#include "tav/core/ui/UpDown.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QValidator>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

constexpr int kTabCount = 11;
// The page area of the 800 × 598 window beside its file column.
constexpr int kPageWidth = 560;
constexpr int kPageHeight = 420;

class WorkTabsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        // The window's font; the installed IPA font stands in for it.
        QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"));
        for (const WorkTab& entry : kWorkTabs) {
            std::unique_ptr<QWidget> page(entry.build());
            page->setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));
            pages().push_back(std::move(page));
        }
    }
    static void TearDownTestSuite() { pages().clear(); }

    static std::vector<std::unique_ptr<QWidget>>& pages()
    {
        static std::vector<std::unique_ptr<QWidget>> built;
        return built;
    }

    template <class Control>
    static Control* control(int tab, const char* name)
    {
        return pages().at(tab)->findChild<Control*>(QString::fromLatin1(name));
    }
};

TEST_F(WorkTabsTest, ElevenTabsInWindowOrder)
{
    const char* captions[kTabCount] = {"1ﾍﾟｰｼﾞ1画像印刷", "1ﾍﾟｰｼﾞ複数画像印刷", "ﾌﾟﾘｸﾗ印刷",   "画像調整",
                                       "ﾌｧｲﾙ変換",        "一括ｻﾑﾈｲﾙ",          "ｲﾝﾃﾞｯｸｽ印刷", "ｻｰﾋﾞｽ版印刷",
                                       "ｱﾙﾊﾞﾑ印刷",       "ﾀｲﾄﾙとｺﾒﾝﾄ",         "HTML"};
    ASSERT_EQ(std::size(kWorkTabs), std::size_t(kTabCount));
    ASSERT_EQ(pages().size(), std::size_t(kTabCount));
    for (int tab = 0; tab < kTabCount; ++tab) {
        EXPECT_STREQ(kWorkTabs[tab].caption, captions[tab]) << tab;
        EXPECT_NE(pages()[tab], nullptr) << tab;
    }
}

TEST_F(WorkTabsTest, CommandButtonsCarryTheirCaptions)
{
    struct Command {
        int tab;
        const char* name;
        const char* caption;
    };
    const Command commands[] = {
        {0, "bt_Prt", "印刷実行"},
        {0, "bt_PrtPv", "ﾌﾟﾚﾋﾞｭｰ"},
        {1, "bt_nnPrint", "印刷実行"},
        {1, "bt_nnPv", "ﾌﾟﾚﾋﾞｭｰ"},
        {2, "bt_PuriKura", "印刷実行"},
        {2, "bt_PuriKuraPv", "ﾌﾟﾚﾋﾞｭｰ"},
        {2, "bt_kasaneSet", "参照...."},
        {3, "btGazoCyoPV", "ﾌﾟﾚﾋﾞｭｰの再表示"},
        {4, "bt_fileConv", "変換実行"},
        {4, "bt_path_set", "参照..."},
        {5, "bt_sumNe", "ｻﾑﾈｲﾙの作成"},
        {5, "bt_sumPv", "ﾌﾟﾚﾋﾞｭｰ"},
        {5, "bt_suOutPath", "参照..."},
        {5, "bt_suDaishi", "参照..."},
        {6, "bt_prAPS", "印刷実行"},
        {6, "bt_pvAPS", "ﾌﾟﾚﾋﾞｭｰ"},
        {7, "bt_prSv", "印刷実行"},
        {7, "bt_pvSV", "ﾌﾟﾚﾋﾞｭｰ"},
        {8, "bt_albmPr", "印刷実行"},
        {8, "bt_albmPV", "ﾌﾟﾚﾋﾞｭｰ"},
        {9, "Button4", "ﾀｲﾄﾙとｺﾒﾝﾄを編集する"},
        {10, "bt_mkHtml", "HTMLの作成"},
    };
    for (const Command& command : commands) {
        auto* button = control<QPushButton>(command.tab, command.name);
        ASSERT_NE(button, nullptr) << command.name;
        EXPECT_EQ(button->text(), QString::fromUtf8(command.caption)) << command.name;
    }
}

TEST_F(WorkTabsTest, HelpButtonsOpenTheirTopics)
{
    struct Help {
        int tab;
        const char* name;
        int context;
    };
    const Help helps[] = {{0, "bt_help", 5},    {1, "Button1", 6},  {2, "Button2", 7},
                          {3, "Button3", 10},   {5, "Button5", 36}, {6, "bt_HelpAPS", 42},
                          {7, "bt_helpSV", 44}, {8, "Button7", 43}, {10, "bt_html_showHelp", 52}};
    for (const Help& help : helps) {
        auto* button = control<QPushButton>(help.tab, help.name);
        ASSERT_NE(button, nullptr) << help.name;
        EXPECT_EQ(button->text(), QStringLiteral("ヘルプ")) << help.name;
        EXPECT_EQ(button->property("helpContext").toInt(), help.context) << help.name;
    }
    // Only the listed buttons carry a topic: tabs 4 and 9 have none.
    for (int tab = 0; tab < kTabCount; ++tab) {
        int withContext = 0;
        for (QWidget* widget : pages()[tab]->findChildren<QWidget*>())
            withContext += widget->property("helpContext").isValid();
        EXPECT_EQ(withContext, (tab == 4 || tab == 9) ? 0 : 1) << tab;
    }
}

// The settings store a list's choice as its index: the entries and their order
// decide what a stored number means.
TEST_F(WorkTabsTest, DropDownListsOfferExactlyTheirEntries)
{
    const QStringList oneToTwenty = {"1",  "2",  "3",  "4",  "5",  "6",  "7",  "8",  "9",  "10",
                                     "11", "12", "13", "14", "15", "16", "17", "18", "19", "20"};
    struct List {
        int tab;
        const char* name;
        QStringList entries;
        int index;
    };
    const List lists[] = {
        {1, "cb_gaSu", {"2", "4", "6", "8", "15", "30", "40", "50"}, 0},
        {1, "suWPr", oneToTwenty, 2},
        {1, "suHPr", oneToTwenty, 4},
        {4, "cb_bmp_coln", {"そのまま", "2色（白黒）", "16色", "２５６色", "ﾌﾙｶﾗｰ"}, 0},
        {4, "cb_tif_comp", {"非圧縮", "CCITTRLE", "GROUP3 1D", "GROUP3 2D", "GROUP4", "PACKBITS"}, 0},
        {4, "cb_tif_coln", {"そのまま", "２色（白黒）", "16色", "２５６色", "ﾌﾙｶﾗｰ"}, 0},
        {5, "suSizeW", {"320", "400", "480", "600", "640", "768", "800", "1024", "1200", "1280", "1600"}, 5},
        {5, "suSizeH", {"240", "300", "480", "600", "640", "768", "800", "1024", "1200", "1280", "1600"}, 3},
        {5, "suW", oneToTwenty, 5},
        {5, "suH", oneToTwenty, 4},
        {5, "suType", {"BMP", "JPG", "TIF"}, 1},
        {10, "pgTitleIchiHt", {"左", "中心", "右"}, 1},
        {10, "cb_pgFontSizeHt", {"-5", "-4", "-3", "-2", "-1", "0", "+1", "+2", "+3", "+4", "+5"}, 9},
    };
    for (const List& list : lists) {
        auto* combo = control<QComboBox>(list.tab, list.name);
        ASSERT_NE(combo, nullptr) << list.name;
        EXPECT_FALSE(combo->isEditable()) << list.name;
        QStringList shown;
        for (int i = 0; i < combo->count(); ++i)
            shown << combo->itemText(i);
        EXPECT_EQ(shown, list.entries) << list.name;
        EXPECT_EQ(combo->currentIndex(), list.index) << list.name;
    }
    EXPECT_EQ(control<QComboBox>(10, "cb_pgFontSizeHt")->currentText(), QStringLiteral("+4"));
}

TEST_F(WorkTabsTest, CountersPairWithTheirFieldsAndRanges)
{
    struct Counter {
        int tab;
        const char* counter;
        const char* edit;
        int min;
        int max;
        int position;
    };
    const Counter counters[] = {
        {1, "ud_komaYohaku", "tx_komaYohaku", 0, 20, 0},
        {2, "ud_komaHabaMM", "tx_komaHabaMM", 10, 190, 40},
        {3, "ud_akarusa", "tx_akarusa", -100, 100, 0},
        {3, "ud_r", "tx_r", -100, 100, 0},
        {3, "ud_g", "tx_g", -100, 100, 0},
        {3, "ud_b", "tx_b", -100, 100, 0},
        {4, "UpDown1", "ed_jpg_comp", 0, 100, 60},
        {4, "UpDown2", "tx_outW", 1, 32767, 320},
        {4, "UpDown3", "tx_outH", 1, 32767, 240},
        {5, "UpDown5", "suYohaku", 0, 100, 0},
        {5, "UpDown7", "su_jpg_comp", 0, 100, 100},
        {8, "UpDown6", "tx_AL_yohaku", 0, 20, 0},
        {10, "ud_tx_pgWidthHt", "tx_pgWidthHt", 10, 2000, 512},
        {10, "ud_tx_MaxXnHt", "tx_MaxXnHt", 1, 100, 5},
        {10, "ud_tx_samuW_ht", "tx_samuW_ht", 5, 1024, 144},
        {10, "ud_tx_samuH_ht", "tx_samuH_ht", 5, 1024, 94},
    };
    for (const Counter& expected : counters) {
        auto* counter = control<UpDown>(expected.tab, expected.counter);
        ASSERT_NE(counter, nullptr) << expected.counter;
        EXPECT_EQ(counter->edit()->objectName(), QString::fromLatin1(expected.edit)) << expected.counter;
        EXPECT_EQ(counter->minimum(), expected.min) << expected.counter;
        EXPECT_EQ(counter->maximum(), expected.max) << expected.counter;
        EXPECT_EQ(counter->position(), expected.position) << expected.counter;
        EXPECT_EQ(counter->edit()->text(), QString::number(expected.position)) << expected.counter;
    }
}

TEST_F(WorkTabsTest, SwitchesStartAtTheirDefaults)
{
    struct Switch {
        int tab;
        const char* name;
        bool radio;
        bool checked;
        const char* caption;
    };
    const Switch switches[] = {
        {0, "ch_zentai", true, true, "用紙全体に印刷"},
        {0, "ch_saiteki", false, false, "最適化する"},
        {0, "ch_size", true, false, "指定したサイズで印刷"},
        {0, "ch_tateYoko", false, true, "縦横比率を維持"},
        {0, "ch_cyu", false, true, nullptr},
        {0, "ch_fileNamePr1", false, false, "ﾌｧｲﾙ名もﾌﾟﾘﾝﾄする"},
        {0, "ch_gazouInfo1", false, false, "画像ｻｲｽﾞと色数もﾌﾟﾘﾝﾄする"},
        {0, "ch_satuDatePr1", false, false, "撮影日付もﾌﾟﾘﾝﾄする"},
        {0, "ch_prTitlePr1", false, false, "ｺﾒﾝﾄのﾀｲﾄﾙもﾌﾟﾘﾝﾄする"},
        {0, "ch_kakuCyoshiPr1", false, false, "拡張子を印刷しない(ﾌｧｲﾙ名ﾌﾟﾘﾝﾄする場合に有効)"},
        {0, "ch_hetaNasiPr1", false, true, "ﾍｯﾀﾞｰを印刷する"},
        {0, "ch_futaNasiPr1", false, true, "ﾌｯﾀｰを印刷する"},
        {0, "ch_yohakuNasiPr1", false, false, "余白なし"},
        {1, "cb_gaSuKaraPr", true, true, "画像数から決める"},
        {1, "cb_tateYokoKaraPr", true, false, "縦横の画像数を指定して決める"},
        {1, "ch_fileNamePr", false, false, "ﾌｧｲﾙ名もﾌﾟﾘﾝﾄする"},
        {1, "ch_gazouInfo", false, false, "画像ｻｲｽﾞと色数もﾌﾟﾘﾝﾄする"},
        {1, "ch_satuDatePr", false, false, "撮影日付もﾌﾟﾘﾝﾄする"},
        {1, "ch_titlePr", false, false, "ｺﾒﾝﾄのﾀｲﾄﾙもﾌﾟﾘﾝﾄする"},
        {1, "ch_kakuCyoshiPr", false, false, "拡張子を印刷しない(ﾌｧｲﾙ名ﾌﾟﾘﾝﾄする場合に有効)"},
        {1, "ch_saitekiPr", false, false, "最適化する"},
        {1, "ch_hetaNasiPr", false, true, "ﾍｯﾀﾞｰを印刷する"},
        {1, "ch_futaNasiPr", false, true, "ﾌｯﾀｰを印刷する"},
        {1, "ch_yohakuNasiPr", false, false, "余白なし"},
        {1, "cb_onazi", false, false, "同一画像を1ﾍﾟｰｼﾞに展開"},
        {2, "ch_tonbo", false, false, "トンボを印刷する"},
        {3, "ch_gurei", false, false, "ｶﾗｰｲﾒｰｼﾞをｸﾞﾚｲｽｹｰﾙで印刷"},
        {4, "rb_bmp", true, true, "BMPに変換する"},
        {4, "rb_jpg", true, false, "JPGに変換する"},
        {4, "rb_tif", true, false, "TIFに変換する"},
        {4, "cb_bmp_comp", false, false, "圧縮する"},
        {4, "cb_tateYokoHi", false, true, "して、"},
        {4, "cb_size", false, false, "する"},
        {5, "suKage", false, false, "影を付ける"},
        {5, "suPrFname", false, false, "ﾌｧｲﾙ名もﾌﾟﾘﾝﾄする"},
        {5, "suPrGInfo", false, false, "画像ｻｲｽﾞと色数もﾌﾟﾘﾝﾄする"},
        {5, "ch_satuDateSu", false, false, "撮影日付もﾌﾟﾘﾝﾄする"},
        {5, "ch_prTitleSu", false, false, "ｺﾒﾝﾄのﾀｲﾄﾙもﾌﾟﾘﾝﾄする"},
        {5, "ch_kakuCyoshiSU", false, false, "拡張子を印刷しない(ﾌｧｲﾙ名ﾌﾟﾘﾝﾄする場合に有効)"},
        {6, "ch_fileNameAPS", false, false, "ﾌｧｲﾙ名もﾌﾟﾘﾝﾄする"},
        {6, "ch_gazouInfoAPS", false, false, "画像ｻｲｽﾞと色数もﾌﾟﾘﾝﾄする"},
        {6, "ch_satuDateAPS", false, false, "撮影日付もﾌﾟﾘﾝﾄする"},
        {6, "ch_prTitleAPS", false, false, "ｺﾒﾝﾄのﾀｲﾄﾙもﾌﾟﾘﾝﾄする"},
        {6, "ch_kakuCyoshiAPS", false, false, "拡張子を印刷しない(ﾌｧｲﾙ名ﾌﾟﾘﾝﾄする場合に有効)"},
        {6, "ch_saitekiAPS", false, false, "最適化する"},
        {7, "rb_sb", true, true, "ｻｰﾋﾞｽ版"},
        {7, "rb_L", true, false, "Ｌ版"},
        {7, "rb_LL", true, false, "ＬＬ(ｷｬﾋﾞﾈ)版"},
        {7, "rb_8", true, false, "八つ切り(157×207mm)"},
        {7, "rb_6", true, false, "六つ切り(194×245mm)"},
        {7, "rb_4", true, false, "四つ切り(245×295mm)"},
        {7, "rb_6w", true, false, "六つ切りﾜｲﾄﾞ(194X295mm)"},
        {7, "rb_6ws", true, false, "六つ切りﾜｲﾄﾞ S(180X274mm)"},
        {7, "rb_4w", true, false, "四つ切りﾜｲﾄﾞ(245X358mm)"},
        {7, "ch_tonboSV", false, false, "トンボを印刷する"},
        {7, "ch_giseiSV", false, false, "画像の周辺を少々犠牲にして、用紙全体に印刷する。"},
        {8, "ch_PrFnameAL", false, false, "ﾌｧｲﾙ名もﾌﾟﾘﾝﾄする"},
        {8, "ch_PrGInfoAL", false, false, "画像ｻｲｽﾞと色数もﾌﾟﾘﾝﾄする"},
        {8, "ch_satuDateAL", false, false, "撮影日付もﾌﾟﾘﾝﾄする"},
        {8, "ch_prTiTleAL", false, false, "ｺﾒﾝﾄのﾀｲﾄﾙもﾌﾟﾘﾝﾄする"},
        {8, "ch_kakuCyoshiAL", false, false, "拡張子を印刷しない(ﾌｧｲﾙ名ﾌﾟﾘﾝﾄする場合に有効)"},
        {8, "ch_hetaNasiAL", false, true, "ﾍｯﾀﾞｰを印刷する"},
        {8, "ch_futaNasiAL", false, true, "ﾌｯﾀｰを印刷する"},
        {8, "ch_yohakuNasiAL", false, false, "余白なし"},
        {9, "cb_ticom_prv", false, false, "ﾌﾟﾚﾋﾞｭｰを表示する"},
        {10, "ch_PrFnameHt", false, true, "ﾌｧｲﾙ名を表示する"},
        {10, "ch_kakuCyoshiHt", false, false, "拡張子を表示しない(ﾌｧｲﾙ名表示する場合に有効)"},
        {10, "ch_PrGInfoHt", false, false, "画像ｻｲｽﾞと色数を表示する"},
        {10, "ch_satuDateHt", false, false, "撮影日付を表示する"},
        {10, "ch_prTiTleHt", false, false, "ｺﾒﾝﾄのﾀｲﾄﾙを表示する"},
        {10, "cb_dirNameTitle", false, false, "ﾌｫﾙﾀﾞ名をﾀｲﾄﾙにする"},
        {10, "cb_pgFontFutoHt", false, false, "太字"},
        {10, "cb_pgFontItaHt", false, false, "斜体"},
        {10, "cb_senHt", false, true, "タイトルと本文の間に区切り線を設ける"},
        {10, "cb_samuHt", false, false, "ｻﾑﾈｲﾙ画像を作成"},
    };
    for (const Switch& expected : switches) {
        QAbstractButton* button =
            expected.radio ? static_cast<QAbstractButton*>(control<QRadioButton>(expected.tab, expected.name))
                           : control<QCheckBox>(expected.tab, expected.name);
        ASSERT_NE(button, nullptr) << expected.name << (expected.radio ? " (radio)" : " (check box)");
        EXPECT_EQ(button->isChecked(), expected.checked) << expected.name;
        if (expected.caption) {
            EXPECT_EQ(button->text(), QString::fromUtf8(expected.caption)) << expected.name;
        }
    }
}

TEST_F(WorkTabsTest, FieldsAndSwatchesStartAtTheirDefaults)
{
    struct Field {
        int tab;
        const char* name;
        const char* text;
    };
    const Field fields[] = {{0, "tx_w", "100.0"},     {0, "tx_h", "100.0"},
                            {0, "tx_left", "0"},      {0, "tx_top", "0"},
                            {2, "tx_kasane", ""},     {4, "tx_out_path", ""},
                            {5, "suOutPath", ""},     {5, "suDaishi", ""},
                            {10, "tx_pgTitleHt", ""}, {10, "tx_htmlFname", "noName.htm"}};
    for (const Field& expected : fields) {
        auto* edit = control<QLineEdit>(expected.tab, expected.name);
        ASSERT_NE(edit, nullptr) << expected.name;
        EXPECT_EQ(edit->text(), QString::fromUtf8(expected.text)) << expected.name;
        EXPECT_FALSE(edit->isReadOnly()) << expected.name;
    }
    auto* shadow = control<ColorSwatch>(5, "suKageCol");
    auto* background = control<ColorSwatch>(10, "pgHeikeiColHt");
    ASSERT_NE(shadow, nullptr);
    ASSERT_NE(background, nullptr);
    EXPECT_EQ(shadow->colorRef(), 8421504u);
    EXPECT_EQ(background->colorRef(), 16777215u);
}

TEST_F(WorkTabsTest, TitleTabShowsTheRecordReadOnlyAndThePreviewBoxes)
{
    for (const char* name : {"tx_ticomTitle", "tx_ticomNen", "tx_ticomTuki", "tx_ticomHi"}) {
        auto* field = control<QLineEdit>(9, name);
        ASSERT_NE(field, nullptr) << name;
        EXPECT_TRUE(field->isReadOnly()) << name;
    }
    auto* record = control<QWidget>(9, "gb_ticom");
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->property("title").toString(), QStringLiteral("ﾌｧｲﾙ名: 選択されていません."));
    EXPECT_NE(control<QWidget>(9, "tx_ticomCom"), nullptr);
    EXPECT_NE(control<QLabel>(9, "pic3"), nullptr);
    EXPECT_NE(control<QLabel>(3, "pic2"), nullptr);
}

TEST_F(WorkTabsTest, HiddenControlsKeepSettingsOutOfSight)
{
    struct Named {
        int tab;
        const char* name;
    };
    const Named hiddenControls[] = {{0, "ch_cyu"},   {0, "tx_left"},          {0, "tx_top"},
                                    {1, "cb_onazi"}, {10, "ud_tx_pgWidthHt"}, {10, "tx_pgWidthHt"}};
    const Named shownControls[] = {{0, "ch_zentai"},     {0, "tx_w"},        {1, "cb_gaSu"},
                                   {1, "tx_komaYohaku"}, {2, "tx_kasane"},   {3, "tx_akarusa"},
                                   {4, "ed_jpg_comp"},   {5, "suKageCol"},   {7, "rb_4w"},
                                   {8, "tx_AL_yohaku"},  {10, "tx_MaxXnHt"}, {10, "pgHeikeiColHt"}};
    for (const Named& named : hiddenControls) {
        QWidget* page = pages()[named.tab].get();
        page->show();
        auto* widget = control<QWidget>(named.tab, named.name);
        ASSERT_NE(widget, nullptr) << named.name;
        EXPECT_FALSE(widget->isVisible()) << named.name;
        page->hide();
    }
    for (const Named& named : shownControls) {
        QWidget* page = pages()[named.tab].get();
        page->show();
        auto* widget = control<QWidget>(named.tab, named.name);
        ASSERT_NE(widget, nullptr) << named.name;
        EXPECT_TRUE(widget->isVisible()) << named.name;
        page->hide();
    }
}

// The window looks controls up by name across all tabs; a name used twice
// would connect or load the wrong control.
TEST_F(WorkTabsTest, NoTwoControlsShareAName)
{
    QSet<QString> seen;
    for (int tab = 0; tab < kTabCount; ++tab) {
        for (QWidget* widget : pages()[tab]->findChildren<QWidget*>()) {
            const QString name = widget->objectName();
            if (name.isEmpty() || name.startsWith(QLatin1String("qt_")))
                continue;
            EXPECT_FALSE(seen.contains(name)) << name.toStdString() << " on tab " << tab;
            seen.insert(name);
        }
    }
    EXPECT_GT(seen.size(), 150);
}

TEST_F(WorkTabsTest, ChoicesExcludeEachOther)
{
    const std::vector<std::vector<std::pair<int, const char*>>> sets = {
        {{0, "ch_zentai"}, {0, "ch_size"}},
        {{1, "cb_gaSuKaraPr"}, {1, "cb_tateYokoKaraPr"}},
        {{4, "rb_bmp"}, {4, "rb_jpg"}, {4, "rb_tif"}},
        {{7, "rb_sb"},
         {7, "rb_L"},
         {7, "rb_LL"},
         {7, "rb_8"},
         {7, "rb_6"},
         {7, "rb_4"},
         {7, "rb_6w"},
         {7, "rb_6ws"},
         {7, "rb_4w"}},
    };
    for (const auto& set : sets) {
        for (const auto& [tab, chosen] : set) {
            control<QRadioButton>(tab, chosen)->setChecked(true);
            for (const auto& [otherTab, other] : set)
                EXPECT_EQ(control<QRadioButton>(otherTab, other)->isChecked(), other == chosen)
                    << chosen << " chosen, " << other;
        }
        control<QRadioButton>(set.front().first, set.front().second)->setChecked(true);
    }
}

TEST_F(WorkTabsTest, ChoicesEnableTheControlsTheyUse)
{
    auto enabled = [](int tab, const char* name) { return control<QWidget>(tab, name)->isEnabled(); };

    // One picture per page: a given size uses the size boxes, the whole page the turning.
    EXPECT_FALSE(enabled(0, "tx_w"));
    EXPECT_TRUE(enabled(0, "ch_saiteki"));
    control<QRadioButton>(0, "ch_size")->setChecked(true);
    EXPECT_TRUE(enabled(0, "tx_w"));
    EXPECT_TRUE(enabled(0, "tx_h"));
    EXPECT_TRUE(enabled(0, "ch_tateYoko"));
    EXPECT_FALSE(enabled(0, "ch_saiteki"));
    control<QRadioButton>(0, "ch_zentai")->setChecked(true);
    EXPECT_FALSE(enabled(0, "tx_h"));
    EXPECT_FALSE(enabled(0, "ch_tateYoko"));

    // Conversion: only the chosen format's choices.
    EXPECT_TRUE(enabled(4, "cb_bmp_coln"));
    EXPECT_FALSE(enabled(4, "ed_jpg_comp"));
    EXPECT_FALSE(enabled(4, "cb_tif_comp"));
    control<QRadioButton>(4, "rb_tif")->setChecked(true);
    EXPECT_FALSE(enabled(4, "cb_bmp_comp"));
    EXPECT_FALSE(enabled(4, "UpDown1"));
    EXPECT_TRUE(enabled(4, "cb_tif_comp"));
    EXPECT_TRUE(enabled(4, "cb_tif_coln"));
    control<QRadioButton>(4, "rb_bmp")->setChecked(true);
    EXPECT_TRUE(enabled(4, "cb_bmp_comp"));
    EXPECT_FALSE(enabled(4, "cb_tif_coln"));

    // HTML: the folder's name replaces the typed title.
    EXPECT_TRUE(enabled(10, "tx_pgTitleHt"));
    control<QCheckBox>(10, "cb_dirNameTitle")->setChecked(true);
    EXPECT_FALSE(enabled(10, "tx_pgTitleHt"));
    control<QCheckBox>(10, "cb_dirNameTitle")->setChecked(false);
    EXPECT_TRUE(enabled(10, "tx_pgTitleHt"));
}

TEST_F(WorkTabsTest, HintsExplainTheirControls)
{
    struct Hint {
        int tab;
        const char* name;
        const char* hint;
    };
    const Hint hints[] = {
        {1, "suWPr", "横"},
        {1, "suHPr", "縦"},
        {1, "ch_saitekiPr", "画像を自動的に回転しコマ全体に印刷します。"},
        {4, "tx_out_path", "出力先の指定は、「参照」ボタンで行えます。"},
        {5, "suOutPath", "拡張子は指定しないでください。"},
        {7, "ch_giseiSV", "縦横比を維持したまま、各印刷サイズ全体に画像が印刷されます。(白部が発生しません)"},
        {10, "tx_htmlFname", "拡張子は指定しないでください。"},
    };
    for (const Hint& hint : hints) {
        auto* widget = control<QWidget>(hint.tab, hint.name);
        ASSERT_NE(widget, nullptr) << hint.name;
        EXPECT_EQ(widget->toolTip(), QString::fromUtf8(hint.hint)) << hint.name;
    }
}

TEST_F(WorkTabsTest, HtmlNumberFieldsTakeDigitsOnly)
{
    for (const char* name : {"tx_MaxXnHt", "tx_samuW_ht", "tx_samuH_ht", "tx_pgWidthHt"}) {
        auto* edit = control<QLineEdit>(10, name);
        ASSERT_NE(edit, nullptr) << name;
        ASSERT_NE(edit->validator(), nullptr) << name;
        QString text = QStringLiteral("12a");
        int position = 0;
        EXPECT_EQ(edit->validator()->validate(text, position), QValidator::Invalid) << name;
        text = QStringLiteral("120");
        EXPECT_EQ(edit->validator()->validate(text, position), QValidator::Acceptable) << name;
    }
}

// Every control must be reachable inside the page area at the window's font.
TEST_F(WorkTabsTest, EveryTabFitsThePageArea)
{
    for (int tab = 0; tab < kTabCount; ++tab) {
        QWidget* page = pages()[tab].get();
        const QSize needed = page->minimumSizeHint();
        EXPECT_LE(needed.width(), kPageWidth) << kWorkTabs[tab].caption;
        EXPECT_LE(needed.height(), kPageHeight) << kWorkTabs[tab].caption;

        page->resize(kPageWidth, kPageHeight);
        page->show();
        const QRect area(0, 0, kPageWidth, kPageHeight);
        for (QWidget* widget : page->findChildren<QWidget*>()) {
            if (!widget->isVisible() || widget->objectName().isEmpty())
                continue;
            const QRect placed(widget->mapTo(page, QPoint(0, 0)), widget->size());
            EXPECT_TRUE(area.contains(placed))
                << kWorkTabs[tab].caption << ": " << widget->objectName().toStdString();
        }
        page->hide();
    }
}

}  // namespace
