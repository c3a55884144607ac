#include "setup/ui/FitLabel.h"

#include <QLabel>

void fitLabelHeight(QLabel* label, const QList<QWidget*>& containers, const QList<QWidget*>& below,
                    QWidget* window)
{
    const int needed = label->heightForWidth(label->width());
    const int extra = needed - label->height();
    if (extra <= 0)
        return;
    label->resize(label->width(), needed);
    for (QWidget* w : containers)
        w->resize(w->width(), w->height() + extra);
    for (QWidget* w : below)
        w->move(w->x(), w->y() + extra);
    const QSize size(window->width(), window->height() + extra);
    window->setFixedSize(size);
}
