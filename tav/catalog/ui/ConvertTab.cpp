// Tab 4 "ﾌｧｲﾙ変換": bulk conversion of the selected pictures to BMP, JPG or TIF.
#include "tav/core/ui/FormBuilder.h"
#include "tav/core/ui/WorkTabs.h"

using namespace form;

QWidget* buildConvertTab()
{
    QVBoxLayout* layout = nullptr;
    QWidget* tab = page(layout);

    QRadioButton* toBmp = radioButton("rb_bmp", QStringLiteral("BMPに変換する"), true);
    QRadioButton* toJpg = radioButton("rb_jpg", QStringLiteral("JPGに変換する"), false);
    QRadioButton* toTif = radioButton("rb_tif", QStringLiteral("TIFに変換する"), false);
    QGroupBox* format = group(QStringLiteral("①変換ﾌｫｰﾏｯﾄの指定"), {toBmp, toJpg, toTif});

    QGroupBox* bmp =
        group(QStringLiteral("BMP"),
              {row({checkBox("cb_bmp_comp", QStringLiteral("圧縮する"), false), QStringLiteral("  色数を"),
                    comboBox("cb_bmp_coln",
                             {QStringLiteral("そのまま"), QStringLiteral("2色（白黒）"),
                              QStringLiteral("16色"), QStringLiteral("２５６色"), QStringLiteral("ﾌﾙｶﾗｰ")},
                             0),
                    QStringLiteral("にする")})});
    QGroupBox* jpg = group(
        QStringLiteral("JPG"),
        {row({QStringLiteral("圧縮品質係数："), tabUpDown("UpDown1"), QStringLiteral("(推奨 50～70)")})});
    QGroupBox* tif = group(
        QStringLiteral("TIFF"),
        {row({QStringLiteral("圧縮形式："),
              comboBox("cb_tif_comp",
                       {QStringLiteral("非圧縮"), "CCITTRLE", "GROUP3 1D", "GROUP3 2D", "GROUP4", "PACKBITS"},
                       0),
              QStringLiteral("  色数を"),
              comboBox("cb_tif_coln",
                       {QStringLiteral("そのまま"), QStringLiteral("２色（白黒）"), QStringLiteral("16色"),
                        QStringLiteral("２５６色"), QStringLiteral("ﾌﾙｶﾗｰ")},
                       0),
              QStringLiteral("にする")})});
    // Only the chosen format's choices can be changed.
    enableWhile(toBmp, {bmp});
    enableWhile(toJpg, {jpg});
    enableWhile(toTif, {tif});

    auto* formats = new QVBoxLayout;
    formats->setSpacing(2);
    formats->addWidget(bmp);
    formats->addWidget(jpg);
    formats->addWidget(tif);
    auto* top = new QHBoxLayout;
    top->addWidget(format, 0, Qt::AlignTop);
    top->addLayout(formats, 1);
    layout->addLayout(top);

    layout->addWidget(group(
        QStringLiteral("画像ｻｲｽﾞ"),
        {row({tabUpDown("UpDown2"), "×", tabUpDown("UpDown3"), QStringLiteral("dot に"),
              QStringLiteral("  縦横比を維持"), checkBox("cb_tateYokoHi", QStringLiteral("して、"), true),
              checkBox("cb_size", QStringLiteral("する"), false)})}));

    QLineEdit* folder = lineEdit("tx_out_path", QString());
    folder->setToolTip(QStringLiteral("出力先の指定は、「参照」ボタンで行えます。"));
    layout->addWidget(group(QStringLiteral("③変換結果の出力先"),
                            {fillRow({folder, button("bt_path_set", QStringLiteral("参照..."))})}));
    layout->addStretch(1);
    layout->addLayout(commandRow({button("bt_fileConv", QStringLiteral("変換実行"))}));
    return tab;
}
