// The command of the tab "ﾌｧｲﾙ変換": every selected picture, loaded with the
// print adjustments, optionally resized and brought to a chosen colour depth,
// is written as a BMP, JPG or TIF file into the output folder.
#pragma once

#include <QSize>

class CommandHost;
class ControlSurface;

// The size a picture of pictureWidth x pictureHeight is resampled to for the
// boxes width x height: the boxes themselves, or with `keepProportions` the
// picture scaled by the smaller of the two ratios (enlarging as well as
// reducing), rounded half up and never below one pixel.
QSize ConvertedSize(int pictureWidth, int pictureHeight, int width, int height, bool keepProportions);

// "変換実行". A target that would replace one of the selected source files is
// not written; targets that could not be written (or sources that could not be
// converted) are listed after the run instead of "変換完了。". Each target is
// written under a temporary name and renamed over any existing file, so a
// failed write never destroys the file already there.
void ConvertSelection(CommandHost& host);

class TfrPath;

// "参照...": the run's folder picker, captioned "結果出力先の指定", starting
// where it last ended (the first time at the output folder box); the chosen
// folder goes into the box, a cancel leaves the box as it was.
void ChooseOutputFolder(TfrPath& picker, ControlSurface& controls);
