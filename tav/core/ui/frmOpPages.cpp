// The pages of the options dialog: its controls with their names, captions
// and notes, in the order the dialog shows them.
#include "tav/core/ui/frmOp.h"

#include "tav/core/ui/FormBuilder.h"

#include <QFrame>
#include <QGridLayout>
#include <QTabWidget>

namespace {

const QString kFontSample = QStringLiteral("AaBbYyZzＡａあぁアァ亜宇 640X480,24bitﾌﾙｶﾗｰ");
const QStringList kLineWidths = {QStringLiteral("極細"), QStringLiteral("細"), QStringLiteral("中"),
                                 QStringLiteral("太")};
constexpr int kPreviewWidth = 420;

QLabel* note(const QString& text)
{
    QLabel* label = form::label(text);
    label->setWordWrap(false);
    return label;
}

QPushButton* fontButton(const char* name, const QString& caption, int tag)
{
    QPushButton* button = form::button(name, caption);
    button->setProperty("tag", tag);
    return button;
}

struct MarginNames {
    const char* group;
    const char* caption;
    const char* counter;
    const char* edit;
};
// Top, bottom, left and right, as the page shows them.
constexpr MarginNames kMarginNames[] = {
    {"gp_ue", "上余白(", "Ud_ueYohaku", "tx_UeYohaku"},
    {"gp_sita", "下余白(", "ud_sitaYohaku", "tx_sitaYohaku"},
    {"gp_hidari", "左余白(", "ud_hidariYohaku", "tx_hidariYohaku"},
    {"gp_migi", "右余白(", "ud_migiYohaku", "tx_migiYohaku"},
};

}  // namespace

QWidget* TfrOp::buildGvPage()
{
    QVBoxLayout* layout = nullptr;
    QWidget* page = form::page(layout);
    m_gvPath = form::lineEdit("tx_gv_path", {});
    m_gvPath->setReadOnly(true);
    m_gvVer = form::checkBox("cb_gvVer", QStringLiteral("Ver0.80以降の GV "), false);
    m_gvVer->setEnabled(false);
    // The wait for GV is kept and stored, but not offered.
    m_gvWait = form::upDown("UpDown1", "tx_gvTT", 1, 10, 6);
    auto* waitRow = new QWidget(page);
    waitRow->setLayout(form::row({"GVとの同期待ち時間：", m_gvWait, "秒"}));
    waitRow->setVisible(false);
    layout->addWidget(m_gvPath);
    layout->addWidget(m_gvVer);
    layout->addSpacing(8);
    layout->addWidget(note(QStringLiteral("★画像表示ｿﾌﾄ「Gv」を使うと、より多種類の画像形式が扱えます。")));
    layout->addWidget(note(
        QStringLiteral("★GVを使用する設定は自動的に行われます。  (この画面では、認識状況を表示しています)")));
    layout->addWidget(note(QStringLiteral(
        "★ＧＶを入手したら、Tavを起動する前にGV一度実行しておいてください。 これで、Tavが自動的\n"
        "にGVを認識できるようになります。")));
    layout->addStretch(1);
    return page;
}

QWidget* TfrOp::buildFontPage(const char* sampleName, const char* buttonName, int tag, QLabel*& sample)
{
    QVBoxLayout* layout = nullptr;
    QWidget* page = form::page(layout);
    sample = form::label(kFontSample);
    sample->setObjectName(QString::fromLatin1(sampleName));
    sample->setFrameShape(QFrame::Panel);
    sample->setFrameShadow(QFrame::Sunken);
    sample->setAutoFillBackground(true);
    sample->setMinimumHeight(60);
    sample->setAlignment(Qt::AlignCenter);
    QPushButton* change = fontButton(buttonName, QStringLiteral("ﾌｫﾝﾄの変更"), tag);
    connect(change, &QPushButton::clicked, this, [this, tag] { fontButtonClick(tag); });
    layout->addWidget(form::group(QStringLiteral("現在指定されているﾌｫﾝﾄのﾌﾟﾚﾋﾞｭｰ"), {sample}));
    layout->addLayout(form::row({change}));
    layout->addStretch(1);
    return page;
}

QWidget* TfrOp::buildScalingPage()
{
    QVBoxLayout* layout = nullptr;
    QWidget* page = form::page(layout);
    m_pelcalc = form::checkBox("ch_pelcalc_flg", QStringLiteral("高品位な拡大・縮小 処理を行う。"), false);
    layout->addWidget(m_pelcalc);
    layout->addSpacing(8);
    layout->addWidget(note(QStringLiteral("★高品位な拡大･縮小を行うと、より美しい結果が得られます。 ")));
    layout->addWidget(note(QStringLiteral("ただし、多少、処理時間が長くなります。")));
    layout->addSpacing(8);
    layout->addWidget(buildPhotoSwitches());
    layout->addStretch(1);
    return page;
}

