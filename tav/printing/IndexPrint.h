// The command of the tab "ｲﾝﾃﾞｯｸｽ印刷": index sheets of small captioned
// pictures in a grid that follows from the paper, over the whole printable
// area (no margins, header or footer).
#pragma once

class PrintHost;

// Index cells are about this size; the grid takes the nearest whole counts.
inline constexpr double kIndexCellWidthMm = 36.0;
inline constexpr double kIndexCellHeightMm = 24.0;

struct IndexGrid {
    int columns;
    int rows;
};
// The grid on a printable area of widthMm x heightMm with captions of
// captionLineMm (0 when the captions add no line of their own).
IndexGrid IndexGridFor(double widthMm, double heightMm, double captionLineMm);

// "印刷実行" (preview false: the print dialog first) and "ﾌﾟﾚﾋﾞｭｰ".
void PrintIndex(PrintHost& host, bool preview);
