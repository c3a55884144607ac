// GV records where it is, so that Tav finds it at its next start:
// HKEY_CURRENT_USER\Software\Kavano\GV, default value of the sub-key "Path"
// = the program's full path, of "Version" = its version.
#pragma once

#include <QString>

namespace platform {
class Registry;
}

namespace gv {

inline constexpr const char* kGvVersion = "0.80";

bool registerGv(platform::Registry& registry, const QString& programPath);

}  // namespace gv