QWidget* TfrOp::buildPhotoSwitches()
{
    m_photoSwitches = {
        form::checkBox("ch_exifKaiten", QStringLiteral("撮影時の向きに回転する"), true),
        form::checkBox("ch_iccIro", QStringLiteral("埋め込まれたｶﾗｰﾌﾟﾛﾌｧｲﾙで色を合わせる"), true),
        form::checkBox("ch_exifDate", QStringLiteral("ｺﾒﾝﾄに日付がないときは撮影日時(Exif)を使う"), true),
        form::checkBox("ch_exifGps", QStringLiteral("JPEGへの変換で位置情報(GPS)を残す"), true)};
    return form::group(QStringLiteral("ﾃﾞｼﾞｶﾒ写真"),
                       {m_photoSwitches[0], m_photoSwitches[1], m_photoSwitches[2], m_photoSwitches[3]});
}

QWidget* TfrOp::buildMarginPage(const std::array<int, 4>& lowerLimits)
{
    QVBoxLayout* layout = nullptr;
    QWidget* page = form::page(layout);
    auto* grid = new QGridLayout;
    for (int i = 0; i < 4; ++i) {
        const MarginNames& names = kMarginNames[i];
        UpDown* counter =
            form::digitsOnly(form::upDown(names.counter, names.edit, lowerLimits[i], 50, lowerLimits[i]));
        counter->edit()->setMaxLength(3);
        QGroupBox* group = form::group(QString::fromUtf8(names.caption), {form::row({counter, "mm"})});
        group->setObjectName(QString::fromLatin1(names.group));
        m_marginGroups[i] = group;
        m_marginCounters[i] = counter;
        grid->addWidget(group, i / 2, i % 2);
    }
    layout->addLayout(grid);
    layout->addSpacing(8);
    layout->addWidget(note(QStringLiteral(
        "★余白の設定は、「1ﾍﾟｰｼﾞ1画像印刷」、「1ﾍﾟｰｼﾞ複数画像印刷」、「ｱﾙﾊﾞﾑ印刷」、「ﾌﾟﾘｸﾗ印刷」で\n"
        "有効となります。")));
    layout->addWidget(note(QStringLiteral(
        "★上下余白には、ﾍｯﾀﾞｰ/ﾌｯﾀｰ領域を含みません。 (ﾍｯﾀﾞｰ/ﾌｯﾀｰｻｲｽﾞは自動的に計算されます)")));
    layout->addStretch(1);
    return page;
}

QFrame* TfrOp::buildPreviewBox(const char* name, std::array<QLabel*, 3>& labels,
                               const char* const labelNames[3], const char* lineName, QFrame*& line,
                               int labelTop)
{
    auto* box = new QFrame;
    box->setObjectName(QString::fromLatin1(name));
    box->setFixedSize(kPreviewWidth, kPreviewMinHeight);
    box->setFrameShape(QFrame::Box);
    box->setAutoFillBackground(true);
    QPalette white = box->palette();
    white.setColor(QPalette::Window, Qt::white);
    box->setPalette(white);
    for (int i = 0; i < 3; ++i) {
        labels[i] = new QLabel(box);
        labels[i]->setObjectName(QString::fromLatin1(labelNames[i]));
        labels[i]->move(0, labelTop);
        labels[i]->hide();
    }
    line = new QFrame(box);
    line->setObjectName(QString::fromLatin1(lineName));
    line->setAutoFillBackground(true);
    QPalette black = line->palette();
    black.setColor(QPalette::Window, Qt::black);
    line->setPalette(black);
    line->hide();
    return box;
}

