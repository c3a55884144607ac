#include "PrintCommand.h"

#include "Caption.h"
#include "ControlSurface.h"
#include "PrintSelection.h"
#include "RunState.h"

void SetCaptionOptionsFrom(const ControlSurface& c, const CaptionBoxes& boxes)
{
    const auto on = [&c](const char* name) { return c.checked(QString::fromLatin1(name)); };
    CaptionOptions& options = captionOptions();
    options.nameMode = on(boxes.fileName) ? (on(boxes.noExtension) ? 2 : 1) : 0;
    options.showImageInfo = on(boxes.imageInfo);
    options.showDate = on(boxes.shootingDate);
    options.showTitle = on(boxes.title);
}

bool ChooseTarget(PrintHost& host, bool preview)
{
    if (preview) {
        PreviewMode = true;
        return true;
    }
    return host.choosePrinter();
}
