#include "tav/core/WindowPlacement.h"

#include <algorithm>

QRect placeOnScreen(const QSize& client, const QSize& givenFrame, const QRect& available)
{
    const QSize frame = givenFrame.isValid() ? givenFrame : QSize(0, 0);
    const QSize size(std::min(client.width(), available.width() - frame.width()),
                     std::min(client.height(), available.height() - frame.height()));
    const QRect outer(QPoint(), size + frame);
    return QRect(available.center() - outer.center(), size);
}
