// The command of the tab "ｻｰﾋﾞｽ版印刷": pictures at the photo-lab print
// sizes, as many whole prints as fit on the sheet, each turned to its print,
// optionally cut to fill it, with cutting marks.
#pragma once

#include <span>

class PrintHost;

struct PrintSize {
    const char* control;  // its radio button
    const char* caption;
    double widthMm;
    double heightMm;
};

// The sizes in the order the tab shows them ("ｻｰﾋﾞｽ版" first, the default).
std::span<const PrintSize> PrintSizes();

// Prints of widthMm x heightMm across and down a printable area of
// areaWidthMm x areaHeightMm, as real counts (a count below 1 is 0): upright,
// or turned when that holds at least as many whole prints.
struct PrintLayout {
    double across;
    double down;
};
PrintLayout ServiceSizeLayout(double areaWidthMm, double areaHeightMm, double widthMm, double heightMm);

// "印刷実行" (preview false: the print dialog first) and "ﾌﾟﾚﾋﾞｭｰ".
void PrintServiceSize(PrintHost& host, bool preview);
