#include "tav/core/PrinterMargins.h"

PageMargins PrinterMinimumMargins(const platform::DeviceCaps& caps)
{
    PageMargins m;
    if (caps.logPixelsX <= 0)
        return m;
    const double dotsPerMm = caps.logPixelsX / 25.4;
    const auto toMm = [dotsPerMm](int dots) { return static_cast<int>(dots / dotsPerMm + 0.5); };
    m.top = toMm(caps.physicalOffsetY);
    m.bottom = toMm(caps.physicalHeight - caps.physicalOffsetY - caps.vertRes);
    m.left = toMm(caps.physicalOffsetX);
    m.right = toMm(caps.physicalWidth - caps.physicalOffsetX - caps.horzRes);
    return m;
}
