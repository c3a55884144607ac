// Tab 7 "ｻｰﾋﾞｽ版印刷": pictures at the photo-lab print sizes, as many as fit.
#include "tav/core/ui/FormBuilder.h"
#include "tav/core/ui/WorkTabs.h"
#include "tav/printing/ServiceSize.h"

#include <QGroupBox>
#include <QLayout>

using namespace form;

QWidget* buildServiceSizeTab()
{
    QVBoxLayout* layout = nullptr;
    QWidget* tab = page(layout);

    // One group box holds the nine sizes, so that they exclude each other.
    QGroupBox* sizes = group(QStringLiteral("印刷ｻｲｽﾞ"), {});
    for (const PrintSize& size : PrintSizes()) {
        const bool first = &size == &PrintSizes().front();
        sizes->layout()->addWidget(radioButton(size.control, QString::fromUtf8(size.caption), first));
    }
    layout->addWidget(sizes);
    QCheckBox* fill =
        checkBox("ch_giseiSV", QStringLiteral("画像の周辺を少々犠牲にして、用紙全体に印刷する。"), false);
    fill->setToolTip(
        QStringLiteral("縦横比を維持したまま、各印刷サイズ全体に画像が印刷されます。(白部が発生しません)"));
    layout->addWidget(checkBox("ch_tonboSV", QStringLiteral("トンボを印刷する"), false));
    layout->addWidget(fill);
    layout->addStretch(1);
    layout->addLayout(
        commandRow({button("bt_prSv", QStringLiteral("印刷実行")),
                    button("bt_pvSV", QStringLiteral("ﾌﾟﾚﾋﾞｭｰ")), helpButton("bt_helpSV", 44)}));
    return tab;
}
