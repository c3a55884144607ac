// The installer's windows name the desktop's classic Japanese fonts; where those
// families are not installed they are served by the metric-compatible IPA fonts.
#pragma once

#include <QFont>
#include <QString>

namespace setupui {

inline const QString kPGothic = QStringLiteral("ＭＳ Ｐゴシック");
inline const QString kGothic = QStringLiteral("ＭＳ ゴシック");
inline const QString kPMincho = QStringLiteral("ＭＳ Ｐ明朝");

// Maps each classic family that is missing to an installed IPA family; call
// once after the application object exists.
void installFontSubstitutes();

// A font of `family` at `pixels` pixels.
QFont formFont(const QString& family, int pixels, bool italic = false);

}  // namespace setupui
