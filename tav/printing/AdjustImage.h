// The brightness, colour balance and grayscale change of the tab "画像調整",
// applied to every picture loaded for printing, sticker frames, batch
// conversion and thumbnail sheets.
#pragma once

#include "imgkit/DibHandle.h"

#include <QString>
#include <optional>

class ControlSurface;

// The tab's values as typed: the edit boxes are free text.
struct PrintAdjustment {
    bool grayscale = false;  // ch_gurei
    QString brightness = QStringLiteral("0");  // tx_akarusa, percent
    QString red = QStringLiteral("0");  // tx_r, tx_g, tx_b, percent
    QString green = QStringLiteral("0");
    QString blue = QStringLiteral("0");
};

PrintAdjustment ReadPrintAdjustment(const ControlSurface& controls);

// A value counts as unchanged only when its text is exactly "0" ("00" and
// " 0" are changes of 0).
inline bool IsUnchangedText(const QString& text) { return text == QLatin1String("0"); }

// The text read as a real number; nullopt when it is none.
std::optional<double> AdjustNumber(const QString& text);

// Percent to ImgKitBright's level: x 0.05, limited to -5.0 .. +5.0.
double BrightnessLevel(double percent);
// Percent to ImgKitRGB's channel change: trunc(x 2.55), limited to -255 .. +255.
int ColorChange(double percent);

// Apply the brightness text, or the three colour channel texts, to `picture` in place;
// false when one cannot be read or the library fails. Used by the print path
// and by the preview's views.
bool ApplyBrightness(imgkit::DibHandle& picture, const QString& brightness);
bool ApplyColor(imgkit::DibHandle& picture, const QString& red, const QString& green, const QString& blue);

// The adjustment of the print path: grayscale replaces the picture (brightness
// and colour ignored); otherwise brightness unless its text is "0", then
// colour unless all three texts are "0". False when a value that counts is
// not a number or the library fails; the picture is then released and the
// caller skips the file.
bool ApplyPrintAdjustment(imgkit::DibHandle& picture, const PrintAdjustment& adjustment);
