#include "tav/core/Fsort.h"

#include "tav/core/TextHelpers.h"

#include <QCollator>
#include <QFileInfo>
#include <algorithm>

namespace {

constexpr int kDateKeyLength = 19;  // "yyyy/mm/dd/hh:nn:ss"

}  // namespace

QStringList SortFileNames(bool excludeTav, int mode, const QStringList& names, const QString& folder)
{
    const bool byDate = mode == SortDateAscending || mode == SortDateDescending;
    QStringList keys;
    keys.reserve(names.size());
    for (const QString& name : names) {
        const QString path = fullPath(folder, name);
        if (excludeTav && SplitExtension(path).extension.toUpper() == QLatin1String("TAV"))
            continue;
        if (!byDate) {
            keys << name;
            continue;
        }
        const QFileInfo info(path);
        const QDateTime written = info.lastModified();
        if (!info.exists() || !written.isValid())
            continue;
        QString stamp = FormatDateTimeAnyYear(QStringLiteral("yyyy/mm/dd/hh:nn:ss"), written);
        if (stamp.size() != kDateKeyLength)
            stamp = QString(kDateKeyLength, QLatin1Char(' '));
        keys << stamp + name;
    }

    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(keys.begin(), keys.end(),
                     [&collator](const QString& a, const QString& b) { return collator.compare(a, b) < 0; });
    if (mode == SortNameDescending || mode == SortDateDescending)
        std::reverse(keys.begin(), keys.end());
    if (byDate)
        for (QString& key : keys)
            key.remove(0, kDateKeyLength);
    return keys;
}
