#include "tav/core/CustomColors.h"

namespace {

constexpr std::uint32_t kWhite = 0xffffff;

}  // namespace

void loadCustomColors(const CustomColorTexts& texts, platform::ColorRequest& request)
{
    for (auto& slot : request.custom)
        slot.reset();
    for (const QString& line : texts) {
        // "ColorA=ff00aa": the letter chooses the slot.
        if (line.size() < 8 || !line.startsWith(QLatin1String("Color"), Qt::CaseInsensitive) ||
            line[6] != QLatin1Char('='))
            continue;
        const int slot = line[5].toUpper().unicode() - 'A';
        bool ok = false;
        const uint value = line.mid(7).toUInt(&ok, 16);
        if (slot >= 0 && slot < 16 && ok && value <= 0xffffff)
            request.custom[slot] = value;
    }
}

void storeCustomColors(const platform::ColorRequest& request, CustomColorTexts& texts)
{
    for (int slot = 0; slot < 16; ++slot) {
        const std::uint32_t value = request.custom[slot].value_or(kWhite);
        texts[slot] =
            QStringLiteral("Color%1=%2").arg(QChar(u'A' + slot)).arg(value, 6, 16, QLatin1Char('0'));
    }
}
