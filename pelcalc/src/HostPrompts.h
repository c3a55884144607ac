// The prompt service pelcalc talks through.
#pragma once

namespace platform {
class PromptService;
}

namespace pelcalc {

// The host program's prompt service, found through the one C function the
// program exports for it (PelcalcHost.h). A program that does not export it
// gets one line on standard error, and the library's boxes go to its own copy
// of the platform layer, whose default service shows nothing.
platform::PromptService& hostPrompts();

}  // namespace pelcalc
