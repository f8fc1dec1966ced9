# Checks that the installed headers define only prefixed macros: a bare OPAQUE,
# TRANSPARENT or POLYGON from a library header would change the meaning of a front end's
# own code, or of the system headers it includes afterwards.
#
# cmake -DHEADER_DIRS="dir;dir" -P check_header_macros.cmake
set(bare "")
set(count 0)
foreach(dir IN LISTS HEADER_DIRS)
  file(GLOB headers ${dir}/*.h)
  if(NOT headers)
    message(FATAL_ERROR "no headers in ${dir}")
  endif()
  foreach(header IN LISTS headers)
    file(STRINGS ${header} lines REGEX "^[ \t]*#[ \t]*define[ \t]+[A-Za-z_]")
    foreach(line IN LISTS lines)
      string(REGEX REPLACE "^[ \t]*#[ \t]*define[ \t]+([A-Za-z_][A-Za-z0-9_]*).*$" "\\1" name "${line}")
      math(EXPR count "${count} + 1")
      # The library's, the kit's, the validator's and the host's own prefixes (VMOD_, VMODKIT_,
      # VMODCHECK_, OGDI_, OERR_ ...).
      if(NOT name MATCHES "^(VMOD|VMODHOST|VMODKIT|VMODCHECK|O[A-Z]+)_")
        get_filename_component(shown ${header} NAME)
        list(APPEND bare "${shown}: ${name}")
      endif()
    endforeach()
  endforeach()
endforeach()
list(JOIN bare "\n  " shown)
if(NOT shown STREQUAL "")
  message(FATAL_ERROR "installed headers define macros without a prefix:\n  ${shown}")
endif()
if(count LESS 50)
  message(FATAL_ERROR "only ${count} macros found: the header directories are not the installed ones")
endif()
