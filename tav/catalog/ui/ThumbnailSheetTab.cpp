// Tab 5 "一括ｻﾑﾈｲﾙ": numbered sheet pictures holding a grid of thumbnails.
#include "tav/core/ui/FormBuilder.h"
#include "tav/core/ui/WorkTabs.h"

using namespace form;

namespace {

constexpr std::uint32_t kShadowGrey = 8421504;  // 0x808080

const QStringList kSheetWidths = {"320", "400",  "480",  "600",  "640", "768",
                                  "800", "1024", "1200", "1280", "1600"};
const QStringList kSheetHeights = {"240", "300",  "480",  "600",  "640", "768",
                                   "800", "1024", "1200", "1280", "1600"};

}  // namespace

QWidget* buildThumbnailSheetTab()
{
    QVBoxLayout* layout = nullptr;
    QWidget* tab = page(layout);

    QGroupBox* sheet = group(
        QStringLiteral("ｻﾑﾈｲﾙの大きさ"),
        {row({comboBox("suSizeW", kSheetWidths, 5), "×", comboBox("suSizeH", kSheetHeights, 3),
              QStringLiteral("dot のﾍﾟｰｼﾞに")}),
         row({comboBox("suW", numberEntries(1, 20), 5), QStringLiteral("Ｘ"),
              comboBox("suH", numberEntries(1, 20), 4), QStringLiteral("画像を印刷")}),
         row({QStringLiteral("ｺﾏの周りに"), tabUpDown("UpDown5"), QStringLiteral("dotの余白を付ける")})});
    QGroupBox* output = group(
        QStringLiteral("出力の形式"),
        {row({checkBox("suKage", QStringLiteral("影を付ける"), false), QStringLiteral("  影の色："),
              colorSwatch("suKageCol", kShadowGrey)}),
         row({QStringLiteral("結果は、"), comboBox("suType", {"BMP", "JPG", "TIF"}, 1),
              QStringLiteral("ﾌｫｰﾏｯﾄで出力する。")}),
         row({QStringLiteral("JPG 圧縮品質係数"), tabUpDown("UpDown7"), QStringLiteral("(100が最高品質)")})});

    auto* top = new QHBoxLayout;
    top->addWidget(sheet);
    top->addWidget(output);
    layout->addLayout(top);
    layout->addWidget(
        captionGroup({"suPrFname", "ch_kakuCyoshiSU", "suPrGInfo", "ch_satuDateSu", "ch_prTitleSu"},
                     CaptionWording::Print, false, 2));

    QLineEdit* outputName = lineEdit("suOutPath", QString());
    outputName->setToolTip(QStringLiteral("拡張子は指定しないでください。"));
    layout->addWidget(group(QStringLiteral("結果を出力するファイル名"),
                            {fillRow({outputName, button("bt_suOutPath", QStringLiteral("参照..."))})}));
    layout->addWidget(group(
        QStringLiteral("台紙に使うファイル名"),
        {fillRow({lineEdit("suDaishi", QString()), button("bt_suDaishi", QStringLiteral("参照..."))})}));
    layout->addStretch(1);
    layout->addLayout(commandRow({button("bt_sumNe", QStringLiteral("ｻﾑﾈｲﾙの作成")),
                                  button("bt_sumPv", QStringLiteral("ﾌﾟﾚﾋﾞｭｰ")), helpButton("Button5", 36)}));
    return tab;
}
