// The options dialog's behaviour: filling the pages from the settings, the
// previews of the header and footer, the font buttons, and storing on "O.K".
#include "tav/core/ui/frmOp.h"

#include "platform/FontSpecQt.h"
#include "platform/Prompt.h"
#include "tav/core/TextHelpers.h"
#include "tav/core/ui/UpDown.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QFontInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace {

// The sample a header label shows for "画像格納ﾌｫﾙﾀﾞ名" until the dialog is reopened.
const QString kSampleFolder = QStringLiteral("c:\\windows");
constexpr int kLabelInset = 6;
constexpr int kLineInset = 2;

// The margins in the order of the page's groups.
constexpr int PageMargins::*kMarginSides[] = {&PageMargins::top, &PageMargins::bottom, &PageMargins::left,
                                              &PageMargins::right};

void applyFont(QLabel* label, const platform::FontSpec& font)
{
    label->setFont(platform::toQFont(font));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, platform::toQColor(font.color));
    label->setPalette(palette);
    label->adjustSize();
}

QString today() { return shortDateText(QDate::currentDate()); }

// A stored slot type that the list does not offer shows, and is stored, as "なし".
void setListIndex(QComboBox* list, int index)
{
    list->setCurrentIndex(index >= 0 && index < list->count() ? index : 0);
}

}  // namespace

