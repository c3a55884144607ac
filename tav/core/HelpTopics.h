// The help pages shipped beside the program: the contents page and one page
// per help context number of the tabs' "ヘルプ" buttons.
#pragma once

#include <QString>

inline constexpr const char* kHelpFolder = "help";

// The page of `context` (0 = the contents) below `programFolder`.
QString helpPagePath(const QString& programFolder, int context);

// The page that tells how to report a problem, opened by the help menu's
// mail and support items.
QString reportPagePath(const QString& programFolder);
