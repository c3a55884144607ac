#include "tav/printing/PageLayout.h"

#include "tav/printing/PageUnits.h"

#include <algorithm>

namespace {

constexpr int kSmallestImageAreaMm = 20;

// The margin lines in printer dots: top and left from the printable origin,
// bottom and right from the printable bottom and right edge.
void placeMargins(const PageLayout& layout, double d, PageGeometry& g)
{
    if (!layout.useMargins)
        return;
    const platform::DeviceCaps& caps = layout.caps;
    const auto& mm = layout.marginsMm;
    const auto& edge = layout.toPrinterEdge;
    g.top = edge[0] ? 0 : truncToInt(mm[0] * d + 0.5) - caps.physicalOffsetY;
    g.left = edge[1] ? 0 : truncToInt(mm[1] * d + 0.5) - caps.physicalOffsetX;
    // Rounded from 0.4 of a dot up, not from 0.5 like the other sides: pages
    // have always been laid out so, and a changed bottom line would move the
    // image area of every stored layout by a dot.
    g.bottom =
        edge[2] ? 0 : truncToInt(mm[2] * d + 0.6) + caps.vertRes + caps.physicalOffsetY - caps.physicalHeight;
    g.right =
        edge[3] ? 0 : truncToInt(mm[3] * d + 0.5) + caps.horzRes + caps.physicalOffsetX - caps.physicalWidth;
}

// The height a header or footer takes. The separator line's width counts
// even when the band itself is off: switching the header off has always kept
// its line's room, and layouts set up around that would shift otherwise.
int bandHeight(int pointSize, double lineMm, double d)
{
    int height = pointSize > 0 ? truncToInt(pointSize * kMmPerPoint * d + 0.5) : 0;
    if (lineMm > 0)
        height += truncToInt(lineMm * d + 0.5);
    return height;
}

// Every length in screen pixels; margins and the image area's origin as
// distances from the sheet's edges rather than the printable area's.
void toPreview(const platform::DeviceCaps& caps, double d, double screen, PageGeometry& g)
{
    const auto toScreen = [d, screen](double v) { return truncToInt(v / d * screen); };
    g.physicalWidth = toScreen(g.physicalWidth);
    g.physicalHeight = toScreen(g.physicalHeight);
    g.headerHeight = toScreen(g.headerHeight);
    g.footerHeight = toScreen(g.footerHeight);
    g.imageAreaWidth = toScreen(g.imageAreaWidth);
    g.imageAreaHeight = toScreen(g.imageAreaHeight);
    const int bottomStrip = caps.physicalHeight - caps.vertRes - caps.physicalOffsetY;
    const int rightStrip = caps.physicalWidth - caps.horzRes - caps.physicalOffsetX;
    g.top = toScreen(g.top + caps.physicalOffsetY);
    g.left = toScreen(g.left + caps.physicalOffsetX);
    g.bottom = toScreen(g.bottom + bottomStrip);
    g.right = toScreen(g.right + rightStrip);
    g.imageAreaTop = toScreen(g.imageAreaTop + caps.physicalOffsetY);
    g.imageAreaLeft = toScreen(g.imageAreaLeft + caps.physicalOffsetX);
    g.dotsPerMm = screen;
}

}  // namespace

PageLayoutResult layOutPage(const PageLayout& layout)
{
    PageLayoutResult result;
    PageGeometry& g = result.geometry;
    const platform::DeviceCaps& caps = layout.caps;
    const double printerDotsPerMm = caps.logPixelsX / kMmPerInch;
    double d = printerDotsPerMm;
    g.dotsPerMm = d;
    g.columns = truncToInt(layout.columns);
    g.rows = truncToInt(layout.rows);
    g.physicalWidth = caps.physicalWidth;
    g.physicalHeight = caps.physicalHeight;
    placeMargins(layout, d, g);
    g.headerHeight = bandHeight(layout.headerPointSize, layout.headerLineMm, d);
    g.footerHeight = bandHeight(layout.footerPointSize, layout.footerLineMm, d);
    g.imageAreaHeight = caps.vertRes - g.top - g.headerHeight - g.footerHeight - g.bottom;
    g.imageAreaWidth = caps.horzRes - g.left - g.right;
    g.imageAreaTop = g.top + g.headerHeight;
    g.imageAreaLeft = g.left;

    if (layout.requestedWidthMm > 0 && layout.requestedHeightMm > 0 &&
        (truncToInt(layout.requestedHeightMm * d) > g.imageAreaHeight ||
         truncToInt(layout.requestedWidthMm * d) > g.imageAreaWidth)) {
        result.fault = PageLayoutFault::RequestedSizeTooLarge;
        return result;
    }
    const int smallest = truncToInt(kSmallestImageAreaMm * d);
    if (g.imageAreaWidth < smallest || g.imageAreaHeight < smallest) {
        result.fault = PageLayoutFault::ImageAreaTooSmall;
        return result;
    }

    if (layout.preview) {
        toPreview(caps, d, layout.screenDotsPerMm, g);
        d = g.dotsPerMm;
    }
    result.requestedWidth = truncToInt(layout.requestedWidthMm * d);
    result.requestedHeight = truncToInt(layout.requestedHeightMm * d);
    g.cellInset = truncToInt(layout.cellMarginMm * d * 2 + 0.5);
    if (layout.cropPitchX > 0 && layout.cropPitchY > 0) {
        // Cells of exactly the given size, as many as the image area holds:
        // a count worked out from another area could let the last one spill.
        g.cellWidth = layout.cropPitchX;
        g.cellHeight = layout.cropPitchY;
        g.columns = std::min(g.columns, g.imageAreaWidth / layout.cropPitchX);
        g.rows = std::min(g.rows, g.imageAreaHeight / layout.cropPitchY);
        if (g.columns < 1 || g.rows < 1) {
            result.fault = PageLayoutFault::NoWholeCell;
            return result;
        }
    } else {
        g.cellWidth = truncToInt(g.imageAreaWidth / layout.columns + 0.5);
        g.cellHeight = truncToInt(g.imageAreaHeight / layout.rows + 0.5);
    }
    // The marks cross the corners of the cells that were laid out.
    g.cropPitchX = g.cellWidth;
    g.cropPitchY = g.cellHeight;
    g.cellsPerPage = g.columns * g.rows;
    return result;
}
