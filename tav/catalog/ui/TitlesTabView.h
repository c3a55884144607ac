// What the tab "ﾀｲﾄﾙとｺﾒﾝﾄ" shows: the selected picture's name in the group
// caption, its title, shooting date and comment in the read-only fields, and
// its preview.
#pragma once

#include <QStringList>

struct AppSettings;
class BatchHost;
class QWidget;

// A click in the file view while the tab is active. `selected` are the full
// paths of the selected files in view order. Exactly one, and another than
// the one shown: shows it. None: empties the tab. Several: nothing changes.
// `app` gives the GV path and the scaling quality for the preview; `status`
// (may be null) is the main window's status line.
void refreshTitlesTab(QWidget* tabPage, const QStringList& selected, const AppSettings& app,
                      BatchHost* status);

// "ﾌﾟﾚﾋﾞｭｰを表示する" ticked or cleared: reloads the preview from the first
// selected file (`firstSelected`, empty when none), or hides it.
void cb_ticom_prvClick(QWidget* tabPage, const QString& firstSelected, const AppSettings& app,
                       BatchHost* status);

// Reads the comment file of the picture the tab shows again (after the
// comment editor saved it: the click handling alone would keep the old text,
// as the picture is still the one named in the caption).
void reloadTitlesTabRecord(QWidget* tabPage);
