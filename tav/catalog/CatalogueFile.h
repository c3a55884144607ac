// The folder catalogue "__tavidx.dat": 48 x 48 thumbnails and one key line
// per thumbnail, so that a later visit of the folder decodes only new or
// changed pictures.
//
// Layout, little-endian:
//   int32 version (1), int32 thumbnail size (48);
//   a component stream: "TPF0", the class name "TImageList", an empty object
//   name, the properties Height and Width (48) and the binary property
//   "Bitmap", then the two end-of-list bytes. "Bitmap" holds an image-list
//   stream: the "IL" header (version 0x101, image count, capacity, growth,
//   cell size, background colour, flags, four overlay slots) followed by the
//   image strip (a BMP file, 24-bit, four cells per row, bottom-up) and its
//   mask (a 1-bit BMP file of the same size);
//   the keys as Shift-JIS text lines ending in CR LF, to the end of the file.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

inline constexpr int kCatalogueVersion = 1;
inline constexpr int kThumbnailSize = 48;
inline constexpr const char* kCatalogueFileName = "__tavidx.dat";

// True for the catalogue file's name in any spelling of case: it is the
// folder's own file, never a picture of the view.
inline bool isCatalogueFileName(const QString& name)
{
    return name.compare(QLatin1String(kCatalogueFileName), Qt::CaseInsensitive) == 0;
}

struct CatalogueData {
    QList<QImage> thumbnails;  // kThumbnailSize square, Format_RGB888
    QStringList keys;  // one per thumbnail, same order
};

enum class CatalogueReadStatus {
    Read,
    Ignored,  // another version or thumbnail size: not ours to use
    Malformed,  // truncated, lying lengths, counts that do not add up
};

struct CatalogueReadResult {
    CatalogueReadStatus status = CatalogueReadStatus::Malformed;
    CatalogueData data;  // filled only when Read
};

// Parses a whole catalogue file. Never trusts a length or count before the
// bytes it describes are there, so a hostile file costs no more memory than
// its own size.
CatalogueReadResult parseCatalogue(const QByteArray& bytes);

// The file's bytes. Thumbnails of another size or format are drawn into a
// white cell of the right size first; keys beyond the thumbnails are dropped.
QByteArray serializeCatalogue(const CatalogueData& data);

// Reads "__tavidx.dat" at `path`; Malformed also when it cannot be read.
CatalogueReadResult readCatalogueFile(const QString& path);

// Replaces the file at `path` as a whole: on failure the old file stays.
bool writeCatalogueFile(const QString& path, const CatalogueData& data);
