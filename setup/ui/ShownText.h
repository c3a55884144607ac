// The installer's texts keep the CR line ends of the product; Qt's labels and
// text boxes break lines at LF.
#pragma once

#include <QString>

inline QString shownText(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
}
