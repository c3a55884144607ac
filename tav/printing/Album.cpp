#include "Album.h"

#include "ControlSurface.h"
#include "PrintCommand.h"
#include "PrintDevice.h"
#include "PrintSelection.h"
#include "RunState.h"

#include <optional>

void PrintAlbum(PrintHost& host, bool preview)
{
    ControlSurface& c = host.controls();
    PreviewMode = false;
    AbortRequested = false;
    if (!ChooseTarget(host, preview))
        return;
    SetCaptionOptionsFrom(c, {"ch_PrFnameAL", "ch_kakuCyoshiAL", "ch_PrGInfoAL", "ch_satuDateAL", "ch_prTiTleAL"});
    PrintSelectionArgs args;
    args.header = c.checked(QStringLiteral("ch_hetaNasiAL"));
    args.footer = c.checked(QStringLiteral("ch_futaNasiAL"));
    args.useMargins = !c.checked(QStringLiteral("ch_yohakuNasiAL"));

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