TfrOp::TfrOp(AppSettings& settings, const QString& currentFolder, const PageMargins& printerMinimum,
             QWidget* parent)
    : QDialog(parent), m_settings(settings), m_form(optionsOf(settings))
{
    setObjectName(QStringLiteral("frOp"));
    setWindowTitle(QStringLiteral("環境設定"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);

    m_pages = new QTabWidget;
    m_pages->setObjectName(QStringLiteral("PageControl1"));
    // Every page's tab stays in sight with its whole caption: the dialog is
    // as wide as the seven tabs rather than scrolling them.
    m_pages->tabBar()->setUsesScrollButtons(false);
    m_pages->addTab(buildGvPage(), QStringLiteral("GV.EXEへのﾊﾟｽ"));
    m_pages->addTab(buildFontPage("file_font_pr", "bt_file_font", 6, m_fileFontSample),
                    QStringLiteral("ﾌｧｲﾙ名とﾀｲﾄﾙの印刷ﾌｫﾝﾄ"));
    m_pages->addTab(buildFontPage("com_font_pr", "bt_com_font", 7, m_commentFontSample),
                    QStringLiteral("ｺﾒﾝﾄの印刷ﾌｫﾝﾄ"));
    m_pages->addTab(buildScalingPage(), QStringLiteral("高品位な拡大・縮小"));
    std::array<int, 4> lowerLimits{};
    for (int i = 0; i < 4; ++i)
        lowerLimits[i] = std::clamp(printerMinimum.*kMarginSides[i], 0, 50);
    m_pages->addTab(buildMarginPage(lowerLimits), QStringLiteral("余白"));
    m_pages->addTab(buildHeaderPage(), QStringLiteral("ﾍｯﾀﾞｰ"));
    m_pages->addTab(buildFooterPage(), QStringLiteral("ﾌｯﾀｰ"));

    auto* ok = new QPushButton(QStringLiteral("O.K"));
    ok->setObjectName(QStringLiteral("bt_ok"));
    ok->setAutoDefault(false);
    auto* cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"));
    cancel->setObjectName(QStringLiteral("bt_can"));
    // Enter anywhere in the dialog cancels it: the cancel button is the only default.
    cancel->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);
    layout->addLayout(buttons);

    FormShow(currentFolder, printerMinimum);

    connect(ok, &QPushButton::clicked, this, &TfrOp::bt_okClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    for (int i = 0; i < 3; ++i) {
        connect(m_headerLists[i], &QComboBox::currentIndexChanged, this, [this, i] { cb_HeChange(i); });
        connect(m_footerLists[i], &QComboBox::currentIndexChanged, this, [this, i] { cb_FuChange(i); });
    }
    connect(m_headerTitle, &QLineEdit::textChanged, this, &TfrOp::tx_hetaTitleChange);
    connect(m_footerTitle, &QLineEdit::textChanged, this, &TfrOp::tx_FutaTitleChange);
    connect(m_headerLineOn, &QCheckBox::toggled, this, &TfrOp::drawHeaderLine);
    connect(m_headerLineSize, &QComboBox::currentIndexChanged, this, &TfrOp::drawHeaderLine);
    connect(m_footerLineOn, &QCheckBox::toggled, this, &TfrOp::drawFooterLine);
    connect(m_footerLineSize, &QComboBox::currentIndexChanged, this, &TfrOp::drawFooterLine);
}

bool TfrOp::Execute(QWidget* owner, AppSettings& settings, const QString& currentFolder,
                    const PageMargins& printerMinimum)
{
    TfrOp dialog(settings, currentFolder, printerMinimum, owner);
    return dialog.exec() == QDialog::Accepted;
}

void TfrOp::FormShow(const QString& currentFolder, const PageMargins& printerMinimum)
{
    m_headerTitle->setText(m_form.headerTitle);
    m_footerTitle->setText(m_form.footerTitle);
    for (int i = 0; i < 3; ++i) {
        const HeaderFooterSlot& header = m_form.header[i];
        setListIndex(m_headerLists[i], header.type);
        applyFont(m_headerLabels[i], header.font);
        showSlot(m_headerLabels[i], headerSlotText(header.type, currentFolder, today(), m_form.headerTitle));
        const HeaderFooterSlot& footer = m_form.footer[i];
        setListIndex(m_footerLists[i], footer.type);
        applyFont(m_footerLabels[i], footer.font);
        showSlot(m_footerLabels[i], footerSlotText(footer.type, m_form.footerTitle));
    }
    applyFont(m_fileFontSample, m_form.fileNameFont);
    applyFont(m_commentFontSample, m_form.commentFont);

    // The field shows the margin even where it is below the counter's lower
    // limit (the printer's minimum), as after a smaller margin was typed.
    for (int i = 0; i < 4; ++i) {
        const int margin = std::clamp(m_form.margins.*kMarginSides[i], 0, 50);
        UpDown* counter = m_marginCounters[i];
        counter->setPosition(margin);
        counter->edit()->setText(QString::number(margin));
        m_marginGroups[i]->setTitle(
            marginGroupCaption(m_marginGroups[i]->title(), printerMinimum.*kMarginSides[i]));
    }

    m_headerLineOn->setChecked(m_form.headerLine);
    setListIndex(m_headerLineSize, m_form.headerLineSize);
    m_footerLineOn->setChecked(m_form.footerLine);
    setListIndex(m_footerLineSize, m_form.footerLineSize);
    placeLabels(m_headerLabels);
    placeLabels(m_footerLabels);
    drawHeaderLine();
    drawFooterLine();

    m_gvVer->setChecked(m_form.gvIs080OrLater);
    m_pelcalc->setChecked(m_form.highQualityScaling);
    showPhotoSwitches();
    m_gvWait->setPosition(m_form.gvWaitSeconds);
    m_gvPath->setText(m_form.gvPath);
}

void TfrOp::bt_okClick()
{
    m_form.headerTitle = m_headerTitle->text();
    for (int i = 0; i < 3; ++i) {
        m_form.header[i].type = m_headerLists[i]->currentIndex();
        m_form.footer[i].type = m_footerLists[i]->currentIndex();
    }
    m_form.footerTitle = m_footerTitle->text();
    for (int i = 0; i < 4; ++i) {
        QLineEdit* field = m_marginCounters[i]->edit();
        if (field->text().isEmpty())
            field->setText(QStringLiteral("0"));
        m_form.margins.*kMarginSides[i] = marginFromField(field->text());
    }
    m_form.headerLine = m_headerLineOn->isChecked();
    m_form.headerLineSize = m_headerLineSize->currentIndex();
    m_form.footerLine = m_footerLineOn->isChecked();
    m_form.footerLineSize = m_footerLineSize->currentIndex();
    m_form.gvIs080OrLater = m_gvVer->isChecked();
    m_form.highQualityScaling = m_pelcalc->isChecked();
    storePhotoSwitches();
    m_form.gvPath = m_gvPath->text();
    m_form.gvWaitSeconds = m_gvWait->position();
    storeOptions(m_form, m_settings);
    accept();
}

namespace {

// The camera-picture switches, in the order of m_photoSwitches.
std::array<bool OptionsForm::*, 4> photoSwitchFields()
{
    return {&OptionsForm::uprightPictures, &OptionsForm::colourProfiles, &OptionsForm::exifShootingDate,
            &OptionsForm::keepGpsOnConvert};
}

}  // namespace

void TfrOp::showPhotoSwitches()
{
    for (std::size_t i = 0; i < m_photoSwitches.size(); ++i)
        m_photoSwitches[i]->setChecked(m_form.*photoSwitchFields()[i]);
}

void TfrOp::storePhotoSwitches()
{
    for (std::size_t i = 0; i < m_photoSwitches.size(); ++i)
        m_form.*photoSwitchFields()[i] = m_photoSwitches[i]->isChecked();
}

QLabel* TfrOp::targetLabel(FontTarget target) const
{
    switch (target) {
    case FontTarget::HeaderLeft: return m_headerLabels[SlotLeft];
    case FontTarget::HeaderCentre: return m_headerLabels[SlotCentre];
    case FontTarget::HeaderRight: return m_headerLabels[SlotRight];
    case FontTarget::FooterLeft: return m_footerLabels[SlotLeft];
    case FontTarget::FooterCentre: return m_footerLabels[SlotCentre];
    case FontTarget::FooterRight: return m_footerLabels[SlotRight];
    case FontTarget::FileName: return m_fileFontSample;
    case FontTarget::Comment: break;
    }
    return m_commentFontSample;
}

void TfrOp::fontButtonClick(int tag)
{
    const FontTarget target = fontTargetOfTag(tag);
    platform::FontSpec& font = fontOf(m_form, target);
    const std::optional<platform::FontSpec> chosen = platform::prompts().chooseFont(font);
    if (!chosen)
        return;
    font = *chosen;
    applyFont(targetLabel(target), font);
    placeLabels(m_headerLabels);
    placeLabels(m_footerLabels);
    drawHeaderLine();
    drawFooterLine();
}

void TfrOp::showSlot(QLabel* label, const std::optional<QString>& text)
{
    label->setText(text.value_or(QString()));
    label->adjustSize();
    label->setVisible(text.has_value());
}

void TfrOp::placeLabels(const std::array<QLabel*, 3>& labels)
{
    // Left, centred and right-aligned in the preview box, each on its own row
    // top; the box grows to show the tallest visible label whole.
    QWidget* box = labels[SlotLeft]->parentWidget();
    const int width = box->width();
    int bottom = kPreviewMinHeight;
    for (QLabel* label : labels) {
        label->adjustSize();
        if (!label->isHidden())
            bottom = std::max(bottom, label->y() + label->height() + kLabelInset);
    }
    box->setFixedHeight(bottom);
    labels[SlotLeft]->move(kLabelInset, labels[SlotLeft]->y());
    labels[SlotCentre]->move((width - labels[SlotCentre]->width()) / 2, labels[SlotCentre]->y());
    labels[SlotRight]->move(width - kLabelInset - labels[SlotRight]->width(), labels[SlotRight]->y());
}

void TfrOp::cb_HeChange(int position)
{
    showSlot(m_headerLabels[position], headerSlotText(m_headerLists[position]->currentIndex(), kSampleFolder,
                                                      today(), m_headerTitle->text()));
    placeLabels(m_headerLabels);
    drawHeaderLine();
}

void TfrOp::cb_FuChange(int position)
{
    showSlot(m_footerLabels[position],
             footerSlotText(m_footerLists[position]->currentIndex(), m_footerTitle->text()));
    placeLabels(m_footerLabels);
}

void TfrOp::tx_hetaTitleChange()
{
    for (int i = 0; i < 3; ++i)
        if (m_headerLists[i]->currentIndex() == 3)
            showSlot(m_headerLabels[i], m_headerTitle->text());
    placeLabels(m_headerLabels);
}

void TfrOp::tx_FutaTitleChange()
{
    for (int i = 0; i < 3; ++i)
        if (m_footerLists[i]->currentIndex() == 2)
            showSlot(m_footerLabels[i], m_footerTitle->text());
    placeLabels(m_footerLabels);
}

void TfrOp::drawHeaderLine()
{
    if (!m_headerLineOn->isChecked()) {
        m_headerLine->hide();
        return;
    }
    const int thickness = previewLineThickness(m_headerLineSize->currentIndex());
    std::vector<int> heights;
    for (QLabel* label : m_headerLabels)
        if (!label->isHidden())
            heights.push_back(QFontInfo(label->font()).pixelSize());
    const int top = headerLineTop(m_headerLabels[SlotLeft]->y(), heights, thickness);
    m_headerLine->setGeometry(kLineInset, top, m_headerLine->parentWidget()->width() - 2 * kLineInset,
                              thickness);
    m_headerLine->show();
}

void TfrOp::drawFooterLine()
{
    if (!m_footerLineOn->isChecked()) {
        m_footerLine->hide();
        return;
    }
    const int thickness = previewLineThickness(m_footerLineSize->currentIndex());
    const int top = footerLineTop(m_footerLabels[SlotLeft]->y(), thickness);
    m_footerLine->setGeometry(kLineInset, top, m_footerLine->parentWidget()->width() - 2 * kLineInset,
                              thickness);
    m_footerLine->show();
}
