#include "MultiImage.h"

#include "ControlSurface.h"
#include "PageUnits.h"
#include "PrintCommand.h"
#include "PrintSelection.h"
#include "RunState.h"

#include <algorithm>
#include <iterator>

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
    SetCaptionOptionsFrom(c, {"ch_fileNamePr", "ch_kakuCyoshiPr", "ch_gazouInfo", "ch_satuDatePr", "ch_titlePr"});
    PrintSelectionArgs args;
    args.header = c.checked(QStringLiteral("ch_hetaNasiPr"));
    args.footer = c.checked(QStringLiteral("ch_futaNasiPr"));
    args.useMargins = !c.checked(QStringLiteral("ch_yohakuNasiPr"));
    if (!ChooseTarget(host, preview))
        return;

    // The counter's box is free text; a margin that is not a number ends the
    // command without a word, as nothing has been printed.
    bool ok = false;
    const double margin = c.text(QStringLiteral("tx_komaYohaku")).trimmed().toDouble(&ok);
    if (!ok)
        return;
    // A negative margin typed into the box would let pictures spill over their cells.
    args.cellMargin = std::max(0, truncToInt(margin));

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
