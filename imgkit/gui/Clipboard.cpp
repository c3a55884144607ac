// ImgKitGetFromClipBrd.
#include "imgkit/ImgKitGui.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>

imgkit::DibHandle ImgKitGetFromClipBrd(QObject*)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return {};
    return imgkit::fromQImage(clipboard->image());
}
