// The work folder "ONTMPn" of one start of setup. It holds the owner mark of
// the run that made it (process id, start time and boot), so that a later
// start can tell the folder of a run that no longer lives (killed, crashed)
// from one in use, and the journal of a copy in progress, so that the partial
// copy a killed run left beside its destination goes too.
#pragma once

#include <QString>

namespace setup {

// Marks `folder` (with trailing '/') as this process's work folder.
bool markWorkFolder(const QString& folder);

// The journal file of copies into the install folder, inside the work folder.
QString copyJournal(const QString& folder);

// True while the process that marked `folder` runs. A folder without a
// readable mark counts as alive: it is not known to be ours.
bool workFolderOwnerAlive(const QString& folder);

// Removes each "ONTMP1" .. "ONTMP99" of `tempFolder` (with trailing '/') that
// this user owns and whose run is gone, with the partial copy its journal
// names. Returns how many were removed.
int removeStaleWorkFolders(const QString& tempFolder);

}  // namespace setup
