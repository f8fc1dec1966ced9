# Checks that a host library exports only prefixed C names: every defined dynamic symbol
# that is not a C++ one (_Z...) starts with a host package prefix (oerr_, ogdi_, ...) or
# vmodhost_. A printer call exported under its bare GDI name (LineTo, Polygon, ...) would
# clash with any consumer that also links the system's own.
#
# cmake -DLIBRARY=libvmodhost.so -P check_host_exports.cmake
execute_process(COMMAND nm -D --defined-only ${LIBRARY} OUTPUT_VARIABLE listing RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "nm failed on ${LIBRARY}")
endif()
string(REGEX MATCHALL "[^\n]+" lines "${listing}")
set(prefixed 0)
set(unprefixed "")
foreach(line IN LISTS lines)
  string(REGEX REPLACE "^.* " "" name "${line}")
  if(name MATCHES "^_Z")
    continue()
  elseif(name MATCHES "^(o[a-z]+|vmodhost)_[A-Za-z]")
    math(EXPR prefixed "${prefixed} + 1")
  else()
    list(APPEND unprefixed "${name}")
  endif()
endforeach()
if(unprefixed)
  string(REPLACE ";" "\n  " shown "${unprefixed}")
  message(FATAL_ERROR "${LIBRARY} exports names without a host prefix:\n  ${shown}")
endif()
# The printer's calls are exported, under their prefix.
foreach(call LineTo Polygon Polyline MoveToEx TextOutA CreateFontA SetBkMode StartDocA)
  if(NOT listing MATCHES " ogdi_${call}\n")
    message(FATAL_ERROR "${LIBRARY} does not export ogdi_${call}")
  endif()
endforeach()
if(prefixed LESS 100)
  message(FATAL_ERROR "only ${prefixed} prefixed names exported by ${LIBRARY}")
endif()
