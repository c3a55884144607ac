#include "tav/core/OptionsModel.h"

#include <algorithm>
#include <cmath>

OptionsForm optionsOf(const AppSettings& s)
{
    OptionsForm f;
    f.header = s.header;
    f.footer = s.footer;
    f.headerTitle = s.headerTitle;
    f.footerTitle = s.footerTitle;
    f.fileNameFont = s.fileNameFont;
    f.commentFont = s.commentFont;
    f.margins = {s.marginTop, s.marginBottom, s.marginRight, s.marginLeft};
    f.headerLine = s.headerLine;
    f.headerLineSize = s.headerLineSize;
    f.footerLine = s.footerLine;
    f.footerLineSize = s.footerLineSize;
    f.gvIs080OrLater = s.gvIs080OrLater;
    f.highQualityScaling = s.highQualityScaling;
    f.uprightPictures = s.uprightPictures;
    f.colourProfiles = s.colourProfiles;
    f.exifShootingDate = s.exifShootingDate;
    f.keepGpsOnConvert = s.keepGpsOnConvert;
    f.gvPath = s.gvPath;
    f.gvWaitSeconds = s.gvWaitSeconds;
    return f;
}

void storeOptions(const OptionsForm& f, AppSettings& s)
{
    s.headerTitle = f.headerTitle;
    s.header = f.header;
    s.footer = f.footer;
    s.footerTitle = f.footerTitle;
    s.fileNameFont = f.fileNameFont;
    s.commentFont = f.commentFont;
    s.marginTop = f.margins.top;
    s.marginBottom = f.margins.bottom;
    s.marginRight = f.margins.right;
    s.marginLeft = f.margins.left;
    s.headerLine = f.headerLine;
    s.headerLineSize = f.headerLineSize;
    s.footerLine = f.footerLine;
    s.footerLineSize = f.footerLineSize;
    s.gvIs080OrLater = f.gvIs080OrLater;
    s.highQualityScaling = f.highQualityScaling;
    s.uprightPictures = f.uprightPictures;
    s.colourProfiles = f.colourProfiles;
    s.exifShootingDate = f.exifShootingDate;
    s.keepGpsOnConvert = f.keepGpsOnConvert;
    s.gvPath = f.gvPath;
    s.gvWaitSeconds = f.gvWaitSeconds;
}

FontTarget fontTargetOfTag(int tag)
{
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

std::optional<QString> headerSlotText(int type, const QString& folder, const QString& date, const QString& title)
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
