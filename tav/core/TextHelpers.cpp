#include "tav/core/TextHelpers.h"

#include <QRegularExpression>

namespace {

// The short date format in force; the date check of the comment editor sets it.
QString g_shortDateFormat = QStringLiteral("yyyy/mm/dd");

int twoDigitYear(int year)
{
    // Two-digit years fall in the century window of fifty years around today.
    const int now = QDate::currentDate().year();
    const int pivot = now - 50;
    int full = pivot / 100 * 100 + year;
    if (full < pivot)
        full += 100;
    return full;
}

// The count of repeats of pattern[i].
int runLength(const QString& pattern, int i)
{
    int n = 1;
    while (i + n < pattern.size() && pattern[i + n].toLower() == pattern[i].toLower())
        ++n;
    return n;
}

QString twoOrOne(int value, int width)
{
    return width >= 2 ? QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0')) : QString::number(value);
}

QString formatPattern(const QString& pattern, const QDateTime& dt)
{
    QString out;
    bool afterHour = false;
    for (int i = 0; i < pattern.size();) {
        const QChar c = pattern[i].toLower();
        const int n = runLength(pattern, i);
        switch (c.unicode()) {
        case 'y':
            out += n <= 2 ? QStringLiteral("%1").arg(dt.date().year() % 100, 2, 10, QLatin1Char('0'))
                          : QStringLiteral("%1").arg(dt.date().year(), 4, 10, QLatin1Char('0'));
            break;
        case 'm':
            out += twoOrOne(afterHour ? dt.time().minute() : dt.date().month(), n);
            afterHour = false;
            break;
        case 'd': out += twoOrOne(dt.date().day(), n); break;
        case 'h':
            out += twoOrOne(dt.time().hour(), n);
            afterHour = true;
            break;
        case 'n': out += twoOrOne(dt.time().minute(), n); break;
        case 's': out += twoOrOne(dt.time().second(), n); break;
        case '!': out += QString(n, QLatin1Char('!')); break;
        default: out += pattern.mid(i, n); break;
        }
        i += n;
    }
    return out;
}

struct SystemColor {
    int index;
    std::uint32_t value;
};

// The standard values of the system colours a colour property may name.
constexpr SystemColor kSystemColors[] = {
    {0, 0xc0c0c0},  {1, 0x808000},  {2, 0x800000},  {3, 0x808080},  {4, 0xc0c0c0},
    {5, 0xffffff},  {6, 0x000000},  {7, 0x000000},  {8, 0x000000},  {9, 0xffffff},
    {10, 0xc0c0c0}, {11, 0xc0c0c0}, {12, 0x808080}, {13, 0x800000}, {14, 0xffffff},
    {15, 0xc0c0c0}, {16, 0x808080}, {17, 0x808080}, {18, 0x000000}, {19, 0xc0c0c0},
    {20, 0xffffff}, {21, 0x000000}, {22, 0xdfdfdf}, {23, 0x000000}, {24, 0xe1ffff},
};

}  // namespace

QString fullPath(const QString& folder, const QString& name)
{
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

QString withoutTrailingSeparator(const QString& folder)
{
    if (folder.size() > 1 && (folder.endsWith(QLatin1Char('/')) || folder.endsWith(QLatin1Char('\\'))))
        return folder.chopped(1);
    return folder;
}

SplitPath SplitExtension(const QString& path)
{
    if (path.size() <= 2)
        return {QString(), path};
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return {QString(), path};
    return {path.mid(dot + 1), path.left(dot)};
}

bool HasInvalidFileNameChar(const QString& text)
{
    static const QString kInvalid = QStringLiteral("\\/:;,*?\"<>|");
    for (const QChar c : text)
        if (kInvalid.contains(c))
            return true;
    return false;
}

std::optional<QDateTime> ParseDateTimeText(const QString& text)
{
    g_shortDateFormat = QStringLiteral("yyyy/mm/dd");

    static const QRegularExpression kPattern(
        QStringLiteral(R"(^\s*(\d{1,4})/(\d{1,2})/(\d{1,2})(?:\s+(\d{1,2}):(\d{1,2})(?::(\d{1,2}))?)?\s*$)"));
    const QRegularExpressionMatch m = kPattern.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    int year = m.captured(1).toInt();
    if (m.captured(1).size() <= 2)
        year = twoDigitYear(year);
    const QDate date(year, m.captured(2).toInt(), m.captured(3).toInt());
    if (!date.isValid() || year < 1)
        return std::nullopt;
    QTime time(0, 0);
    if (!m.captured(4).isEmpty()) {
        time = QTime(m.captured(4).toInt(), m.captured(5).toInt(),
                     m.captured(6).isEmpty() ? 0 : m.captured(6).toInt());
        if (!time.isValid())
            return std::nullopt;
    }
    return QDateTime(date, time);
}

QString FormatDateTimeAnyYear(const QString& pattern, const QDateTime& dateTime)
{
    if (dateTime.date().year() > 1900)
        return formatPattern(pattern, dateTime);
    QString masked = pattern;
    int n = 0;
    for (QChar& c : masked) {
        if (c == QLatin1Char('y') || c == QLatin1Char('Y')) {
            c = QLatin1Char('!');
            ++n;
        }
    }
    QString result = formatPattern(masked, dateTime);
    if (n > 0) {
        const QString year = QStringLiteral("%1").arg(dateTime.date().year(), 4);
        const qsizetype first = result.indexOf(QLatin1Char('!'));
        if (first >= 0)
            result.replace(first, n, year.right(n));
    }
    return result;
}

QString shortDateText(const QDate& date)
{
    return formatPattern(g_shortDateFormat, QDateTime(date, QTime(0, 0)));
}

RgbBytes ColorToRgbBytes(std::uint32_t color)
{
    if (color & 0x80000000u) {
        const int index = static_cast<int>(color & 0xff);
        color = 0;
        for (const SystemColor& s : kSystemColors)
            if (s.index == index)
                color = s.value;
    }
    return {static_cast<std::uint8_t>(color & 0xff), static_cast<std::uint8_t>((color >> 8) & 0xff),
            static_cast<std::uint8_t>((color >> 16) & 0xff)};
}
