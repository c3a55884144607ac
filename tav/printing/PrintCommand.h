// The steps every print tab's command starts with.
#pragma once

#include <optional>

class ControlSurface;
class PrintHost;
struct PrintSelectionArgs;

// The caption check boxes of one tab, by control name.
struct CaptionBoxes {
    const char* fileName;
    const char* noExtension;  // effective only with the file name
    const char* imageInfo;
    const char* shootingDate;
    const char* title;
};

// The tab's "ﾍｯﾀﾞｰを印刷する", "ﾌｯﾀｰを印刷する" and "余白なし" boxes
// (ch_hetaNasi, ch_futaNasi, ch_yohakuNasi + `suffix`) into `args`.
void SetPageChoicesFrom(const ControlSurface& controls, const char* suffix, PrintSelectionArgs& args);

// Puts the tab's caption choices in force for the captions of this run.
void SetCaptionOptionsFrom(const ControlSurface& controls, const CaptionBoxes& boxes);

// The whole millimetres of a cell margin box (free text beside its counter);
// nullopt when it is not a number, which ends the command without a word. A
// negative margin counts as 0: it would let pictures spill over their cells.
std::optional<int> CellMarginFrom(const ControlSurface& controls, const char* box);

// The preview button sets PreviewMode; the print button shows the print
// dialog. False when the user cancelled it: the command ends.
bool ChooseTarget(PrintHost& host, bool preview);
