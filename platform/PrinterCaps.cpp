// The default printer's capabilities from Qt's printer information.
#include "PrinterCaps.h"

#include <QPageLayout>
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
    QPrinter printer(info, QPrinter::HighResolution);
    const int dpi = printer.resolution();
    if (dpi <= 0)
        return std::nullopt;
    const QPageLayout layout = printer.pageLayout();
    const QRect full = layout.fullRectPixels(dpi);
    const QRect paint = layout.paintRectPixels(dpi);

    DeviceCaps caps;
    caps.logPixelsX = dpi;
    caps.horzRes = paint.width();
    caps.vertRes = paint.height();
    caps.physicalWidth = full.width();
    caps.physicalHeight = full.height();
    caps.physicalOffsetX = paint.left() - full.left();
    caps.physicalOffsetY = paint.top() - full.top();
    return caps;
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
