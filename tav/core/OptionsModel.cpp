#include "tav/core/OptionsModel.h"

#include <algorithm>
#include <cmath>

namespace {

// Every value the dialog edits, as the form's field beside the setting's: the
// one list that both taking the working copy and storing it back walk.
template <typename Form, typename Settings, typename Visit>
void eachOption(Form& f, Settings& s, Visit visit)
{
    visit(f.header, s.header);
    visit(f.footer, s.footer);
    visit(f.headerTitle, s.headerTitle);
    visit(f.footerTitle, s.footerTitle);
    visit(f.fileNameFont, s.fileNameFont);
    visit(f.commentFont, s.commentFont);
    visit(f.margins.top, s.marginTop);
    visit(f.margins.bottom, s.marginBottom);
    visit(f.margins.right, s.marginRight);
    visit(f.margins.left, s.marginLeft);
    visit(f.headerLine, s.headerLine);
    visit(f.headerLineSize, s.headerLineSize);
    visit(f.footerLine, s.footerLine);
    visit(f.footerLineSize, s.footerLineSize);
    visit(f.gvIs080OrLater, s.gvIs080OrLater);
    visit(f.highQualityScaling, s.highQualityScaling);
    visit(f.uprightPictures, s.uprightPictures);
    visit(f.colourProfiles, s.colourProfiles);
    visit(f.exifShootingDate, s.exifShootingDate);
    visit(f.keepGpsOnConvert, s.keepGpsOnConvert);
    visit(f.gvPath, s.gvPath);
    visit(f.gvWaitSeconds, s.gvWaitSeconds);
}

}  // namespace

OptionsForm optionsOf(const AppSettings& settings)
{
    OptionsForm form;
    eachOption(form, settings, [](auto& field, const auto& setting) { field = setting; });
    return form;
}

void storeOptions(const OptionsForm& form, AppSettings& settings)
{
    eachOption(form, settings, [](const auto& field, auto& setting) { setting = field; });
}

FontTarget fontTargetOfTag(int tag)
{
    // The dialog's buttons carry these tags, out of order as they are: the
    // footer's centre has 8, after the comment font's 7, and an unknown tag
    // edits the comment font. Renumbering here would send a button to another font.
    switch (tag) {
    case 1: return FontTarget::HeaderLeft;
    case 2: return FontTarget::HeaderCentre;
    case 3: return FontTarget::HeaderRight;
    case 4: return FontTarget::FooterLeft;
    case 5: return FontTarget::FooterRight;
    case 6: return FontTarget::FileName;
    case 8: return FontTarget::FooterCentre;
    default: return FontTarget::Comment;
    }
}

platform::FontSpec& fontOf(OptionsForm& form, FontTarget target)
{
    switch (target) {
    case FontTarget::HeaderLeft: return form.header[SlotLeft].font;
    case FontTarget::HeaderCentre: return form.header[SlotCentre].font;
    case FontTarget::HeaderRight: return form.header[SlotRight].font;
    case FontTarget::FooterLeft: return form.footer[SlotLeft].font;
    case FontTarget::FooterCentre: return form.footer[SlotCentre].font;
    case FontTarget::FooterRight: return form.footer[SlotRight].font;
    case FontTarget::FileName: return form.fileNameFont;
    case FontTarget::Comment: break;
    }
    return form.commentFont;
}

QString marginGroupCaption(const QString& caption, int minimum)
{
    return caption + QStringLiteral("最小%1mm～)").arg(minimum);
}

int marginFromField(const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    return ok && value >= 0 && value <= 999 ? value : 0;
}

int previewLineThickness(int widthIndex)
{
    switch (widthIndex) {
    case 2: return 2;
    case 3: return 3;
    default: return 1;
    }
}

int headerLineTop(int leftLabelTop, const std::vector<int>& visibleFontHeights, int thickness)
{
    int tallest = 0;
    for (int height : visibleFontHeights)
        tallest = std::max(tallest, std::abs(height));
    return static_cast<int>(std::trunc(leftLabelTop + tallest + thickness / 2.0));
}

int footerLineTop(int leftLabelTop, int thickness)
{
    return static_cast<int>(std::trunc(leftLabelTop - thickness / 2.0));
}

std::optional<QString> headerSlotText(int type, const QString& folder, const QString& date,
                                      const QString& title)
{
    switch (type) {
    case 1: return folder;
    case 2: return date;
    case 3: return title;
    default: return std::nullopt;
    }
}

std::optional<QString> footerSlotText(int type, const QString& title)
{
    switch (type) {
    case 1: return QStringLiteral("-1-");
    case 2: return title;
    default: return std::nullopt;
    }
}
