// Where the viewer GV is installed and whether it speaks the newer protocol,
// as GV records it under HKEY_CURRENT_USER\Software\Kavano\GV.
#pragma once

#include <QString>

namespace platform {
class Registry;
}

inline constexpr const char* kGvRegistryKey = "Software\\Kavano\\GV";

struct GvRegistration {
    QString path;
    bool is080OrLater = false;
};

// The viewer counts as 0.80 or later when its version text does not begin
// with "0", or when its third character is "8" or "9"; an empty text is older.
bool gvVersionIs080OrLater(const QString& version);

// Opens the key with full access, creating it when absent, and reads the
// default values of its sub-keys "Path" (empty when absent) and "Version"
// ("0.00" when absent). Without a registry: empty path, older version.
GvRegistration readGvRegistration(platform::Registry* registry);
