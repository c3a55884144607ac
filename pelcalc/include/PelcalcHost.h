// What a program that loads pelcalc hands to it: its prompt service, so that
// the library's message and progress boxes appear among the program's own
// windows and tests can script them.
//
// The library exports only its four functions and keeps a private copy of the
// platform layer, so it cannot call the program's platform::prompts()
// directly. Instead the program defines and exports this one C function
// (linking the CMake target pelcalc_host does both), and the library looks it
// up by its plain C name when it first needs a box.
#pragma once

namespace platform {
class PromptService;
}

extern "C" {

// The program's prompt service in force; never null.
__attribute__((visibility("default"))) platform::PromptService* PelcalcHostPrompts();
}

inline constexpr const char* kPelcalcHostPromptsSymbol = "PelcalcHostPrompts";
