// Construction helpers for the work tabs: every control is created with its
// object name (the name the settings and the window's handlers look it up by),
// its caption and its initial state, so that the tab builders read as a list
// of the controls they hold and their arrangement.
#pragma once

#include "tav/core/ui/ColorSwatch.h"
#include "tav/core/ui/UpDown.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QString>
#include <QStringList>
#include <QVBoxLayout>
#include <cstdint>
#include <initializer_list>

namespace form {

QCheckBox* checkBox(const char* name, const QString& caption, bool checked);
QRadioButton* radioButton(const char* name, const QString& caption, bool checked);

// A drop-down list that only offers its entries (the settings store the
// chosen entry's index, so the entries and their order are fixed).
QComboBox* comboBox(const char* name, const QStringList& entries, int index);
QStringList numberEntries(int first, int last);

UpDown* upDown(const char* counterName, const char* editName, int minimum, int maximum, int position);
// A work tab's counter as the tab counter table gives it.
UpDown* tabUpDown(const char* counterName);
// Restricts an up-down's field to decimal digits.
UpDown* digitsOnly(UpDown* upDown);

QLineEdit* lineEdit(const char* name, const QString& text);
ColorSwatch* colorSwatch(const char* name, std::uint32_t colorRef);
QPushButton* button(const char* name, const QString& caption);
// A tab's "ヘルプ" button; the window opens the help topic of its context number.
QPushButton* helpButton(const char* name, int helpContext);
QLabel* label(const QString& text);
QLabel* pictureBox(const char* name, int width, int height);

// A hidden control: it keeps its setting but is not shown on the tab.
template <class Control>
Control* hidden(Control* control, QWidget* page)
{
    control->setParent(page);
    control->setVisible(false);
    return control;
}

// Items of a row or group: a widget, a nested layout, or a text that becomes a label.
struct Item {
    Item(QWidget* w) : widget(w) {}
    Item(QLayout* l) : layout(l) {}
    Item(const char* text) : text(QString::fromUtf8(text)) {}
    Item(const QString& t) : text(t) {}
    QWidget* widget = nullptr;
    QLayout* layout = nullptr;
    QString text;
};

// A left-aligned row of controls and texts.
QHBoxLayout* row(std::initializer_list<Item> items);
// A row whose widening controls (edit fields) take up the whole width.
QHBoxLayout* fillRow(std::initializer_list<Item> items);
// A group box with compact margins holding the given rows and controls, top to bottom.
QGroupBox* group(const QString& caption, std::initializer_list<Item> items);
// The command row at the bottom of a tab: the buttons, right-aligned.
QHBoxLayout* commandRow(std::initializer_list<QWidget*> buttons);
// A tab page with compact margins; its layout is returned through `layout`.
QWidget* page(QVBoxLayout*& layout);

// Keeps `enabled` enabled and `disabled` disabled exactly while `button` is
// checked (and the reverse while it is not), starting with its current state.
void enableWhile(QAbstractButton* button, std::initializer_list<QWidget*> enabled,
                 std::initializer_list<QWidget*> disabled = {});

// The caption choices that the print, sheet and HTML tabs share.
struct CaptionBoxNames {
    const char* fileName;
    const char* noExtension;
    const char* imageInfo;
    const char* date;
    const char* title;
};
enum class CaptionWording { Print, Display };
// The boxes run top to bottom, then on into the next of `columns` columns.
QGroupBox* captionGroup(const CaptionBoxNames& names, CaptionWording wording, bool fileNameOn,
                        int columns = 1);

// Header, footer and margins switches of the page-based print tabs.
struct PageBoxNames {
    const char* header;
    const char* footer;
    const char* noMargins;
};
QGroupBox* pageGroup(const PageBoxNames& names);

}  // namespace form
