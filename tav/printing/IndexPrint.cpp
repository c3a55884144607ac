#include "tav/printing/IndexPrint.h"

#include "platform/PrintDevice.h"
#include "tav/catalog/Caption.h"
#include "tav/core/AppSettings.h"
#include "tav/core/ControlSurface.h"
#include "tav/core/RunState.h"
#include "tav/printing/PageUnits.h"
#include "tav/printing/PrintCommand.h"
#include "tav/printing/PrintSelection.h"

#include <cstdlib>

IndexGrid IndexGridFor(double widthMm, double heightMm, double captionLineMm)
{
    return {truncToInt(widthMm / kIndexCellWidthMm + 0.5),
            truncToInt(heightMm / (kIndexCellHeightMm + captionLineMm) + 0.5)};
}

void PrintIndex(PrintHost& host, bool preview)
{
    ControlSurface& c = host.controls();
    PreviewMode = false;
    AbortRequested = false;
    if (!ChooseTarget(host, preview))
        return;
    PrintChoices choices;
    choices.autoRotate = c.checked(QStringLiteral("ch_saitekiAPS"));
    SetCaptionOptionsFrom(
        c, {"ch_fileNameAPS", "ch_kakuCyoshiAPS", "ch_gazouInfoAPS", "ch_satuDateAPS", "ch_prTitleAPS"});

    const platform::DeviceCaps caps = host.printDevice().caps();
    const double d = caps.logPixelsX / kMmPerInch;
    if (d <= 0)
        return;
    // Without a file the caption holds only what the comment file gives (date,
    // title): only then do the cells need a caption line of their own.
    double captionLineMm = 0;
    if (!BuildCaption(0, nullptr, {}).isEmpty())
        captionLineMm = FontHeightDots(host.settings().fileNameFont.size, d) / d;
    const IndexGrid grid = IndexGridFor(caps.horzRes / d, caps.vertRes / d, captionLineMm);

    PrintSelectionArgs args;
    args.columns = grid.columns;
    args.rows = grid.rows;
    args.useMargins = false;
    args.header = false;
    args.footer = false;
    PrintSelection(host, choices, args);
    host.file_list3Click();
}
