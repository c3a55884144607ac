// The steps every print tab's command starts with.
#pragma once

#include <optional>

class ControlSurface;
class PrintHost;
struct PrintSelectionArgs;

// The tab's "ﾍｯﾀﾞｰを印刷する", "ﾌｯﾀｰを印刷する" and "余白なし" boxes
// (ch_hetaNasi, ch_futaNasi, ch_yohakuNasi + `suffix`) into `args`.
void SetPageChoicesFrom(const ControlSurface& controls, const char* suffix, PrintSelectionArgs& args);

// The whole millimetres of a cell margin box (free text beside its counter);
// nullopt when it is not a number, which ends the command without a word. A
// negative margin counts as 0: it would let pictures spill over their cells.
std::optional<int> CellMarginFrom(const ControlSurface& controls, const char* box);

// The preview button sets PreviewMode; the print button shows the print
// dialog. False when the user cancelled it: the command ends.
bool ChooseTarget(PrintHost& host, bool preview);
