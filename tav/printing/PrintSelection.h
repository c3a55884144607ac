// The print loop every layout shares: the selected files, in view order, are
// loaded with the print adjustments and fed to one Tmg_PR job, a cell each
// (or a page of copies each), with captions and comment cells, on the
// printer or in the preview, stoppable between files.
#pragma once

#include "imgkit/DibHandle.h"
#include "tav/core/BatchLoop.h"
#include "tav/core/CommandHost.h"
#include "tav/imaging/ImageLoad.h"
#include "tav/printing/AdjustImage.h"
#include "tav/printing/mg_pr.h"

#include <QStringList>

class PictureQueue;

class ControlSurface;
class QImage;
struct AppSettings;
namespace platform {
class PrintDevice;
}

// The main window as the print commands see it.
class PrintHost : public CommandHost {
public:
    // The print dialog on the printer in use; false = cancelled.
    virtual bool choosePrinter() = 0;
    // The printer in use, as the last print dialog or printer set-up left it.
    virtual platform::PrintDevice& printDevice() = 0;
    // Shows one finished preview page modally; false = the user stopped.
    virtual bool showPreviewPage(const QImage& page, double& zoom) = 0;
    // How many times finer than the screen preview pages are drawn.
    virtual double previewPageScale() const { return 1.0; }
};

// The main window's print choices that a layout sets before it prints.
struct PrintChoices {
    bool autoRotate = false;
    bool stretch = false;
};

// The job a layout asks for.
struct PrintSelectionArgs {
    bool repeatSamePicture = false;  // each picture fills a whole page with copies
    int cellMargin = 0;  // mm
    double columns = 1;
    double rows = 1;
    bool printComments = false;  // a comment cell follows each picture
    bool cropMarks = false;
    bool useMargins = true;
    bool header = true;
    bool footer = true;
    bool cutToFill = false;
    double requestedWidthMm = 0;
    double requestedHeightMm = 0;
};

// A page engine job drawing on the host's printer (or its preview) with its settings.
PrintJobEnvironment PrintEnvironmentOf(PrintHost& host);

// The print run's texts with `progress` after each file name; no failure
// message after a preview.
BatchTexts PrintRunTexts(const QString& progress);

// "Tav(<whole columns x whole rows>koma)": the job's name in the spooler.
QString PrintJobTitle(double columns, double rows);

BatchResult PrintSelection(PrintHost& host, const PrintChoices& choices, const PrintSelectionArgs& args);

// Loads the picture at `path` for printing (progress box "案内" / name +
// "を読込み中") and applies the print adjustments. False, with `picture`
// empty, when it cannot be loaded or an adjustment value is not a number.
// `width` and `height` are the picture's own size; with a `need` the
// picture itself may be loaded smaller (LoadImageFileAtLeast). With
// `ahead`, the picture comes from that queue of the run's pictures, decoded
// with its need.
bool LoadForPrint(const QString& path, const PrintAdjustment& adjustment, const QString& gvPath,
                  imgkit::DibHandle& picture, int& width, int& height, const LoadNeed& need = {},
                  PictureQueue* ahead = nullptr);
