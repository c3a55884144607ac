// The commands of the tab "一括ｻﾑﾈｲﾙ": the selected pictures laid out by the
// sheet builder (TsumNe) on numbered sheet files, or shown sheet by sheet in
// the print preview.
#pragma once

class ControlSurface;
class PrintHost;

// "ｻﾑﾈｲﾙの作成" (`preview` off: writes the sheets; existing sheet files of
// the run's names are replaced only after a question) and "ﾌﾟﾚﾋﾞｭｰ" (on).
// Unreadable pictures are skipped; sheets that could not be written are
// listed instead of "完了。".
void MakeThumbnailSheets(PrintHost& host, bool preview);

// "参照..." beside the output name: "出力ﾌｧｲﾙの指定", any file.
void ChooseSheetOutput(ControlSurface& controls);
// "参照..." beside the backing picture: "台紙ﾌｧｲﾙの指定", BMP or JPG files.
void ChooseSheetBackground(ControlSurface& controls);
