// Device capabilities of a printer, in the units the page engine works in:
// dots of the printer's resolution.
#pragma once

namespace platform {

struct DeviceCaps {
    int logPixelsX = 0;  // dots per inch, both directions
    int horzRes = 0;  // printable width in dots
    int vertRes = 0;  // printable height in dots
    int physicalWidth = 0;  // paper width in dots
    int physicalHeight = 0;  // paper height in dots
    int physicalOffsetX = 0;  // unprintable left strip in dots
    int physicalOffsetY = 0;  // unprintable top strip in dots
};

}  // namespace platform
