// Tab 10 "HTML": an HTML page of linked pictures with optional thumbnail files.
#include "tav/core/ui/FormBuilder.h"
#include "tav/core/ui/WorkTabs.h"

using namespace form;

namespace {

constexpr std::uint32_t kWhite = 16777215;  // 0xFFFFFF

}  // namespace

QWidget* buildHtmlTab()
{
    QVBoxLayout* layout = nullptr;
    QWidget* tab = page(layout);

    QGroupBox* pictures =
        group(QStringLiteral("画像の表示"),
              {row({QStringLiteral("横画像数："), digitsOnly(tabUpDown("ud_tx_MaxXnHt"))}),
               row({QStringLiteral("ﾍﾟｰｼﾞ背景色："), colorSwatch("pgHeikeiColHt", kWhite)}),
               label(QStringLiteral("HTMLに表示する縮小画像のｻｲｽﾞ：")),
               row({digitsOnly(tabUpDown("ud_tx_samuW_ht")), "×", digitsOnly(tabUpDown("ud_tx_samuH_ht"))}),
               checkBox("cb_samuHt", QStringLiteral("ｻﾑﾈｲﾙ画像を作成"), false)});

    QLineEdit* title = lineEdit("tx_pgTitleHt", QString());
    QCheckBox* folderTitle = checkBox("cb_dirNameTitle", QStringLiteral("ﾌｫﾙﾀﾞ名をﾀｲﾄﾙにする"), false);
    QGroupBox* heading =
        group(QStringLiteral("ﾍﾟｰｼﾞﾀｲﾄﾙ"),
              {fillRow({QStringLiteral("ﾀｲﾄﾙ："), title}), folderTitle,
               row({QStringLiteral("表示位置："),
                    comboBox("pgTitleIchiHt",
                             {QStringLiteral("左"), QStringLiteral("中心"), QStringLiteral("右")}, 1)}),
               row({QStringLiteral("ﾌｫﾝﾄｻｲｽﾞ："),
                    comboBox("cb_pgFontSizeHt",
                             {"-5", "-4", "-3", "-2", "-1", "0", "+1", "+2", "+3", "+4", "+5"}, 9),
                    checkBox("cb_pgFontFutoHt", QStringLiteral("太字"), false),
                    checkBox("cb_pgFontItaHt", QStringLiteral("斜体"), false)}),
               checkBox("cb_senHt", QStringLiteral("タイトルと本文の間に区切り線を設ける"), true)});
    // The folder's name replaces the typed title.
    enableWhile(folderTitle, {}, {title});

    QLineEdit* fileName = lineEdit("tx_htmlFname", QStringLiteral("noName.htm"));
    fileName->setToolTip(QStringLiteral("拡張子は指定しないでください。"));

    auto* top = new QHBoxLayout;
    top->addWidget(pictures);
    top->addWidget(heading, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(
        captionGroup({"ch_PrFnameHt", "ch_kakuCyoshiHt", "ch_PrGInfoHt", "ch_satuDateHt", "ch_prTiTleHt"},
                     CaptionWording::Display, true));
    bottom->addWidget(group(QStringLiteral("出力HTMLファイル名"), {fillRow({fileName})}), 1, Qt::AlignTop);
    layout->addLayout(top);
    layout->addLayout(bottom);
    layout->addStretch(1);
    layout->addLayout(
        commandRow({button("bt_mkHtml", QStringLiteral("HTMLの作成")), helpButton("bt_html_showHelp", 52)}));

    // The table width is kept with the settings but not offered on the tab.
    hidden(digitsOnly(tabUpDown("ud_tx_pgWidthHt")), tab);
    return tab;
}
