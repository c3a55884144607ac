#include "tav/printing/PrintCommand.h"

#include "tav/catalog/Caption.h"
#include "tav/core/ControlSurface.h"
#include "tav/core/RunState.h"
#include "tav/printing/PageUnits.h"
#include "tav/printing/PrintSelection.h"

#include <algorithm>

std::optional<int> CellMarginFrom(const ControlSurface& c, const char* box)
{
    bool ok = false;
    const double margin = c.text(QString::fromLatin1(box)).trimmed().toDouble(&ok);
    if (!ok)
        return std::nullopt;
    return std::max(0, truncToInt(margin));
}

void SetPageChoicesFrom(const ControlSurface& c, const char* suffix, PrintSelectionArgs& args)
{
    const auto on = [&c, suffix](const char* box) {
        return c.checked(QString::fromLatin1(box) + QLatin1String(suffix));
    };
    args.header = on("ch_hetaNasi");
    args.footer = on("ch_futaNasi");
    args.useMargins = !on("ch_yohakuNasi");
}

bool ChooseTarget(PrintHost& host, bool preview)
{
    if (preview) {
        PreviewMode = true;
        return true;
    }
    return host.choosePrinter();
}