QWidget* TfrOp::buildHeaderPage()
{
    QVBoxLayout* layout = nullptr;
    QWidget* page = form::page(layout);
    const QStringList types = {QStringLiteral("なし"), QStringLiteral("画像格納ﾌｫﾙﾀﾞ名"),
                               QStringLiteral("今日の日付"), QStringLiteral("ﾍﾟｰｼﾞﾀｲﾄﾙ")};
    const char* lists[] = {"cb_HeL", "cb_HeC", "cb_HeR"};
    const char* buttons[] = {"bt_L_fontSet", "bt_C_FontSet", "bt_R_FontSet"};
    const char* captions[] = {"左", "中央", "右"};
    auto* slotGrid = new QGridLayout;
    for (int i = 0; i < 3; ++i) {
        m_headerLists[i] = form::comboBox(lists[i], types, 0);
        QPushButton* font =
            fontButton(buttons[i], QString::fromUtf8(captions[i]) + QStringLiteral("ﾌｫﾝﾄ設定"), i + 1);
        connect(font, &QPushButton::clicked, this, [this, i] { fontButtonClick(i + 1); });
        slotGrid->addWidget(form::label(QString::fromUtf8(captions[i])), 0, i);
        slotGrid->addWidget(m_headerLists[i], 1, i);
        slotGrid->addWidget(font, 2, i);
    }
    m_headerTitle = form::lineEdit("tx_hetaTitle", {});
    m_headerLineOn = form::checkBox("cb_HeKyoukaiSen", QStringLiteral("境界線を表示する"), false);
    m_headerLineSize = form::comboBox("cb_HeSenFutosa", kLineWidths, 0);
    const char* const labelNames[] = {"lb_L", "lb_C", "lb_R"};
    QFrame* preview = buildPreviewBox("pn_hePv", m_headerLabels, labelNames, "sp_heLine", m_headerLine, 6);

    layout->addLayout(slotGrid);
    layout->addLayout(form::fillRow(
        {form::group(QStringLiteral("ﾍﾟｰｼﾞﾀｲﾄﾙ設定"), {m_headerTitle}),
         form::group(QStringLiteral("ﾍｯﾀﾞｰ境界線"), {form::row({m_headerLineOn, m_headerLineSize})})}));
    layout->addWidget(preview, 0, Qt::AlignHCenter);
    layout->addWidget(note(QStringLiteral(
        "★ﾍｯﾀﾞｰ設定は、「1ﾍﾟｰｼﾞ1画像印刷」、「1ﾍﾟｰｼﾞ複数画像印刷」、「ｱﾙﾊﾞﾑ印刷」で有効となります。")));
    layout->addWidget(note(
        QStringLiteral("★ﾌﾟﾚﾋﾞｭｰは余白を表示していません。最終的な確認はそれぞれの印刷ﾌﾟﾚﾋﾞｭｰで行なってく\n"
                       "ださい。")));
    layout->addStretch(1);
    return page;
}

QWidget* TfrOp::buildFooterPage()
{
    QVBoxLayout* layout = nullptr;
    QWidget* page = form::page(layout);
    const QStringList types = {QStringLiteral("なし"), QStringLiteral("ﾍﾟｰｼﾞ番号"),
                               QStringLiteral("ﾌｯﾀｰﾀｲﾄﾙ")};
    const char* lists[] = {"cb_FuL", "cb_FuC", "cb_FuR"};
    const char* buttons[] = {"bt_fuL_FontSet", "bt_fuC_fontSet", "bt_fuR_FontSet"};
    const char* captions[] = {"左", "中央", "右"};
    const int tags[] = {4, 8, 5};
    auto* slotGrid = new QGridLayout;
    for (int i = 0; i < 3; ++i) {
        m_footerLists[i] = form::comboBox(lists[i], types, 0);
        const int tag = tags[i];
        QPushButton* font =
            fontButton(buttons[i], QString::fromUtf8(captions[i]) + QStringLiteral("ﾌｫﾝﾄ設定"), tag);
        connect(font, &QPushButton::clicked, this, [this, tag] { fontButtonClick(tag); });
        slotGrid->addWidget(form::label(QString::fromUtf8(captions[i])), 0, i);
        slotGrid->addWidget(m_footerLists[i], 1, i);
        slotGrid->addWidget(font, 2, i);
    }
    m_footerTitle = form::lineEdit("tx_FutaTitle", {});
    m_footerLineOn = form::checkBox("cb_futaKyoukaiSen", QStringLiteral("境界線を表示する"), false);
    m_footerLineSize = form::comboBox("cb_FuSenFutosa", kLineWidths, 0);
    const char* const labelNames[] = {"lb_fuL", "lb_fuC", "lb_fuR"};
    QFrame* preview = buildPreviewBox("pn_fuPv", m_footerLabels, labelNames, "sp_fuLine", m_footerLine, 30);

    layout->addLayout(slotGrid);
    layout->addLayout(form::fillRow(
        {form::group(QStringLiteral("ﾌｯﾀｰﾀｲﾄﾙ設定"), {m_footerTitle}),
         form::group(QStringLiteral("ﾌｯﾀｰ境界線"), {form::row({m_footerLineOn, m_footerLineSize})})}));
    layout->addWidget(preview, 0, Qt::AlignHCenter);
    layout->addWidget(note(QStringLiteral(
        "★ﾌｯﾀｰ設定は、「1ﾍﾟｰｼﾞ1画像印刷」、「1ﾍﾟｰｼﾞ複数画像印刷」、「ｱﾙﾊﾞﾑ印刷」で有効となります。")));
    layout->addStretch(1);
    return page;
}
