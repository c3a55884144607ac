// Tab 0 "1ﾍﾟｰｼﾞ1画像印刷": every selected picture on a page of its own, either
// as large as the page allows or at a size given in millimetres.
#include "tav/core/ui/FormBuilder.h"
#include "tav/core/ui/WorkTabs.h"

using namespace form;

QWidget* buildOnePerPageTab()
{
    QVBoxLayout* layout = nullptr;
    QWidget* tab = page(layout);

    QRadioButton* whole = radioButton("ch_zentai", QStringLiteral("用紙全体に印刷"), true);
    QCheckBox* rotate = checkBox("ch_saiteki", QStringLiteral("最適化する"), false);
    QRadioButton* sized = radioButton("ch_size", QStringLiteral("指定したサイズで印刷"), false);
    QLineEdit* width = lineEdit("tx_w", QStringLiteral("100.0"));
    QLineEdit* height = lineEdit("tx_h", QStringLiteral("100.0"));
    width->setMaximumWidth(60);
    height->setMaximumWidth(60);
    QCheckBox* keepRatio = checkBox("ch_tateYoko", QStringLiteral("縦横比率を維持"), true);

    auto* indentRotate = row({QStringLiteral("    "), rotate});
    auto* sizeRow = row({QStringLiteral("    幅："), width, "mm", QStringLiteral("  高さ："), height, "mm"});
    auto* ratioRow = row({QStringLiteral("    "), keepRatio});

    auto* placement = new QHBoxLayout;
    placement->addWidget(group(QStringLiteral("印刷ｻｲｽﾞ"), {whole, indentRotate, sized, sizeRow, ratioRow}));
    placement->addWidget(pageGroup({"ch_hetaNasiPr1", "ch_futaNasiPr1", "ch_yohakuNasiPr1"}), 0,
                         Qt::AlignTop);
    layout->addLayout(placement);
    layout->addWidget(captionGroup(
        {"ch_fileNamePr1", "ch_kakuCyoshiPr1", "ch_gazouInfo1", "ch_satuDatePr1", "ch_prTitlePr1"},
        CaptionWording::Print, false));
    layout->addStretch(1);
    layout->addLayout(commandRow({button("bt_Prt", QStringLiteral("印刷実行")),
                                  button("bt_PrtPv", QStringLiteral("ﾌﾟﾚﾋﾞｭｰ")), helpButton("bt_help", 5)}));

    // Settings of an earlier placement mode; they take no part in printing.
    hidden(checkBox("ch_cyu", QStringLiteral("中央に印刷"), true), tab);
    hidden(lineEdit("tx_left", QStringLiteral("0")), tab);
    hidden(lineEdit("tx_top", QStringLiteral("0")), tab);

    // A given size uses the width, height and proportion boxes; turning the
    // picture to suit the page belongs to the whole-page mode.
    enableWhile(sized, {width, height, keepRatio}, {rotate});
    return tab;
}
