// The prompt service pelcalc talks through.
#pragma once

namespace platform {
class PromptService;
}

namespace pelcalc {

// The host program's prompt service when the program exports
// platform::prompts() (Tav and the tests link with ENABLE_EXPORTS), otherwise
// this library's own copy of the platform layer, whose default service shows
// nothing. The library keeps its copy private so that it exports only its four
// functions; without this lookup its boxes would never reach the program's
// windows.
platform::PromptService& hostPrompts();

}  // namespace pelcalc
