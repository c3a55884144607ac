#include "PictureView.h"

#include "ImgKit.h"
#include "ImgKitGui.h"

#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

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
    return path + QStringLiteral("(%1*%2,%3)").arg(info.width).arg(info.height).arg(QString::fromUtf8(colours));
}

void showPicture(QWidget* owner, const QString& path, const imgkit::DibHandle& dib)
{
    ImageInfo info;
    if (!ImgKitImageInfo(dib, &info))
        return;
    QPixmap pixmap(info.width, info.height);
    pixmap.fill(Qt::white);
    ImgKitDisplayHdcXY(&pixmap, dib, 0, 0);

    QDialog window(owner);
    window.setObjectName(QStringLiteral("frPic"));
    window.setWindowTitle(pictureCaption(path, dib));
    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* picture = new QLabel;
    picture->setPixmap(pixmap);
    auto* scroll = new QScrollArea;
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(picture);
    scroll->setAlignment(Qt::AlignCenter);
    layout->addWidget(scroll);
    const QScreen* screen = owner && owner->screen() ? owner->screen() : QGuiApplication::primaryScreen();
    const QSize room = screen ? screen->availableGeometry().size() * 0.9 : QSize(1024, 768);
    window.resize(std::min(info.width + 2, room.width()), std::min(info.height + 2, room.height()));
    window.exec();
}
