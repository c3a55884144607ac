// Tab 3 "画像調整": brightness, colour balance and grayscale applied to every
// picture loaded for printing and conversion, with a small preview.
#include "tav/core/ui/FormBuilder.h"
#include "tav/core/ui/WorkTabs.h"

#include <QFrame>

using namespace form;

QWidget* buildAdjustTab()
{
    QVBoxLayout* layout = nullptr;
    QWidget* tab = page(layout);

    auto* settings = new QVBoxLayout;
    settings->addWidget(
        group(QStringLiteral("明るさ(±100%の範囲で指定)"), {row({tabUpDown("ud_akarusa"), "%"})}));
    settings->addWidget(group(QStringLiteral("色調(±100%の範囲で指定)"),
                              {row({QStringLiteral("赤："), tabUpDown("ud_r"), "%"}),
                               row({QStringLiteral("緑："), tabUpDown("ud_g"), "%"}),
                               row({QStringLiteral("青："), tabUpDown("ud_b"), "%"})}));
    settings->addWidget(checkBox("ch_gurei", QStringLiteral("ｶﾗｰｲﾒｰｼﾞをｸﾞﾚｲｽｹｰﾙで印刷"), false));
    settings->addStretch(1);

    QLabel* picture = pictureBox("pic2", 220, 165);
    picture->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    auto* preview = new QVBoxLayout;
    preview->addWidget(group(QStringLiteral("ﾌﾟﾚﾋﾞｭｰ"),
                             {picture, row({button("btGazoCyoPV", QStringLiteral("ﾌﾟﾚﾋﾞｭｰの再表示"))})}));
    preview->addStretch(1);

    auto* columns = new QHBoxLayout;
    columns->addLayout(settings, 1);
    columns->addLayout(preview);
    layout->addLayout(columns, 1);
    layout->addWidget(label(QStringLiteral("★この設定は、すべての印刷およびﾌｫｰﾏｯﾄ変換に適応されます。")));
    layout->addLayout(commandRow({helpButton("Button3", 10)}));
    return tab;
}
