// The command of the tab "1ﾍﾟｰｼﾞ複数画像印刷": the selected pictures several
// to a page in a grid chosen by the number per page or by columns and rows.
#pragma once

class PrintHost;

// Columns and rows of the grid for the n-th entry of the count list
// (2, 4, 6, 8, 15, 30, 40, 50 pictures per page).
struct GridSize {
    int columns;
    int rows;
};
GridSize GridForCountEntry(int entry);

// "印刷実行" (preview false: the print dialog first) and "ﾌﾟﾚﾋﾞｭｰ".
void PrintMultiImage(PrintHost& host, bool preview);
