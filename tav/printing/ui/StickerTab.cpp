// Tab 2 "ﾌﾟﾘｸﾗ印刷": sticker sheets, each picture repeated in frames of one width.
#include "tav/core/ui/FormBuilder.h"
#include "tav/core/ui/WorkTabs.h"

using namespace form;

QWidget* buildStickerTab()
{
    QVBoxLayout* layout = nullptr;
    QWidget* tab = page(layout);

    layout->addWidget(group(
        QStringLiteral("ｺﾏの大きさ"),
        {row({QStringLiteral("1コマの幅を"), tabUpDown("ud_komaHabaMM"), QStringLiteral("mmとして印刷")}),
         label(QStringLiteral("★コマの高さは自動的に決定されます。")),
         checkBox("ch_tonbo", QStringLiteral("トンボを印刷する"), false)}));
    layout->addWidget(group(
        QStringLiteral("重ね合せ画像"),
        {fillRow({lineEdit("tx_kasane", QString()), button("bt_kasaneSet", QStringLiteral("参照...."))})}));
    layout->addStretch(1);
    layout->addLayout(
        commandRow({button("bt_PuriKura", QStringLiteral("印刷実行")),
                    button("bt_PuriKuraPv", QStringLiteral("ﾌﾟﾚﾋﾞｭｰ")), helpButton("Button2", 7)}));
    return tab;
}
