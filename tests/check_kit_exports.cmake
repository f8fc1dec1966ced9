# Checks that the front-end kit exports its vmodkit_ functions and nothing else (no C++
# name, no library function it carries inside), and that it carries none of the library's
# font table: text-node fonts are registered and released only by libvmod, so a second
# table inside the kit would disagree with it about who owns a font.
#
# cmake -DLIBRARY=libvmodkit.so -P check_kit_exports.cmake
execute_process(COMMAND nm -D --defined-only ${LIBRARY} OUTPUT_VARIABLE exported RESULT_VARIABLE status)
# Every symbol it defines, hidden ones too (the library is not stripped in the build tree).
execute_process(COMMAND nm -C --defined-only ${LIBRARY} OUTPUT_VARIABLE defined RESULT_VARIABLE status2)
if(NOT status EQUAL 0 OR NOT status2 EQUAL 0)
  message(FATAL_ERROR "nm failed on ${LIBRARY}")
endif()

string(REGEX MATCHALL " vmodkit_[A-Za-z]" kit "${exported}")
list(LENGTH kit count)
if(count LESS 10)
  message(FATAL_ERROR "only ${count} vmodkit_ names exported by ${LIBRARY}")
endif()
# What is left once every vmodkit_ line is taken out is exported by mistake.
string(REGEX REPLACE "[^\n]* vmodkit_[A-Za-z0-9_]*\n" "" others "${exported}")
if(NOT others STREQUAL "")
  message(FATAL_ERROR "${LIBRARY} exports names other than vmodkit_ ones:\n${others}")
endif()

string(REGEX MATCHALL "[^\n]*model_TextFont[^\n]*" font "${defined}")
if(font)
  string(REPLACE ";" "\n  " shown "${font}")
  message(FATAL_ERROR "${LIBRARY} carries the library's font table:\n  ${shown}")
endif()
