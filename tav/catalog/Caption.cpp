// Building the caption of a picture.
#include "tav/catalog/Caption.h"

#include "imgkit/ImgKit.h"
#include "tav/catalog/CommentFile.h"
#include "tav/core/ControlSurface.h"

#include <QFileInfo>

namespace {

// "(640X480,256色)" or "(640X480,24bitｶﾗｰ)" by colour code; empty for a
// picture the imaging library cannot describe.
QString imageInfoText(const ImageInfo& info)
{
    const auto colours = [&info](int count) {
        return QStringLiteral("(%1X%2,%3色)").arg(info.width).arg(info.height).arg(count);
    };
    const auto depth = [&info](int bits) {
        return QStringLiteral("(%1X%2,%3bitｶﾗｰ)").arg(info.width).arg(info.height).arg(bits);
    };
    switch (info.colorCode) {
    case 0: return colours(2);
    case 1:
    case 2: return colours(16);
    case 3:
    case 4: return colours(256);
    case 5: return depth(24);
    case 6: return depth(16);
    case 7: return depth(32);
    default: return {};
    }
}

}  // namespace

CaptionOptions& captionOptions()
{
    static CaptionOptions options;
    return options;
}

QString BuildCaption(std::uint8_t htmlMode, const imgkit::DibHandle* picture, const QString& path)
{
    return BuildCaption(captionOptions(), htmlMode, picture, path);
}

QString BuildCaption(const CaptionOptions& options, std::uint8_t htmlMode, const imgkit::DibHandle* picture,
                     const QString& path)
{
    ImageInfo info;
    const bool described = picture && *picture && ImgKitImageInfo(*picture, &info) != 0;
    return BuildCaptionOfSize(options, htmlMode, described ? &info : nullptr, path);
}

QString BuildCaptionOfSize(std::uint8_t htmlMode, const ImageInfo* picture, const QString& path)
{
    return BuildCaptionOfSize(captionOptions(), htmlMode, picture, path);
}

QString BuildCaptionOfSize(const CaptionOptions& options, std::uint8_t htmlMode, const ImageInfo* picture,
                           const QString& path)
{
    const bool html = htmlMode == 1;
    QString caption;
    // In HTML a part after the first starts on a new line; its text is
    // escaped so that a "<" or "&" in a name or title cannot break the page.
    const auto append = [&](const QString& part) {
        if (html && !caption.isEmpty())
            caption += QStringLiteral("<br>");
        caption += html ? part.toHtmlEscaped() : part;
    };

    if (!path.isEmpty() && (options.nameMode == 1 || options.nameMode == 2)) {
        const QFileInfo file(path);
        caption += options.nameMode == 1 ? file.fileName() : file.completeBaseName();
        if (html)
            caption = caption.toHtmlEscaped();
    }
    if (options.showImageInfo == 1 && picture)
        append(imageInfoText(*picture));
    if (options.showDate == 1 || options.showTitle == 1) {
        COMKATA record;
        ReadComment(path, record);
        if (options.showDate == 1)
            append(QStringLiteral(" ") + record.year + QStringLiteral("/") + record.month +
                   QStringLiteral("/") + record.day);
        if (options.showTitle == 1)
            append(QStringLiteral(" ") + record.title);
    }
    return caption;
}

void SetCaptionOptionsFrom(const ControlSurface& c, const CaptionBoxes& boxes)
{
    const auto on = [&c](const char* name) { return c.checked(QString::fromLatin1(name)); };
    CaptionOptions& options = captionOptions();
    options.nameMode = on(boxes.fileName) ? (on(boxes.noExtension) ? 2 : 1) : 0;
    options.showImageInfo = on(boxes.imageInfo);
    options.showDate = on(boxes.shootingDate);
    options.showTitle = on(boxes.title);
}
