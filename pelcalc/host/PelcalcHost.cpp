// Compiled into every program that loads pelcalc (through the target
// pelcalc_host): hands the program's prompt service to the library.
#include "pelcalc/include/PelcalcHost.h"

#include "platform/Prompt.h"

platform::PromptService* PelcalcHostPrompts() { return &platform::prompts(); }
