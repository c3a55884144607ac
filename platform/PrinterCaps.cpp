// The default printer's capabilities from Qt's printer information.
#include "platform/PrinterCaps.h"

#include "platform/QtPrintDevice.h"

#include <QPrinter>
#include <QPrinterInfo>

#include <mutex>

namespace platform {

namespace {

std::mutex g_mutex;
std::optional<std::optional<DeviceCaps>> g_override;

std::optional<DeviceCaps> queryDefaultPrinter()
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return std::nullopt;
    const QPrinter printer(info, QPrinter::HighResolution);
    if (printer.resolution() <= 0)
        return std::nullopt;
    return capsOf(printer);
}

}  // namespace

std::optional<DeviceCaps> defaultPrinterCaps()
{
    {
        std::lock_guard lock(g_mutex);
        if (g_override)
            return *g_override;
    }
    return queryDefaultPrinter();
}

void setDefaultPrinterCapsForTest(std::optional<std::optional<DeviceCaps>> caps)
{
    std::lock_guard lock(g_mutex);
    g_override = std::move(caps);
}

}  // namespace platform
