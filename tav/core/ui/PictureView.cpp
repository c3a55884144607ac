#include "tav/core/ui/PictureView.h"

#include "imgkit/ImgKit.h"
#include "imgkit/ImgKitGui.h"
#include "tav/core/ui/frmPic.h"

#include <QGuiApplication>
#include <QLayout>
#include <QPixmap>
#include <QScreen>
#include <algorithm>

QString pictureCaption(const QString& path, const imgkit::DibHandle& dib)
{
    ImageInfo info;
    if (!ImgKitImageInfo(dib, &info))
        return path;
    const char* colours = nullptr;
    switch (info.colorCode) {
    case 0: colours = "2色"; break;
    case 1:
    case 2: colours = "16色"; break;
    case 3:
    case 4: colours = "256色"; break;
    case 5: colours = "ﾌﾙｶﾗｰ"; break;
    default: return path;
    }
    return path +
           QStringLiteral("(%1*%2,%3)").arg(info.width).arg(info.height).arg(QString::fromUtf8(colours));
}

void showPicture(QWidget* owner, const QString& path, const imgkit::DibHandle& dib)
{
    ImageInfo info;
    if (!ImgKitImageInfo(dib, &info))
        return;
    QPixmap pixmap(info.width, info.height);
    pixmap.fill(Qt::white);
    ImgKitDisplayHdcXY(&pixmap, dib, 0, 0);

    TfrPic window(owner);
    window.setWindowTitle(pictureCaption(path, dib));
    window.setPicture(pixmap);
    const QScreen* screen = owner && owner->screen() ? owner->screen() : QGuiApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    // A picture larger than the screen opens fitted to it, keeping its proportions.
    const QSize room = available.size() * 0.9;
    const int menu = window.layout()->menuBar()->sizeHint().height();
    const double fit =
        std::min({1.0, double(room.width()) / info.width, double(room.height() - menu) / info.height});
    window.resize(std::max(1, int(info.width * fit + 0.5)), std::max(1, int(info.height * fit + 0.5)) + menu);
    window.move(available.center() - window.rect().center());
    window.exec();
}
