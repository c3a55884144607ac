#include "imgkit/src/LoadOptions.h"

#include <atomic>

namespace imgkit {
namespace {
std::atomic<bool> g_upright{true};
std::atomic<bool> g_colourProfiles{true};
}  // namespace

void setLoadOptions(bool upright, bool colourProfiles)
{
    g_upright = upright;
    g_colourProfiles = colourProfiles;
}

bool uprightOnLoad() { return g_upright; }
bool colourProfilesOnLoad() { return g_colourProfiles; }

}  // namespace imgkit
