// The steps every print tab's command starts with.
#pragma once

class ControlSurface;
class PrintHost;

// The caption check boxes of one tab, by control name.
struct CaptionBoxes {
    const char* fileName;
    const char* noExtension;  // effective only with the file name
    const char* imageInfo;
    const char* shootingDate;
    const char* title;
};

// Puts the tab's caption choices in force for the captions of this run.
void SetCaptionOptionsFrom(const ControlSurface& controls, const CaptionBoxes& boxes);

// The preview button sets PreviewMode; the print button shows the print
// dialog. False when the user cancelled it: the command ends.
bool ChooseTarget(PrintHost& host, bool preview);
