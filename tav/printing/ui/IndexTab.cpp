// Tab 6 "ｲﾝﾃﾞｯｸｽ印刷": contact-sheet pages of small pictures over the whole paper.
#include "tav/core/ui/FormBuilder.h"
#include "tav/core/ui/WorkTabs.h"

using namespace form;

QWidget* buildIndexTab()
{
    QVBoxLayout* layout = nullptr;
    QWidget* tab = page(layout);

    layout->addWidget(captionGroup(
        {"ch_fileNameAPS", "ch_kakuCyoshiAPS", "ch_gazouInfoAPS", "ch_satuDateAPS", "ch_prTitleAPS"},
        CaptionWording::Print, false));
    layout->addWidget(checkBox("ch_saitekiAPS", QStringLiteral("最適化する"), false));
    layout->addStretch(1);
    layout->addLayout(
        commandRow({button("bt_prAPS", QStringLiteral("印刷実行")),
                    button("bt_pvAPS", QStringLiteral("ﾌﾟﾚﾋﾞｭｰ")), helpButton("bt_HelpAPS", 42)}));
    return tab;
}
