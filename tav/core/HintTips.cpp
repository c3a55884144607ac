#include "tav/core/HintTips.h"

#include "platform/Sjis.h"

#include <QFile>
#include <QRegularExpression>

QStringList hintLines(const QByteArray& sjisBytes)
{
    if (sjisBytes.isEmpty())
        return {};
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\n|\r"));
    QStringList lines = platform::fromSjis(sjisBytes).split(lineBreak);
    if (sjisBytes.endsWith('\n') || sjisBytes.endsWith('\r'))
        lines.removeLast();
    return lines;
}

QStringList readHintFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return hintLines(file.readAll());
}

void HintTips::showTip(int index)
{
    if (m_tips.isEmpty())
        return;
    const int n = count();
    m_index = ((index % n) + n) % n;
}

void HintTips::next()
{
    if (!m_tips.isEmpty())
        showTip(m_index + 1);
}
