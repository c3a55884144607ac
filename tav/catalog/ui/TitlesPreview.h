// The picture preview of the tab "ﾀｲﾄﾙとｺﾒﾝﾄ" (pic3): the first selected
// picture, reduced to fit the box, while "ﾌﾟﾚﾋﾞｭｰを表示する" is ticked.
#pragma once

#include <QString>

struct AppSettings;
class BatchHost;
class QLabel;

// Loads the picture at `path` (through GV when the imaging library cannot
// read it, with the high-quality filter when the settings ask for it) into
// `target`, fitted and centred, and shows it. Hidden when `wanted` is false,
// when `path` is empty and when the picture cannot be read (which is
// reported as path + "は読めませんでした。"). `status` (may be null) shows
// "画像を読み込んでいます..." while it loads.
void showTitlesPreview(QLabel* target, bool wanted, const QString& path, const AppSettings& app,
                       BatchHost* status);
