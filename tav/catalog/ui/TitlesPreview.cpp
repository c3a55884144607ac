// Loading the titles tab's preview picture.
#include "tav/catalog/ui/TitlesPreview.h"

#include "platform/Prompt.h"
#include "tav/core/AppSettings.h"
#include "tav/core/BatchLoop.h"
#include "tav/imaging/Bitmaps.h"
#include "tav/imaging/ImageLoad.h"
#include "tav/imaging/ImageResize.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>

namespace {

void hide(QLabel* target)
{
    target->clear();
    target->setVisible(false);
}

// The picture resized to fit `box` whole, as a bitmap ready for the screen;
// null when it cannot be loaded.
QImage fittedPicture(const QString& path, const QSize& box, const AppSettings& app)
{
    const imgkit::DibHandle picture =
        LoadImageFile(path, QStringLiteral("案内"), path + QStringLiteral("を読込み中"), app.gvPath);
    if (!picture)
        return {};
    const QSize size = ScaledToFit(picture.width(), picture.height(), box.width(), box.height());
    imgkit::DibHandle fitted =
        ResizeImage(picture, QString(), QString(), size.width(), size.height(), app.highQualityScaling);
    // The high-quality filter refuses some sizes; a preview then takes the plain one.
    if (!fitted && app.highQualityScaling)
        fitted = ResizeImage(picture, QString(), QString(), size.width(), size.height(), false);
    QImage bitmap;
    if (!fitted || !DibToBitmap(fitted, bitmap))
        return {};
    ReduceBitmapForDisplay(true, bitmap);
    return bitmap;
}

}  // namespace

void showTitlesPreview(QLabel* target, bool wanted, const QString& path, const AppSettings& app,
                       BatchHost* status)
{
    if (!target)
        return;
    if (!wanted || path.isEmpty()) {
        hide(target);
        return;
    }
    if (status)
        status->setStatus(QStringLiteral("画像を読み込んでいます..."));
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const QImage picture = fittedPicture(path, target->size(), app);
    QGuiApplication::restoreOverrideCursor();
    if (status)
        status->setStatus(QString());
    if (picture.isNull()) {
        // A stale preview of the previous picture would mislead.
        hide(target);
        platform::showInformation(path + QStringLiteral("は読めませんでした。"));
        return;
    }
    target->setPixmap(QPixmap::fromImage(picture));
    target->setVisible(true);
}
