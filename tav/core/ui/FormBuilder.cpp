#include "tav/core/ui/FormBuilder.h"

#include "tav/core/TabCounters.h"

#include <QGridLayout>
#include <QRegularExpressionValidator>

#include <algorithm>
#include <iterator>

namespace form {

namespace {

constexpr int kGroupMargin = 6;
constexpr int kSpacing = 3;

void addItem(QBoxLayout* layout, const Item& item)
{
    if (item.widget)
        layout->addWidget(item.widget);
    else if (item.layout)
        layout->addLayout(item.layout);
    else
        layout->addWidget(label(item.text));
}

}  // namespace

QCheckBox* checkBox(const char* name, const QString& caption, bool checked)
{
    auto* box = new QCheckBox(caption);
    box->setObjectName(QString::fromLatin1(name));
    box->setChecked(checked);
    return box;
}

QRadioButton* radioButton(const char* name, const QString& caption, bool checked)
{
    auto* radio = new QRadioButton(caption);
    radio->setObjectName(QString::fromLatin1(name));
    radio->setChecked(checked);
    return radio;
}

QComboBox* comboBox(const char* name, const QStringList& entries, int index)
{
    auto* list = new QComboBox;
    list->setObjectName(QString::fromLatin1(name));
    list->setEditable(false);
    list->addItems(entries);
    list->setCurrentIndex(index);
    list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return list;
}

QStringList numberEntries(int first, int last)
{
    QStringList entries;
    for (int n = first; n <= last; ++n)
        entries << QString::number(n);
    return entries;
}

UpDown* upDown(const char* counterName, const char* editName, int minimum, int maximum, int position)
{
    auto* counter =
        new UpDown(QString::fromLatin1(counterName), QString::fromLatin1(editName), minimum, maximum);
    counter->setPosition(position);
    return counter;
}

UpDown* tabUpDown(const char* counterName)
{
    const TabCounter* c = tabCounter(QString::fromLatin1(counterName));
    Q_ASSERT(c);
    return upDown(c->name, c->edit, c->minimum, c->maximum, c->initial);
}

UpDown* digitsOnly(UpDown* upDown)
{
    static const QRegularExpression digits(QStringLiteral("[0-9]*"));
    upDown->edit()->setValidator(new QRegularExpressionValidator(digits, upDown->edit()));
    return upDown;
}

QLineEdit* lineEdit(const char* name, const QString& text)
{
    auto* edit = new QLineEdit(text);
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
}

ColorSwatch* colorSwatch(const char* name, std::uint32_t colorRef)
{
    return new ColorSwatch(QString::fromLatin1(name), colorRef);
}

QPushButton* button(const char* name, const QString& caption)
{
    auto* push = new QPushButton(caption);
    push->setObjectName(QString::fromLatin1(name));
    push->setAutoDefault(false);
    return push;
}

QPushButton* helpButton(const char* name, int helpContext)
{
    QPushButton* push = button(name, QStringLiteral("ヘルプ"));
    push->setProperty("helpContext", helpContext);
    return push;
}

QLabel* label(const QString& text) { return new QLabel(text); }

QLabel* pictureBox(const char* name, int width, int height)
{
    auto* box = new QLabel;
    box->setObjectName(QString::fromLatin1(name));
    box->setFixedSize(width, height);
    box->setAlignment(Qt::AlignCenter);
    return box;
}

QHBoxLayout* fillRow(std::initializer_list<Item> items)
{
    auto* layout = new QHBoxLayout;
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(kSpacing + 1);
    for (const Item& item : items)
        addItem(layout, item);
    return layout;
}

QHBoxLayout* row(std::initializer_list<Item> items)
{
    QHBoxLayout* layout = fillRow(items);
    layout->addStretch(1);
    return layout;
}

QGroupBox* group(const QString& caption, std::initializer_list<Item> items)
{
    auto* box = new QGroupBox(caption);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(kGroupMargin, kGroupMargin - 2, kGroupMargin, kGroupMargin - 2);
    layout->setSpacing(kSpacing);
    for (const Item& item : items)
        addItem(layout, item);
    return box;
}

QHBoxLayout* commandRow(std::initializer_list<QWidget*> buttons)
{
    auto* layout = new QHBoxLayout;
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addStretch(1);
    for (QWidget* push : buttons)
        layout->addWidget(push);
    return layout;
}

QWidget* page(QVBoxLayout*& layout)
{
    auto* tab = new QWidget;
    layout = new QVBoxLayout(tab);
    layout->setContentsMargins(kGroupMargin, kGroupMargin, kGroupMargin, kGroupMargin);
    layout->setSpacing(kSpacing + 1);
    return tab;
}

void enableWhile(QAbstractButton* button, std::initializer_list<QWidget*> enabled,
                 std::initializer_list<QWidget*> disabled)
{
    const QList<QWidget*> on(enabled);
    const QList<QWidget*> off(disabled);
    auto apply = [on, off](bool checked) {
        for (QWidget* widget : on)
            widget->setEnabled(checked);
        for (QWidget* widget : off)
            widget->setEnabled(!checked);
    };
    QObject::connect(button, &QAbstractButton::toggled, button, apply);
    apply(button->isChecked());
}

QGroupBox* captionGroup(const CaptionBoxNames& names, CaptionWording wording, bool fileNameOn, int columns)
{
    const bool print = wording == CaptionWording::Print;
    QCheckBox* boxes[] = {
        checkBox(names.fileName,
                 print ? QStringLiteral("ﾌｧｲﾙ名もﾌﾟﾘﾝﾄする") : QStringLiteral("ﾌｧｲﾙ名を表示する"),
                 fileNameOn),
        checkBox(names.noExtension,
                 print ? QStringLiteral("拡張子を印刷しない(ﾌｧｲﾙ名ﾌﾟﾘﾝﾄする場合に有効)")
                       : QStringLiteral("拡張子を表示しない(ﾌｧｲﾙ名表示する場合に有効)"),
                 false),
        checkBox(names.imageInfo,
                 print ? QStringLiteral("画像ｻｲｽﾞと色数もﾌﾟﾘﾝﾄする")
                       : QStringLiteral("画像ｻｲｽﾞと色数を表示する"),
                 false),
        checkBox(names.date,
                 print ? QStringLiteral("撮影日付もﾌﾟﾘﾝﾄする") : QStringLiteral("撮影日付を表示する"), false),
        checkBox(names.title,
                 print ? QStringLiteral("ｺﾒﾝﾄのﾀｲﾄﾙもﾌﾟﾘﾝﾄする") : QStringLiteral("ｺﾒﾝﾄのﾀｲﾄﾙを表示する"),
                 false),
    };
    auto* box = new QGroupBox(print ? QStringLiteral("画像の下に印刷する内容")
                                    : QStringLiteral("画像の下に表示する内容"));
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(kGroupMargin, kGroupMargin - 2, kGroupMargin, kGroupMargin - 2);
    grid->setSpacing(kSpacing);
    const int count = int(std::size(boxes));
    const int perColumn = (count + std::max(columns, 1) - 1) / std::max(columns, 1);
    for (int i = 0; i < count; ++i)
        grid->addWidget(boxes[i], i % perColumn, i / perColumn);
    return box;
}

QGroupBox* pageGroup(const PageBoxNames& names)
{
    return group(QStringLiteral("ﾍｯﾀﾞｰ・ﾌｯﾀｰと余白"),
                 {checkBox(names.header, QStringLiteral("ﾍｯﾀﾞｰを印刷する"), true),
                  checkBox(names.footer, QStringLiteral("ﾌｯﾀｰを印刷する"), true),
                  checkBox(names.noMargins, QStringLiteral("余白なし"), false)});
}

}  // namespace form
