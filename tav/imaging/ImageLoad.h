// Turning a picture file into a DibHandle: the decoder is chosen by the file's
// extension, and formats the imaging library cannot read go to GV.
#pragma once

#include "DibFetcher.h"
#include "DibHandle.h"

#include <QString>

// How a file of a given extension (upper-case, without the dot) is loaded.
enum class LoadRoute {
    Never,     // TXT, XLS, DOC, MDB, SUE, DLL, LZH, EXE, CAB: not a picture
    Ik5,       // JPG, JPEG, PCX, PNG, FPX: IK5FileLoad, then GV
    ImgKit,    // BMP, TIF: ImgKitFileType and ImgKitFileLoad (TIF then GV)
    GvOnly,    // anything else
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
