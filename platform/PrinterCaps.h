// The default printer's capabilities, asked of the print system.
#pragma once

#include "platform/DeviceCaps.h"

#include <optional>

namespace platform {

// The default printer's capabilities, or nullopt when no printer is installed.
std::optional<DeviceCaps> defaultPrinterCaps();

}  // namespace platform
