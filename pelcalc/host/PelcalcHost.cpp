// Compiled into every program that loads pelcalc (through the target
// pelcalc_host): hands the program's prompt service to the library.
#include <PelcalcHost.h>

#include <Prompt.h>

platform::PromptService* PelcalcHostPrompts() { return &platform::prompts(); }
