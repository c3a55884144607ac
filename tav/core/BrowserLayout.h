// What the user made of the browser's layout, kept in tav.Ini beside the
// settings of the controls: the width of the file column, which a splitter
// sets, and the folders visited last, which the drive box lists.
//
//   [BROWSE]
//   retsuHaba=<pixels>      the file column's width; absent or 0: the default
//   rireki1=<folder> ...    the visited folders, newest first
#pragma once

#include <QStringList>

namespace platform {
class ProfileFile;
}

inline constexpr const char* kBrowseSection = "BROWSE";
inline constexpr int kMaxRecentFolders = 6;

struct BrowserLayout {
    int fileColumnWidth = 0;
    QStringList recentFolders;
};

// Unreadable or negative widths read as 0; empty history slots are skipped.
BrowserLayout readBrowserLayout(const platform::ProfileFile& file);
// Writes both values; history slots beyond the list are removed. False when
// the file could not be written.
bool writeBrowserLayout(platform::ProfileFile& file, const BrowserLayout& layout);
