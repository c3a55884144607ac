#include "setup/ui/SetupFonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace setupui {

void installFontSubstitutes()
{
    struct Pair {
        QString classic;
        QStringList served;
    };
    const Pair pairs[] = {
        {kPGothic, {QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic")}},
        {kGothic, {QStringLiteral("IPAGothic"), QStringLiteral("IPAPGothic")}},
        {kPMincho, {QStringLiteral("IPAPMincho"), QStringLiteral("IPAMincho")}},
    };
    for (const Pair& pair : pairs) {
        if (QFontDatabase::hasFamily(pair.classic))
            continue;
        for (const QString& family : pair.served) {
            if (QFontDatabase::hasFamily(family)) {
                QFont::insertSubstitution(pair.classic, family);
                break;
            }
        }
    }
}

QFont formFont(const QString& family, int pixels, bool italic)
{
    QFont font(family);
    font.setPixelSize(pixels);
    font.setItalic(italic);
    return font;
}

}  // namespace setupui
