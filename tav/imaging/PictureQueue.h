// The pictures of a batch, decoded ahead of it: while the user-interface
// thread finishes one picture, worker threads decode the next ones through
// the imaging library, silently. Everything the user sees stays on the
// taking thread: the loading progress box (opened with the same texts as a
// plain load, for as long as the picture is still being decoded), GV for
// files the library cannot read, and whatever the batch does with the
// picture. Pictures decoded ahead of a stopped run are dropped unused.
#pragma once

#include "tav/core/Prefetcher.h"
#include "tav/imaging/ImageLoad.h"

#include <QStringList>

class PictureQueue {
public:
    // Decodes `paths` in order, each no larger than `need`, at most
    // picturesAheadFor(need) beyond the one taken last.
    PictureQueue(const QStringList& paths, const LoadNeed& need);

    // What LoadImageFileAtLeast(path, caption, message, gvPath, need, full)
    // gives, for the next path of the list (paths passed over are dropped;
    // a path not in the list is loaded here).
    imgkit::DibHandle take(const QString& path, const QString& caption, const QString& message,
                           const QString& gvPath, ImageInfo* full);

    const LoadNeed& need() const { return m_need; }

private:
    struct Loaded {
        imgkit::DibHandle dib;
        ImageInfo full;
        bool gvMayTry = false;
    };

    LoadNeed m_need;
    Prefetcher<Loaded> m_ahead;
};

// How many pictures a batch decodes ahead: two when they come reduced to a
// small need (a cell, a thumbnail), so both cores decode while the batch
// finishes one; one when they come whole or large, so a run holds no more
// than two such pictures.
int picturesAheadFor(const LoadNeed& need);
