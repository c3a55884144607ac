#include "tav/printing/AdjustImage.h"

#include "imgkit/ImgKit.h"
#include "tav/core/ControlSurface.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

using imgkit::DibHandle;

PrintAdjustment ReadPrintAdjustment(const ControlSurface& controls)
{
    PrintAdjustment a;
    a.grayscale = controls.checked(QStringLiteral("ch_gurei"));
    a.brightness = controls.text(QStringLiteral("tx_akarusa"));
    a.red = controls.text(QStringLiteral("tx_r"));
    a.green = controls.text(QStringLiteral("tx_g"));
    a.blue = controls.text(QStringLiteral("tx_b"));
    return a;
}

std::optional<double> AdjustNumber(const QString& text)
{
    bool ok = false;
    const double value = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

double BrightnessLevel(double percent)
{
    // Division by 20 rather than x 0.05, so that 100 % is exactly 5.0.
    return std::clamp(percent / 20.0, -5.0, 5.0);
}

int ColorChange(double percent)
{
    // x 255 / 100 rather than x 2.55, whose binary value is a little below
    // 2.55 and would make 100 % come out as 254. Limited before the
    // conversion so that no typed number can overflow an int.
    return static_cast<int>(std::trunc(std::clamp(percent * 255.0 / 100.0, -255.0, 255.0)));
}

bool ApplyBrightness(DibHandle& picture, const QString& brightness)
{
    const std::optional<double> percent = AdjustNumber(brightness);
    return percent && ImgKitBright(picture, {}, {}, BrightnessLevel(*percent)) != 0;
}

bool ApplyColor(DibHandle& picture, const QString& red, const QString& green, const QString& blue)
{
    const std::optional<double> r = AdjustNumber(red);
    const std::optional<double> g = AdjustNumber(green);
    const std::optional<double> b = AdjustNumber(blue);
    return r && g && b && ImgKitRGB(picture, {}, {}, ColorChange(*r), ColorChange(*g), ColorChange(*b)) != 0;
}

namespace {

bool adjust(DibHandle& picture, const PrintAdjustment& a)
{
    if (a.grayscale) {
        picture = ImgKitSetGray(picture, {}, {});
        return static_cast<bool>(picture);
    }
    if (!IsUnchangedText(a.brightness) && !ApplyBrightness(picture, a.brightness))
        return false;
    const bool colorUnchanged = IsUnchangedText(a.red) && IsUnchangedText(a.green) && IsUnchangedText(a.blue);
    return colorUnchanged || ApplyColor(picture, a.red, a.green, a.blue);
}

}  // namespace

bool ApplyPrintAdjustment(DibHandle& picture, const PrintAdjustment& a)
{
    if (adjust(picture, a))
        return true;
    picture.reset();
    return false;
}
