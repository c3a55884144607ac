#include "platform/FontSpecQt.h"

#include <cstdlib>

namespace platform {

QColor toQColor(std::uint32_t ref)
{
    return QColor(int(ref & 0xFF), int((ref >> 8) & 0xFF), int((ref >> 16) & 0xFF));
}

std::uint32_t toColorRef(const QColor& c)
{
    return std::uint32_t(c.red()) | (std::uint32_t(c.green()) << 8) | (std::uint32_t(c.blue()) << 16);
}

QFont toQFont(const FontSpec& stored)
{
    QFont font(stored.name);
    if (stored.size != 0)
        font.setPointSize(std::abs(stored.size));
    font.setBold(stored.style & 1);
    font.setItalic(stored.style & 2);
    font.setUnderline(stored.style & 4);
    font.setStrikeOut(stored.style & 8);
    return font;
}

FontSpec toFontSpec(const QFont& font, std::uint32_t color)
{
    FontSpec stored;
    stored.name = font.family();
    stored.size = font.pointSize() > 0 ? font.pointSize() : qRound(font.pointSizeF());
    stored.color = color;
    stored.style = (font.bold() ? 1 : 0) | (font.italic() ? 2 : 0) | (font.underline() ? 4 : 0) |
                   (font.strikeOut() ? 8 : 0);
    return stored;
}

}  // namespace platform
