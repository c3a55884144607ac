#include "tav/printing/Album.h"

#include "platform/PrintDevice.h"
#include "tav/catalog/Caption.h"
#include "tav/core/ControlSurface.h"
#include "tav/core/RunState.h"
#include "tav/printing/PrintCommand.h"
#include "tav/printing/PrintSelection.h"

#include <optional>

void PrintAlbum(PrintHost& host, bool preview)
{
    ControlSurface& c = host.controls();
    PreviewMode = false;
    AbortRequested = false;
    if (!ChooseTarget(host, preview))
        return;
    SetCaptionOptionsFrom(
        c, {"ch_PrFnameAL", "ch_kakuCyoshiAL", "ch_PrGInfoAL", "ch_satuDateAL", "ch_prTiTleAL"});
    PrintSelectionArgs args;
    SetPageChoicesFrom(c, "AL", args);

    const std::optional<int> margin = CellMarginFrom(c, "tx_AL_yohaku");
    if (!margin)
        return;
    args.cellMargin = *margin;

    const platform::DeviceCaps caps = host.printDevice().caps();
    args.columns = 2;
    args.rows = caps.horzRes <= caps.vertRes ? 3 : 2;
    args.printComments = true;
    PrintSelection(host, {}, args);
    host.file_list3Click();
}
