// Stored fonts and colours (FontSpec, COLORREF 0x00bbggrr) as Qt's.
#pragma once

#include "platform/Prompt.h"

#include <QColor>
#include <QFont>
#include <cstdint>

namespace platform {

QColor toQColor(std::uint32_t colorRef);
std::uint32_t toColorRef(const QColor& color);
// Name, point size (a negative stored size counts by its absolute value) and
// the style bits 1 bold, 2 italic, 4 underline, 8 strike-out.
QFont toQFont(const FontSpec& stored);
FontSpec toFontSpec(const QFont& font, std::uint32_t color);

}  // namespace platform
