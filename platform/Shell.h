// The desktop shell: opening a file or address with its associated program and
// moving a file to the trash (the freedesktop trash, restorable from the desktop).
#pragma once

#include <QString>

namespace platform {

// Opens `pathOrUrl` (a file path, or an address such as "mailto:" or "https:")
// with the user's associated program. False when nothing could be started.
bool shellOpen(const QString& pathOrUrl);

// Moves the file to the trash. False (file untouched) when that is impossible.
bool moveToTrash(const QString& path);

}  // namespace platform
