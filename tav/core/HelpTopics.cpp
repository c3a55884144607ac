#include "tav/core/HelpTopics.h"

QString helpPagePath(const QString& programFolder, int context)
{
    const QString folder = programFolder + QString::fromLatin1(kHelpFolder) + QLatin1Char('/');
    if (context <= 0)
        return folder + QStringLiteral("index.html");
    return folder + QStringLiteral("topic-%1.html").arg(context);
}

QString reportPagePath(const QString& programFolder)
{
    return programFolder + QString::fromLatin1(kHelpFolder) + QStringLiteral("/report.html");
}
