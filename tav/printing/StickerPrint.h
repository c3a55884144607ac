// The command of the tab "ﾌﾟﾘｸﾗ印刷": photo-sticker sheets. Each selected
// picture is its own print job and fills its sheet with copies of itself,
// each copy (a frame) the entered width in millimetres wide and as tall as
// the picture's proportions make it. Frames abut so that the sheet can be cut
// apart, optionally along printed cutting marks, and an optional overlay
// picture (a decorative frame) can be laid over every copy.
#pragma once

class ControlSurface;
class PrintHost;

// "印刷実行" (preview false: the print dialog first) and "ﾌﾟﾚﾋﾞｭｰ".
void PrintStickers(PrintHost& host, bool preview);

// "参照....": the open-file dialog for a Windows bitmap; the chosen path goes
// into the overlay box, a cancelled dialog leaves it as it was.
void ChooseOverlayPicture(ControlSurface& controls);
