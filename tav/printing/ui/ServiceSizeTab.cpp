// Tab 7 "ｻｰﾋﾞｽ版印刷": pictures at the photo-lab print sizes, as many as fit.
#include "core/ui/FormBuilder.h"
#include "core/ui/WorkTabs.h"

using namespace form;

QWidget* buildServiceSizeTab()
{
    QVBoxLayout* layout = nullptr;
    QWidget* tab = page(layout);

    // One group box holds the nine sizes, so that they exclude each other.
    layout->addWidget(group(QStringLiteral("印刷ｻｲｽﾞ"),
                            {radioButton("rb_sb", QStringLiteral("ｻｰﾋﾞｽ版"), true),
                             radioButton("rb_L", QStringLiteral("Ｌ版"), false),
                             radioButton("rb_LL", QStringLiteral("ＬＬ(ｷｬﾋﾞﾈ)版"), false),
                             radioButton("rb_8", QStringLiteral("八つ切り(157×207mm)"), false),
                             radioButton("rb_6", QStringLiteral("六つ切り(194×245mm)"), false),
                             radioButton("rb_4", QStringLiteral("四つ切り(245×295mm)"), false),
                             radioButton("rb_6w", QStringLiteral("六つ切りﾜｲﾄﾞ(194X295mm)"), false),
                             radioButton("rb_6ws", QStringLiteral("六つ切りﾜｲﾄﾞ S(180X274mm)"), false),
                             radioButton("rb_4w", QStringLiteral("四つ切りﾜｲﾄﾞ(245X358mm)"), false)}));
    QCheckBox* fill = checkBox("ch_giseiSV", QStringLiteral("画像の周辺を少々犠牲にして、用紙全体に印刷する。"), false);
    fill->setToolTip(QStringLiteral("縦横比を維持したまま、各印刷サイズ全体に画像が印刷されます。(白部が発生しません)"));
    layout->addWidget(checkBox("ch_tonboSV", QStringLiteral("トンボを印刷する"), false));
    layout->addWidget(fill);
    layout->addStretch(1);
    layout->addLayout(commandRow({button("bt_prSv", QStringLiteral("印刷実行")),
                                  button("bt_pvSV", QStringLiteral("ﾌﾟﾚﾋﾞｭｰ")), helpButton("bt_helpSV", 44)}));
    return tab;
}
