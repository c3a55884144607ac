// Orders a folder's file names for the file view: by name or by last-write
// time (ties by name), ascending or descending, without regard to case.
#pragma once

#include <QString>
#include <QStringList>

enum SortMode {
    SortNameAscending = 0,
    SortNameDescending = 1,
    SortDateAscending = 2,
    SortDateDescending = 3
};

// `names` are the file names of `folder`. With `excludeTav` comment files
// (extension "tav") are left out; in the date modes a file whose time cannot
// be read is left out.
QStringList SortFileNames(bool excludeTav, int mode, const QStringList& names, const QString& folder);
