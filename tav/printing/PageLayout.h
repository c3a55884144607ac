// The page geometry of a print job, worked out from the printer's
// capabilities, the margins and the header and footer bands alone: no
// printer, no questions, no drawing.
#pragma once

#include "platform/DeviceCaps.h"

#include <array>

// The geometry of the open job in device units of its target (printer dots,
// or screen pixels when previewing).
struct PageGeometry {
    int top = 0, left = 0;  // margin lines from the drawing origin
    int imageAreaTop = 0, imageAreaLeft = 0;
    // margin lines from the printable (previewing: the sheet's) bottom and right edge
    int bottom = 0, right = 0;
    int physicalHeight = 0, physicalWidth = 0;
    int headerHeight = 0, footerHeight = 0;
    int columns = 0, rows = 0, cellsPerPage = 0;
    int cellWidth = 0, cellHeight = 0;
    int imageAreaWidth = 0, imageAreaHeight = 0;
    double dotsPerMm = 0;
    int cropPitchX = 0, cropPitchY = 0;
    int cellInset = 0;
};

// Everything a job's geometry depends on.
struct PageLayout {
    platform::DeviceCaps caps;  // the printer's, in its dots
    bool useMargins = false;
    std::array<int, 4> marginsMm{};  // top, left, bottom, right, from the paper edge
    // Sides whose margin the user let the printer adjust: they start at the printable edge.
    std::array<bool, 4> toPrinterEdge{};
    int headerPointSize = 0;  // the largest header band font; 0 with the header off
    double headerLineMm = 0;  // the header separator line's width; 0 without the line
    int footerPointSize = 0;
    double footerLineMm = 0;
    int cellMarginMm = 0;
    double columns = 1, rows = 1;  // a fraction makes cells of an exact size; the grid holds whole ones
    int cropPitchX = 0, cropPitchY = 0;  // both given: the size of every cell, in the target's units
    double requestedWidthMm = 0, requestedHeightMm = 0;  // 0 = none
    bool preview = false;  // the geometry of a preview page at screenDotsPerMm
    double screenDotsPerMm = 0;
};

enum class PageLayoutFault {
    None,
    RequestedSizeTooLarge,  // the requested picture size does not fit the image area
    ImageAreaTooSmall,  // less than 20 mm left between margins, header and footer
    NoWholeCell,  // not one cell of the given crop pitch fits
};

struct PageLayoutResult {
    PageGeometry geometry;
    int requestedWidth = 0, requestedHeight = 0;  // the requested picture size in device units
    PageLayoutFault fault = PageLayoutFault::None;
};

// The layout's geometry; a fault leaves the rest of the result unspecified.
// The printer's resolution and printable size must be positive and the grid
// must hold a whole cell (columns and rows at least 1).
PageLayoutResult layOutPage(const PageLayout& layout);
