#include "platform/FontChooser.h"

#include "platform/FontSpecQt.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <cstdlib>

namespace platform {

namespace {

constexpr int kSizes[] = {6, 7, 8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};
constexpr int kMaxSize = 400;

QCheckBox* styleBox(const char* name, const QString& caption, bool on)
{
    auto* box = new QCheckBox(caption);
    box->setObjectName(QString::fromLatin1(name));
    box->setChecked(on);
    return box;
}

}  // namespace

FontChooser::FontChooser(const FontSpec& initial, QWidget* parent)
    : QDialog(parent), m_initial(initial), m_color(initial.color)
{
    setObjectName(QStringLiteral("frFont"));
    setWindowTitle(QStringLiteral("ﾌｫﾝﾄ"));

    m_name = new QComboBox;
    m_name->setObjectName(QStringLiteral("cb_fontName"));
    m_name->setEditable(true);
    m_name->setInsertPolicy(QComboBox::NoInsert);
    QStringList families = QFontDatabase::families();
    if (!initial.name.isEmpty() && !families.contains(initial.name))
        families.prepend(initial.name);
    m_name->addItems(families);
    m_name->setCurrentText(initial.name);

    m_size = new QComboBox;
    m_size->setObjectName(QStringLiteral("cb_fontSize"));
    m_size->setEditable(true);
    m_size->setValidator(new QIntValidator(1, kMaxSize, m_size));
    for (int size : kSizes)
        m_size->addItem(QString::number(size));
    m_size->setCurrentText(QString::number(initial.size == 0 ? 9 : std::abs(initial.size)));

    m_bold = styleBox("ch_fontBold", QStringLiteral("太字"), initial.style & 1);
    m_italic = styleBox("ch_fontItalic", QStringLiteral("斜体"), initial.style & 2);
    m_underline = styleBox("ch_fontUnderline", QStringLiteral("下線"), initial.style & 4);
    m_strikeOut = styleBox("ch_fontStrikeOut", QStringLiteral("取り消し線"), initial.style & 8);

    m_colorButton = new QPushButton(QStringLiteral("色の指定..."));
    m_colorButton->setObjectName(QStringLiteral("bt_fontColor"));
    connect(m_colorButton, &QPushButton::clicked, this, &FontChooser::chooseColor);

    m_sample = new QLabel(QStringLiteral("AaBbYyZzＡａあぁアァ亜宇"));
    m_sample->setObjectName(QStringLiteral("lb_fontSample"));
    m_sample->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    m_sample->setAlignment(Qt::AlignCenter);
    m_sample->setMinimumSize(320, 80);
    m_sample->setAutoFillBackground(true);

    auto* styles = new QHBoxLayout;
    for (QCheckBox* box : {m_bold, m_italic, m_underline, m_strikeOut})
        styles->addWidget(box);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("ﾌｫﾝﾄ名:"), m_name);
    form->addRow(QStringLiteral("ｻｲｽﾞ:"), m_size);
    form->addRow(QStringLiteral("ｽﾀｲﾙ:"), styles);
    form->addRow(QStringLiteral("色:"), m_colorButton);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(new QLabel(QStringLiteral("ｻﾝﾌﾟﾙ")));
    layout->addWidget(m_sample, 1);
    layout->addWidget(buttons);

    connect(m_name, &QComboBox::currentTextChanged, this, &FontChooser::showSample);
    connect(m_size, &QComboBox::currentTextChanged, this, &FontChooser::showSample);
    for (QCheckBox* box : {m_bold, m_italic, m_underline, m_strikeOut})
        connect(box, &QCheckBox::toggled, this, &FontChooser::showSample);
    showSample();
}

FontSpec FontChooser::result() const
{
    FontSpec font;
    // A name left as given is kept as given: the stored alias, not what it resolves to.
    const QString name = m_name->currentText().trimmed();
    font.name = name.isEmpty() ? m_initial.name : name;
    bool ok = false;
    const int size = m_size->currentText().toInt(&ok);
    // A size left as given keeps its stored form (a negative size counts by its value).
    font.size = !ok || size <= 0 || size == std::abs(m_initial.size) ? m_initial.size : size;
    font.style = (m_bold->isChecked() ? 1 : 0) | (m_italic->isChecked() ? 2 : 0) |
                 (m_underline->isChecked() ? 4 : 0) | (m_strikeOut->isChecked() ? 8 : 0);
    font.color = m_color;
    return font;
}

void FontChooser::setColor(std::uint32_t colorRef)
{
    m_color = colorRef;
    showSample();
}

void FontChooser::chooseColor()
{
    const QColor chosen = QColorDialog::getColor(toQColor(m_color), this, QStringLiteral("色の指定"));
    if (chosen.isValid())
        setColor(toColorRef(chosen));
}

void FontChooser::showSample()
{
    m_sample->setFont(toQFont(result()));
    QPalette palette = m_sample->palette();
    palette.setColor(QPalette::WindowText, toQColor(m_color));
    palette.setColor(QPalette::Window, Qt::white);
    m_sample->setPalette(palette);
    QPixmap swatch(16, 16);
    swatch.fill(toQColor(m_color));
    m_colorButton->setIcon(QIcon(swatch));
}

}  // namespace platform
