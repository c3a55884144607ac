// The default printer's capabilities from Qt's printer information.
#include "platform/PrinterCaps.h"

#include "platform/QtPrintDevice.h"

#include <QPrinter>
#include <QPrinterInfo>

namespace platform {

std::optional<DeviceCaps> defaultPrinterCaps()
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return std::nullopt;
    const QPrinter printer(info, QPrinter::HighResolution);
    if (printer.resolution() <= 0)
        return std::nullopt;
    return capsOf(printer);
}

}  // namespace platform
