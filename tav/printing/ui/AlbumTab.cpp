// Tab 8 "ｱﾙﾊﾞﾑ印刷": album pages, each row a picture with its caption and its comment.
#include "tav/core/ui/FormBuilder.h"
#include "tav/core/ui/WorkTabs.h"

using namespace form;

QWidget* buildAlbumTab()
{
    QVBoxLayout* layout = nullptr;
    QWidget* tab = page(layout);

    auto* choices = new QHBoxLayout;
    choices->addWidget(
        captionGroup({"ch_PrFnameAL", "ch_kakuCyoshiAL", "ch_PrGInfoAL", "ch_satuDateAL", "ch_prTiTleAL"},
                     CaptionWording::Print, false));
    choices->addWidget(pageGroup({"ch_hetaNasiAL", "ch_futaNasiAL", "ch_yohakuNasiAL"}), 0, Qt::AlignTop);
    layout->addLayout(choices);
    layout->addLayout(
        row({QStringLiteral("ｺﾏの周りに"), tabUpDown("UpDown6"), QStringLiteral("mmの余白を付ける")}));
    layout->addStretch(1);
    layout->addLayout(
        commandRow({button("bt_albmPr", QStringLiteral("印刷実行")),
                    button("bt_albmPV", QStringLiteral("ﾌﾟﾚﾋﾞｭｰ")), helpButton("Button7", 43)}));
    return tab;
}
