#include "ImageLoad.h"

#include "ImgKit.h"
#include "TextHelpers.h"

using imgkit::DibHandle;

LoadRoute LoadRouteFor(const QString& ext)
{
    static const QStringList never = {"TXT", "XLS", "DOC", "MDB", "SUE", "DLL", "LZH", "EXE", "CAB"};
    static const QStringList ik5 = {"JPG", "JPEG", "PCX", "PNG", "FPX"};
    if (never.contains(ext))
        return LoadRoute::Never;
    if (ik5.contains(ext))
        return LoadRoute::Ik5;
    if (ext == QLatin1String("BMP") || ext == QLatin1String("TIF"))
        return LoadRoute::ImgKit;
    return LoadRoute::GvOnly;
}

namespace {

DibHandle loadThroughImgKit(const QString& fileName, const QString& caption, const QString& message)
{
    std::int16_t code = 0;
    if (ImgKitFileType(fileName, &code) == 0 || code == ImgKitTypeUnreadable)
        return {};
    return ImgKitFileLoad(fileName, caption, message);
}

}  // namespace

DibHandle LoadImageFile(const QString& fileName, const QString& caption, const QString& message,
                        const QString& gvPath, DibFetcher* gv)
{
    if (fileName.isEmpty())
        return {};
    const QString ext = SplitExtension(fileName).extension.toUpper();
    switch (LoadRouteFor(ext)) {
    case LoadRoute::Never:
        return {};
    case LoadRoute::Ik5: {
        const QString cancel = caption.isEmpty() && message.isEmpty() ? QString() : QStringLiteral("ｷｬﾝｾﾙ");
        if (DibHandle dib = IK5FileLoad(fileName, 0, 0, caption, message, cancel))
            return dib;
        break;
    }
    case LoadRoute::ImgKit:
        if (DibHandle dib = loadThroughImgKit(fileName, caption, message))
            return dib;
        // A bitmap the library cannot read is damaged; GV would not do better.
        if (ext == QLatin1String("BMP"))
            return {};
        break;
    case LoadRoute::GvOnly:
        break;
    }
    if (gvPath.isEmpty() || !gv)
        return {};
    DibHandle dib = gv->fetch(fileName);
    // GV hands pictures over as stored; they stand upright like the library's.
    if (dib && ImgKitGetLoadOptions().upright)
        if (const int orientation = ImgKitFileOrientation(fileName); orientation != 1)
            dib = ImgKitOrient(dib, orientation);
    return dib;
}
