// Small text helpers the browser, the comment files, the captions and the
// HTML album share.
#pragma once

#include <QDateTime>
#include <QString>
#include <cstdint>
#include <optional>

// The full path of `name` in `folder`: joined with "/", except below the root
// folder "/" (any folder ending in "/"), which takes no extra separator.
QString fullPath(const QString& folder, const QString& name);

// The folder without its one trailing "/" or "\"; a folder of one character
// (the root "/") stays as it is, so that fullPath still joins names to it.
QString withoutTrailingSeparator(const QString& folder);

// Splits at the last "." of the whole path (the scan does not stop at folder
// separators). Paths of at most two characters, and paths without a ".", are
// all stem.
struct SplitPath {
    QString extension;
    QString stem;
};
SplitPath SplitExtension(const QString& path);

// True when `text` holds any of \ / : ; , * ? " < > |
bool HasInvalidFileNameChar(const QString& text);

// Parses "yyyy/mm/dd" with an optional " hh:nn[:ss]"; nullopt when the text is
// not a date. Also puts the short date format "yyyy/mm/dd" in force for the
// rest of the run (see shortDateText).
std::optional<QDateTime> ParseDateTimeText(const QString& text);

// Formats with the date-time pattern letters yyyy yy m mm d dd h hh n nn s ss
// ("m" after "h" means minutes, as "n" does); other characters are copied.
// Years up to 1900 are written through the "!" placeholder and "%4d".
QString FormatDateTimeAnyYear(const QString& pattern, const QDateTime& dateTime);

// A date in the short date format in force ("yyyy/mm/dd" once
// ParseDateTimeText has run, and by default).
QString shortDateText(const QDate& date);

// The red, green and blue bytes of a colour reference 0x00BBGGRR; a system
// colour (0x80000000 | index) is first resolved to its standard value.
struct RgbBytes {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
};
RgbBytes ColorToRgbBytes(std::uint32_t color);
