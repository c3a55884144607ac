#include "tav/printing/PrintCommand.h"

#include "tav/catalog/Caption.h"
#include "tav/core/ControlSurface.h"
#include "tav/printing/PageUnits.h"
#include "tav/printing/PrintSelection.h"
#include "tav/core/RunState.h"

#include <algorithm>

void SetCaptionOptionsFrom(const ControlSurface& c, const CaptionBoxes& boxes)
{
    const auto on = [&c](const char* name) { return c.checked(QString::fromLatin1(name)); };
    CaptionOptions& options = captionOptions();
    options.nameMode = on(boxes.fileName) ? (on(boxes.noExtension) ? 2 : 1) : 0;
    options.showImageInfo = on(boxes.imageInfo);
    options.showDate = on(boxes.shootingDate);
    options.showTitle = on(boxes.title);
}

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
    const auto on = [&c, suffix](const char* box) { return c.checked(QString::fromLatin1(box) + QLatin1String(suffix)); };
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
