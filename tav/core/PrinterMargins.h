// The strips of paper a printer cannot print on, in whole millimetres.
#pragma once

#include "platform/PrinterCaps.h"

struct PageMargins {
    int top = 0;
    int bottom = 0;
    int right = 0;
    int left = 0;
    bool operator==(const PageMargins&) const = default;
};

// Each unprintable strip in dots, divided by dots per millimetre
// (LOGPIXELSX / 25.4, for both directions), rounded half up.
PageMargins PrinterMinimumMargins(const platform::DeviceCaps& caps);
