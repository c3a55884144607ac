# cmake -DPROGRAM=<program> -P CheckHostExports.cmake
# Fails unless the program exports pelcalc's host hook and none of its own C++
# functions: the hook is all the library needs from it.
execute_process(COMMAND nm -D --defined-only ${PROGRAM} OUTPUT_VARIABLE listing RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "nm failed on ${PROGRAM}")
endif()
if(NOT listing MATCHES "[ \n]PelcalcHostPrompts\n")
  message(FATAL_ERROR "${PROGRAM} does not export PelcalcHostPrompts")
endif()
string(REGEX MATCHALL " T _Z[^\n]+" mangled "${listing}")
if(mangled)
  message(FATAL_ERROR "${PROGRAM} exports its C++ functions: ${mangled}")
endif()
