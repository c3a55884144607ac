// The font chooser of the prompt service: name, size, style (bold, italic,
// underline, strike-out) and colour, as the settings store a font, with a
// sample of the choice. The stored names are aliases the font list does not
// hold; the chooser lists such a name as it is, and a name the user did not
// change comes back exactly as it was given.
#pragma once

#include "platform/Prompt.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace platform {

class FontChooser : public QDialog {
    Q_OBJECT
public:
    explicit FontChooser(const FontSpec& initial, QWidget* parent = nullptr);

    // The font as the dialog's controls hold it now.
    FontSpec result() const;
    // The colour button's choice (tests set it directly).
    void setColor(std::uint32_t colorRef);

private:
    void chooseColor();
    void showSample();

    FontSpec m_initial;
    std::uint32_t m_color;
    QComboBox* m_name;
    QComboBox* m_size;
    QCheckBox* m_bold;
    QCheckBox* m_italic;
    QCheckBox* m_underline;
    QCheckBox* m_strikeOut;
    QPushButton* m_colorButton;
    QLabel* m_sample;
};

}  // namespace platform
