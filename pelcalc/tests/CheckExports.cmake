# cmake -DLIBRARY=<libpelcalc.so> -P CheckExports.cmake
# Fails unless the library's dynamic symbol table defines exactly the four
# functions of its C interface.
execute_process(COMMAND nm -D --defined-only ${LIBRARY} OUTPUT_VARIABLE listing RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "nm failed on ${LIBRARY}")
endif()
string(REGEX MATCHALL "[^ \n]+\n" names "${listing}")
list(TRANSFORM names STRIP)
list(SORT names)
if(NOT names STREQUAL "PcGetImageMem;PcGetPx;PcImageSize;PcSetPx")
  message(FATAL_ERROR "unexpected exports: ${names}")
endif()
