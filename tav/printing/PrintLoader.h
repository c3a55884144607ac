// A run's way of loading its pictures for printing: the print adjustments of
// the host's controls, read once when the run is set up, applied to every
// picture, loaded with GV as the settings name it at the time. Given the
// run's files in order, it decodes them ahead of the run (PictureQueue).
#pragma once

#include "imgkit/DibHandle.h"
#include "tav/imaging/ImageLoad.h"
#include "tav/printing/AdjustImage.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class PictureQueue;
class PrintHost;

struct PrintPicture {
    imgkit::DibHandle dib;
    int width = 0;
    int height = 0;
};

class PrintLoader {
public:
    explicit PrintLoader(PrintHost& host, const QStringList& order = {});
    ~PrintLoader();
    PrintLoader(const PrintLoader&) = delete;
    PrintLoader& operator=(const PrintLoader&) = delete;

    // The adjusted picture at `path` (LoadForPrint); nullopt when it cannot be loaded.
    // With a `need`, the picture may come smaller than its own size (width, height).
    std::optional<PrintPicture> load(const QString& path, const LoadNeed& need = {});

private:
    PrintHost& m_host;
    PrintAdjustment m_adjustment;
    QStringList m_order;
    // The pictures from the first one loaded on, decoded ahead with one need;
    // made again should the need change.
    std::unique_ptr<PictureQueue> m_ahead;
};
