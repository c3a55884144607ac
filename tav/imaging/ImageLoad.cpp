#include "tav/imaging/ImageLoad.h"

#include "imgkit/ImgKit.h"
#include "tav/core/TextHelpers.h"

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

// The library's load: the whole picture, or, with a need, no more than it asks.
DibHandle loadWith(const QString& fileName, const QString& caption, const QString& message,
                   const QString& cancel, const LoadNeed* need, ImageInfo* full)
{
    if (need && !need->empty())
        return ImgKitFileLoadAtLeast(fileName, caption, message, cancel, need->width, need->height,
                                     need->fit ? 1 : 0, full);
    // Without a cancel text this is ImgKitFileLoad.
    DibHandle dib = IK5FileLoad(fileName, 0, 0, caption, message, cancel);
    if (dib && full)
        ImgKitImageInfo(dib, full);
    return dib;
}

DibHandle loadThroughImgKit(const QString& fileName, const QString& caption, const QString& message,
                            const LoadNeed* need, ImageInfo* full)
{
    std::int16_t code = 0;
    if (ImgKitFileType(fileName, &code) == 0 || code == ImgKitTypeUnreadable)
        return {};
    return loadWith(fileName, caption, message, {}, need, full);
}

// The library's attempt at a file by its route; `gvMayTry` tells whether GV
// may try a file the library did not give.
DibHandle loadByLibrary(const QString& fileName, const QString& caption, const QString& message,
                        const LoadNeed* need, ImageInfo* full, bool& gvMayTry)
{
    gvMayTry = false;
    if (fileName.isEmpty())
        return {};
    const QString ext = SplitExtension(fileName).extension.toUpper();
    switch (LoadRouteFor(ext)) {
    case LoadRoute::Never: return {};
    case LoadRoute::Ik5: {
        const QString cancel = caption.isEmpty() && message.isEmpty() ? QString() : QStringLiteral("ｷｬﾝｾﾙ");
        DibHandle dib = loadWith(fileName, caption, message, cancel, need, full);
        gvMayTry = !dib;
        return dib;
    }
    case LoadRoute::ImgKit: {
        DibHandle dib = loadThroughImgKit(fileName, caption, message, need, full);
        // A bitmap the library cannot read is damaged; GV would not do better.
        gvMayTry = !dib && ext != QLatin1String("BMP");
        return dib;
    }
    case LoadRoute::GvOnly: break;
    }
    gvMayTry = true;
    return {};
}

DibHandle loadImage(const QString& fileName, const QString& caption, const QString& message,
                    const QString& gvPath, DibFetcher* gv, const LoadNeed* need, ImageInfo* full)
{
    bool gvMayTry = false;
    DibHandle dib = loadByLibrary(fileName, caption, message, need, full, gvMayTry);
    if (dib || !gvMayTry)
        return dib;
    return LoadImageFileByGv(fileName, gvPath, full, gv);
}

}  // namespace

DibHandle LoadImageFile(const QString& fileName, const QString& caption, const QString& message,
                        const QString& gvPath, DibFetcher* gv)
{
    return loadImage(fileName, caption, message, gvPath, gv, nullptr, nullptr);
}

DibHandle LoadImageFileAtLeast(const QString& fileName, const QString& caption, const QString& message,
                               const QString& gvPath, const LoadNeed& need, ImageInfo* full, DibFetcher* gv)
{
    return loadImage(fileName, caption, message, gvPath, gv, &need, full);
}

DibHandle LoadImageFileByLibrary(const QString& fileName, const LoadNeed& need, ImageInfo* full,
                                 bool& gvMayTry)
{
    return loadByLibrary(fileName, {}, {}, &need, full, gvMayTry);
}

DibHandle LoadImageFileByGv(const QString& fileName, const QString& gvPath, ImageInfo* full, DibFetcher* gv)
{
    if (gvPath.isEmpty() || !gv)
        return {};
    DibHandle dib = gv->fetch(fileName);
    // GV hands pictures over as stored; they stand upright like the library's.
    if (dib && ImgKitGetLoadOptions().upright)
        if (const int orientation = ImgKitFileOrientation(fileName); orientation != 1)
            dib = ImgKitOrient(dib, orientation);
    if (dib && full)
        ImgKitImageInfo(dib, full);
    return dib;
}
