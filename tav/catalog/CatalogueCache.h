// The thumbnails of the folder on view in "ｶﾀﾛｸﾞ" mode, kept in memory for
// the last filled folder and stored on request in its catalogue file. A
// picture is decoded only when no thumbnail of the same name and last-write
// time is at hand, in memory or in the folder's catalogue.
#pragma once

#include "tav/catalog/CatalogueFile.h"
#include "tav/core/BatchLoop.h"

#include <QDateTime>
#include <QHash>
#include <functional>

// A picture's key: the name, "_" and its last-write time as yymmddhhnnss
// (twelve spaces when the time is unknown).
QString catalogueKey(const QString& name, const QDateTime& lastWrite);

// Makes the thumbnail of the picture at a full path.
using ThumbnailMaker = std::function<QImage(const QString& path)>;

// The picture loaded silently (GV asked when `gvPath` is set) and drawn
// into a 48 x 48 cell; a picture that cannot be loaded gives the empty cell.
QImage makeThumbnail(const QString& path, const QString& gvPath);
// The same through the imaging library alone, safe on any thread: a null
// image when the library cannot load the picture (GV may yet).
QImage makeThumbnailAhead(const QString& path);

enum class CatalogueFill { NoNames, Completed, Stopped, Failed };

class CatalogueCache {
public:
    // Builds the thumbnails of `names` (in view order) in `folder`, skipping
    // the catalogue file and names whose file is gone, and calls `addItem`
    // with each name and its thumbnail. Runs as a batch of `host`:
    // busy mode, status text, gauge, waiting input after each picture and
    // the stop question. The in-memory thumbnails are reused when the same
    // folder was filled completely last time; otherwise the folder's
    // catalogue file is read (a damaged one is reported and left unused).
    // With `makeAhead`, the thumbnails to be made are made ahead of the loop
    // by it on worker threads, and by `make` those it gives no image for.
    using ItemSink = std::function<void(const QString& name, const QImage& thumbnail)>;
    CatalogueFill fill(BatchHost& host, const QString& folder, const QStringList& names,
                       const ThumbnailMaker& make, const ItemSink& addItem,
                       const ThumbnailMaker& makeAhead = {});

    // Writes the thumbnails into `folder`'s catalogue file; a failure is
    // reported to the user and leaves the old file as it was.
    bool save(const QString& folder) const;

    const CatalogueData& data() const { return m_data; }
    const QString& lastFolder() const { return m_lastFolder; }

private:
    CatalogueData scratchFor(const QString& folder);
    // The full paths of `names` whose thumbnails are not in `known` (by key).
    static QStringList picturesToDecode(const QString& folder, const QStringList& names,
                                        const QHash<QString, int>& known);

    CatalogueData m_data;
    QString m_lastFolder;
    bool m_complete = false;
};
