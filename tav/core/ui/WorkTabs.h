// The eleven work tabs of the main window, in order. Each tab's page is built
// by a function in the folder of the subsystem the tab belongs to; the page
// holds every control of the tab, named as the settings and handlers name them.
// The main window finds the controls by object name and connects the buttons.
#pragma once

#include <QWidget>

#include <iterator>

struct WorkTab {
    const char* caption;
    QWidget* (*build)();
};

QWidget* buildOnePerPageTab();  // 0 "1ﾍﾟｰｼﾞ1画像印刷"
QWidget* buildMultiImageTab();  // 1 "1ﾍﾟｰｼﾞ複数画像印刷"
QWidget* buildStickerTab();  // 2 "ﾌﾟﾘｸﾗ印刷"
QWidget* buildAdjustTab();  // 3 "画像調整"
QWidget* buildConvertTab();  // 4 "ﾌｧｲﾙ変換"
QWidget* buildThumbnailSheetTab();  // 5 "一括ｻﾑﾈｲﾙ"
QWidget* buildIndexTab();  // 6 "ｲﾝﾃﾞｯｸｽ印刷"
QWidget* buildServiceSizeTab();  // 7 "ｻｰﾋﾞｽ版印刷"
QWidget* buildAlbumTab();  // 8 "ｱﾙﾊﾞﾑ印刷"
QWidget* buildTitlesTab();  // 9 "ﾀｲﾄﾙとｺﾒﾝﾄ"
QWidget* buildHtmlTab();  // 10 "HTML"

inline constexpr WorkTab kWorkTabs[] = {
    {"1ﾍﾟｰｼﾞ1画像印刷", buildOnePerPageTab},
    {"1ﾍﾟｰｼﾞ複数画像印刷", buildMultiImageTab},
    {"ﾌﾟﾘｸﾗ印刷", buildStickerTab},
    {"画像調整", buildAdjustTab},
    {"ﾌｧｲﾙ変換", buildConvertTab},
    {"一括ｻﾑﾈｲﾙ", buildThumbnailSheetTab},
    {"ｲﾝﾃﾞｯｸｽ印刷", buildIndexTab},
    {"ｻｰﾋﾞｽ版印刷", buildServiceSizeTab},
    {"ｱﾙﾊﾞﾑ印刷", buildAlbumTab},
    {"ﾀｲﾄﾙとｺﾒﾝﾄ", buildTitlesTab},
    {"HTML", buildHtmlTab},
};

// The position of the tab that `build` makes in kWorkTabs, -1 for none.
constexpr int workTabIndex(QWidget* (*build)())
{
    for (int i = 0; i < int(std::size(kWorkTabs)); ++i)
        if (kWorkTabs[i].build == build)
            return i;
    return -1;
}
