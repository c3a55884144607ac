// Turning a picture file into a DibHandle: the decoder is chosen by the file's
// extension, and formats the imaging library cannot read go to GV.
#pragma once

#include "imgkit/DibHandle.h"
#include "imgkit/ImgKit.h"
#include "tav/imaging/DibFetcher.h"

#include <QString>

// How a file of a given extension (upper-case, without the dot) is loaded.
enum class LoadRoute {
    Never,  // TXT, XLS, DOC, MDB, SUE, DLL, LZH, EXE, CAB: not a picture
    Ik5,  // JPG, JPEG, PCX, PNG, FPX: IK5FileLoad, then GV
    ImgKit,  // BMP, TIF: ImgKitFileType and ImgKitFileLoad (TIF then GV)
    GvOnly,  // anything else
};
LoadRoute LoadRouteFor(const QString& upperExtension);

// The picture of `fileName`, owned by the caller, or an empty handle.
// `caption` and `message` go to the library's progress box ("案内" and the
// name followed by "を読込み中", or empty texts for silent loading). An empty
// `gvPath` means no fallback to GV; otherwise `gv` is asked for files the
// library could not read (nullptr: no fallback either). With the load option
// `upright` on, every route gives the picture turned as its EXIF orientation
// says.
imgkit::DibHandle LoadImageFile(const QString& fileName, const QString& caption, const QString& message,
                                const QString& gvPath, DibFetcher* gv = GvFetcher());

// What a caller will make of the picture it loads: fitted inside width x
// height keeping proportions (`fit`), or resampled to exactly that size.
// An empty need (0 x 0) asks for the whole picture.
struct LoadNeed {
    int width = 0;
    int height = 0;
    bool fit = true;
    bool empty() const { return width <= 0 || height <= 0; }
    bool operator==(const LoadNeed&) const = default;
};

// LoadImageFile, decoding no more than `need` asks (at least that large in
// each direction, see ImgKitFileLoadAtLeast); `full` (may be null) receives
// the upright picture's own width, height and colour code, which captions
// and sizes are computed from. Pictures through GV come whole.
imgkit::DibHandle LoadImageFileAtLeast(const QString& fileName, const QString& caption,
                                       const QString& message, const QString& gvPath, const LoadNeed& need,
                                       ImageInfo* full, DibFetcher* gv = GvFetcher());

// The two halves of LoadImageFileAtLeast, for a caller that decodes on
// another thread. The library's part, silent and safe on any thread;
// `gvMayTry` is set when the file's route lets GV try after a failure.
imgkit::DibHandle LoadImageFileByLibrary(const QString& fileName, const LoadNeed& need, ImageInfo* full,
                                         bool& gvMayTry);
// GV's part, on the user-interface thread only (the link may ask the user):
// the picture GV gives, upright, or an empty handle when `gvPath` is empty.
imgkit::DibHandle LoadImageFileByGv(const QString& fileName, const QString& gvPath, ImageInfo* full,
                                    DibFetcher* gv = GvFetcher());
