// The options dialog's working copy: the settings of AppSettings that the
// dialog edits, taken when it opens and stored back only by "O.K", and the
// rules of its previews and fields, which need no window.
#pragma once

#include "tav/core/AppSettings.h"
#include "tav/core/PrinterMargins.h"

#include <QString>
#include <array>
#include <optional>
#include <vector>

struct OptionsForm {
    std::array<HeaderFooterSlot, 3> header;
    std::array<HeaderFooterSlot, 3> footer;
    QString headerTitle;
    QString footerTitle;
    platform::FontSpec fileNameFont;
    platform::FontSpec commentFont;
    PageMargins margins;
    bool headerLine = false;
    int headerLineSize = 0;
    bool footerLine = false;
    int footerLineSize = 0;
    bool gvIs080OrLater = false;
    bool highQualityScaling = false;
    bool uprightPictures = true;
    bool colourProfiles = true;
    bool exifShootingDate = true;
    bool keepGpsOnConvert = true;
    QString gvPath;
    int gvWaitSeconds = 6;
};

OptionsForm optionsOf(const AppSettings& settings);
// Stores every edited value; the fields the dialog does not edit stay as they are.
void storeOptions(const OptionsForm& form, AppSettings& settings);

// What a font button edits, by the button's tag number: 1-3 the header's
// left, centre and right labels, 4 and 5 the footer's left and right, 6 the
// file-name font, 8 the footer's centre; 7 and any other tag the comment font.
enum class FontTarget {
    HeaderLeft,
    HeaderCentre,
    HeaderRight,
    FooterLeft,
    FooterCentre,
    FooterRight,
    FileName,
    Comment
};
FontTarget fontTargetOfTag(int tag);
platform::FontSpec& fontOf(OptionsForm& form, FontTarget target);

// A margin group's caption with the printer's minimum: "上余白(" and 5 give "上余白(最小5mm～)".
QString marginGroupCaption(const QString& caption, int minimum);
// The margin a field holds: its whole number (the field takes at most three
// digits), 0 for an empty field or one holding anything else.
int marginFromField(const QString& text);

// The preview line's thickness in pixels by the width list: "中" 2, "太" 3, "極細" and "細" 1.
int previewLineThickness(int widthIndex);
// The header line lies under the tallest visible label: the left label's top,
// plus the largest font height in pixels among the visible labels (0 when none
// is visible), plus half the thickness, cut to a whole number.
int headerLineTop(int leftLabelTop, const std::vector<int>& visibleFontHeights, int thickness);
// The footer line lies over the labels: the left label's top less half the thickness, cut.
int footerLineTop(int leftLabelTop, int thickness);

// The text a header preview label shows for its slot type, nullopt when the
// label is hidden (type 0 or unknown): 1 the folder, 2 the date, 3 the title.
std::optional<QString> headerSlotText(int type, const QString& folder, const QString& date,
                                      const QString& title);
// The same for the footer: 1 the page number "-1-", 2 the footer title.
std::optional<QString> footerSlotText(int type, const QString& title);
