#include "pelcalc/src/HostPrompts.h"

#include "pelcalc/include/PelcalcHost.h"
#include "platform/Prompt.h"

#include <cstdio>
#include <dlfcn.h>

namespace pelcalc {

platform::PromptService& hostPrompts()
{
    using Hook = decltype(&PelcalcHostPrompts);
    static const Hook hook = [] {
        void* found = dlsym(RTLD_DEFAULT, kPelcalcHostPromptsSymbol);
        if (found == nullptr)
            std::fprintf(stderr,
                         "pelcalc: the program does not export %s(); "
                         "pelcalc's message and progress boxes will not be shown\n",
                         kPelcalcHostPromptsSymbol);
        return reinterpret_cast<Hook>(found);
    }();
    if (hook != nullptr)
        if (platform::PromptService* service = hook())
            return *service;
    // This library's own copy of the platform layer, whose default service shows nothing.
    return platform::prompts();
}

}  // namespace pelcalc
