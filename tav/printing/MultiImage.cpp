#include "tav/printing/MultiImage.h"

#include "tav/catalog/Caption.h"
#include "tav/core/ControlSurface.h"
#include "tav/core/RunState.h"
#include "tav/printing/PrintCommand.h"
#include "tav/printing/PrintSelection.h"

#include <algorithm>
#include <iterator>
#include <optional>

GridSize GridForCountEntry(int entry)
{
    static constexpr GridSize kGrids[] = {{1, 2}, {2, 2}, {2, 3}, {2, 4}, {3, 5}, {3, 10}, {4, 10}, {5, 10}};
    return kGrids[std::clamp(entry, 0, int(std::size(kGrids)) - 1)];
}

void PrintMultiImage(PrintHost& host, bool preview)
{
    ControlSurface& c = host.controls();
    PreviewMode = false;
    PrintChoices choices;
    choices.autoRotate = c.checked(QStringLiteral("ch_saitekiPr"));
    SetCaptionOptionsFrom(
        c, {"ch_fileNamePr", "ch_kakuCyoshiPr", "ch_gazouInfo", "ch_satuDatePr", "ch_titlePr"});
    PrintSelectionArgs args;
    SetPageChoicesFrom(c, "Pr", args);
    if (!ChooseTarget(host, preview))
        return;

    const std::optional<int> margin = CellMarginFrom(c, "tx_komaYohaku");
    if (!margin)
        return;
    args.cellMargin = *margin;

    if (c.checked(QStringLiteral("cb_tateYokoKaraPr"))) {
        args.columns = std::max(0, c.listIndex(QStringLiteral("suWPr"))) + 1;
        args.rows = std::max(0, c.listIndex(QStringLiteral("suHPr"))) + 1;
    } else {
        const GridSize grid = GridForCountEntry(c.listIndex(QStringLiteral("cb_gaSu")));
        args.columns = grid.columns;
        args.rows = grid.rows;
    }
    args.repeatSamePicture = c.checked(QStringLiteral("cb_onazi"));

    PrintSelection(host, choices, args);
    host.file_list3Click();
}
