// Tab 1 "1ﾍﾟｰｼﾞ複数画像印刷": the selected pictures several to a page in a grid,
// chosen by a count per page or by columns and rows.
#include "tav/core/ui/FormBuilder.h"
#include "tav/core/ui/WorkTabs.h"

using namespace form;

QWidget* buildMultiImageTab()
{
    QVBoxLayout* layout = nullptr;
    QWidget* tab = page(layout);

    QComboBox* columns = comboBox("suWPr", numberEntries(1, 20), 2);
    QComboBox* rows = comboBox("suHPr", numberEntries(1, 20), 4);
    columns->setToolTip(QStringLiteral("横"));
    rows->setToolTip(QStringLiteral("縦"));
    QCheckBox* rotate = checkBox("ch_saitekiPr", QStringLiteral("最適化する"), false);
    rotate->setToolTip(QStringLiteral("画像を自動的に回転しコマ全体に印刷します。"));

    layout->addWidget(group(
        QStringLiteral("1ﾍﾟｰｼﾞに印刷する画像の数"),
        {row({radioButton("cb_gaSuKaraPr", QStringLiteral("画像数から決める"), true),
              comboBox("cb_gaSu", {"2", "4", "6", "8", "15", "30", "40", "50"}, 0)}),
         row({radioButton("cb_tateYokoKaraPr", QStringLiteral("縦横の画像数を指定して決める"), false),
              QStringLiteral("横"), columns, QStringLiteral("×  縦"), rows}),
         row({QStringLiteral("ｺﾏの周りに"), tabUpDown("ud_komaYohaku"), QStringLiteral("mmの余白を付ける")}),
         rotate}));

    auto* choices = new QHBoxLayout;
    choices->addWidget(
        captionGroup({"ch_fileNamePr", "ch_kakuCyoshiPr", "ch_gazouInfo", "ch_satuDatePr", "ch_titlePr"},
                     CaptionWording::Print, false));
    choices->addWidget(pageGroup({"ch_hetaNasiPr", "ch_futaNasiPr", "ch_yohakuNasiPr"}), 0, Qt::AlignTop);
    layout->addLayout(choices);
    layout->addStretch(1);
    layout->addLayout(commandRow({button("bt_nnPrint", QStringLiteral("印刷実行")),
                                  button("bt_nnPv", QStringLiteral("ﾌﾟﾚﾋﾞｭｰ")), helpButton("Button1", 6)}));

    // Kept with the settings, not offered on the tab.
    hidden(checkBox("cb_onazi", QStringLiteral("同一画像を1ﾍﾟｰｼﾞに展開"), false), tab);
    return tab;
}
