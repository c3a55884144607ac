#include "pelcalc/src/HostPrompts.h"

#include "platform/Prompt.h"

#include <dlfcn.h>

namespace pelcalc {

platform::PromptService& hostPrompts()
{
    using Accessor = platform::PromptService& (*)();
    static const Accessor accessor = [] {
        // The mangled name of platform::prompts().
        void* found = dlsym(RTLD_DEFAULT, "_ZN8platform7promptsEv");
        return found != nullptr ? reinterpret_cast<Accessor>(found) : &platform::prompts;
    }();
    return accessor();
}

}  // namespace pelcalc
