# Installs the current build into a scratch prefix, then builds programs against the
# installed tree the two ways a user would: as a CMake package and through pkg-config
# with the plain compiler. Runs them and checks what they print, the installed SONAMEs
# and the installed tool.
#
# cmake -DBUILD_DIR= -DSOURCE_DIR= -DWORK_DIR= -DGENERATOR= -DC_COMPILER= -DCXX_COMPILER=
#       -DC_FLAGS= -DCXX_FLAGS= -DEXE_LINKER_FLAGS= -DPKG_CONFIG= -DLIBDIR= -DBINDIR= -DSOVERSION= -DEXAMPLE=build_model.c -DTOOL=1|0
#       -P install_and_consume.cmake
cmake_minimum_required(VERSION 3.25)

set(prefix ${WORK_DIR}/prefix)
separate_arguments(c_flags UNIX_COMMAND "${C_FLAGS}")
separate_arguments(cxx_flags UNIX_COMMAND "${CXX_FLAGS}")
separate_arguments(exe_linker_flags UNIX_COMMAND "${EXE_LINKER_FLAGS}")
# RUNNER, when set, is the emulator that runs the built programs (a 32-bit build on a
# kernel that cannot run them).
separate_arguments(RUNNER UNIX_COMMAND "${RUNNER}")
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})

function(run what)
  cmake_parse_arguments(RUN "" "OUTPUT;WORKING_DIRECTORY" "COMMAND" ${ARGN})
  if(NOT RUN_WORKING_DIRECTORY)
    set(RUN_WORKING_DIRECTORY ${WORK_DIR})
  endif()
  execute_process(COMMAND ${RUN_COMMAND} WORKING_DIRECTORY ${RUN_WORKING_DIRECTORY}
    OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    string(REPLACE ";" " " shown "${RUN_COMMAND}")
    message(FATAL_ERROR "${what} failed (${status}): ${shown}\n${out}\n${err}")
  endif()
  if(RUN_OUTPUT)
    set(${RUN_OUTPUT} "${out}" PARENT_SCOPE)
  endif()
endfunction()

function(expect_same what actual expected_file)
  file(READ ${expected_file} expected)
  if(NOT actual STREQUAL expected)
    message(FATAL_ERROR "${what} printed:\n${actual}\nexpected:\n${expected}")
  endif()
endfunction()

run("install" COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})

# The libraries carry a versioned SONAME, and the development link names point at them.
foreach(library vmod vmodhost vmodkit vmodcheck)
  set(path ${prefix}/${LIBDIR}/lib${library}.so)
  if(NOT IS_SYMLINK ${path})
    message(FATAL_ERROR "lib${library}.so is not installed as a link")
  endif()
  run("readelf" COMMAND readelf -d ${path} OUTPUT dynamic)
  if(NOT dynamic MATCHES "Library soname: \\[lib${library}\\.so\\.${SOVERSION}\\]")
    message(FATAL_ERROR "lib${library}.so has no SONAME lib${library}.so.${SOVERSION}:\n${dynamic}")
  endif()
endforeach()
# libvmod finds libvmodhost beside itself, the tool finds both from its own place.
set(binaries ${prefix}/${LIBDIR}/libvmod.so ${prefix}/${LIBDIR}/libvmodkit.so ${prefix}/${LIBDIR}/libvmodcheck.so)
if(TOOL)
  list(APPEND binaries ${prefix}/${BINDIR}/vmod)
endif()
foreach(binary IN LISTS binaries)
  run("readelf" COMMAND readelf -d ${binary} OUTPUT dynamic)
  if(NOT dynamic MATCHES "(RUNPATH|RPATH)[^\n]*\\[\\$ORIGIN")
    message(FATAL_ERROR "${binary} does not look for libraries relative to itself:\n${dynamic}")
  endif()
endforeach()

# Every installed header compiles on its own, as C99 and as C++, with only the installed
# include directory: none reaches for a header that was not installed.
file(GLOB_RECURSE headers RELATIVE ${prefix}/include ${prefix}/include/*.h)
list(LENGTH headers count)
if(count LESS 20)
  message(FATAL_ERROR "only ${count} headers installed: ${headers}")
endif()
foreach(header IN LISTS headers)
  file(WRITE ${WORK_DIR}/header_check.c "#include \"${header}\"\nint header_check_unused;\n")
  run("compiling ${header} alone" COMMAND ${C_COMPILER} ${c_flags} -std=c99 -pedantic -Wall -Werror -fsyntax-only
      -I ${prefix}/include ${WORK_DIR}/header_check.c)
  configure_file(${WORK_DIR}/header_check.c ${WORK_DIR}/header_check.cpp COPYONLY)
  run("compiling ${header} alone as C++" COMMAND ${CXX_COMPILER} ${cxx_flags} -Wall -Werror -fsyntax-only
      -I ${prefix}/include ${WORK_DIR}/header_check.cpp)
endforeach()

# The installed headers carry only prefixed names: a program that names its own LineTo,
# POINT or TRANSPARENT still compiles with every one of them included.
set(all_headers "")
foreach(header IN LISTS headers)
  string(APPEND all_headers "#include \"${header}\"\n")
endforeach()
file(WRITE ${WORK_DIR}/own_names.c "${all_headers}typedef struct { double x, y; } POINT;
enum { TRANSPARENT = 5, OPAQUE = 6 };
int LineTo(double x);
int Polygon(const POINT *points);
int own_names_unused;
")
run("compiling every installed header with a program's own GDI names" COMMAND ${C_COMPILER} ${c_flags} -std=c99
    -pedantic -Wall -Werror -fsyntax-only -I ${prefix}/include ${WORK_DIR}/own_names.c)

# The installed tool runs from its installed place.
if(TOOL)
  run("installed vmod --help" COMMAND ${RUNNER} ${prefix}/${BINDIR}/vmod --help OUTPUT help)
  if(NOT help MATCHES "script")
    message(FATAL_ERROR "vmod --help printed:\n${help}")
  endif()
endif()

# (a), (b): a C and a C++ program through find_package(vmod).
run("configuring the consumer" COMMAND ${CMAKE_COMMAND} -S ${SOURCE_DIR}/consumer -B ${WORK_DIR}/consumer
    -G ${GENERATOR} -DCMAKE_C_COMPILER=${C_COMPILER} -DCMAKE_CXX_COMPILER=${CXX_COMPILER}
    -DCMAKE_PREFIX_PATH=${prefix} "-DCMAKE_C_FLAGS=${C_FLAGS}" "-DCMAKE_CXX_FLAGS=${CXX_FLAGS}"
    "-DCMAKE_EXE_LINKER_FLAGS=${EXE_LINKER_FLAGS}")
run("building the consumer" COMMAND ${CMAKE_COMMAND} --build ${WORK_DIR}/consumer)
run("consume" COMMAND ${RUNNER} ${WORK_DIR}/consumer/consume ${WORK_DIR}/c.vmf ${WORK_DIR}/c_script.txt OUTPUT printed)
expect_same("consume" "${printed}" ${SOURCE_DIR}/consume.expected)
run("consume_cxx" COMMAND ${RUNNER} ${WORK_DIR}/consumer/consume_cxx ${WORK_DIR}/c.vmf OUTPUT printed)
expect_same("consume_cxx" "${printed}" ${SOURCE_DIR}/consume_cxx.expected)
file(MAKE_DIRECTORY ${WORK_DIR}/frontend)
run("frontend" COMMAND ${RUNNER} ${WORK_DIR}/consumer/frontend ${WORK_DIR}/frontend OUTPUT printed)
expect_same("frontend" "${printed}" ${SOURCE_DIR}/frontend.expected)

# The library's script of the saved model is the installed tool's.
if(TOOL)
  run("installed vmod script" COMMAND ${RUNNER} ${prefix}/${BINDIR}/vmod script ${WORK_DIR}/c.vmf OUTPUT by_tool)
  file(READ ${WORK_DIR}/c_script.txt by_library)
  if(NOT by_tool STREQUAL by_library OR by_tool STREQUAL "")
    message(FATAL_ERROR "the consumer's script:\n${by_library}\ndiffers from vmod script:\n${by_tool}")
  endif()
endif()

# (c): the same C program and the bundled example with pkg-config and the plain compiler.
set(ENV{PKG_CONFIG_PATH} ${prefix}/${LIBDIR}/pkgconfig)
# Each package names the installed directories themselves, with no "pkgconfig/../.." in
# the path a compiler line and its error messages show.
foreach(package vmod vmodhost vmodkit vmodcheck)
  run("pkg-config ${package}" COMMAND ${PKG_CONFIG} --cflags --libs ${package} OUTPUT flags)
  string(FIND "${flags}" "-I${prefix}/include " include_at)
  string(FIND "${flags}" "-L${prefix}/${LIBDIR} " lib_at)
  if(flags MATCHES "/\\.\\./|/\\./|//" OR include_at EQUAL -1 OR lib_at EQUAL -1)
    message(FATAL_ERROR "pkg-config ${package} gives paths that are not the installed directories: ${flags}")
  endif()
endforeach()
run("pkg-config" COMMAND ${PKG_CONFIG} --cflags --libs vmod OUTPUT flags)
string(STRIP "${flags}" flags)
separate_arguments(flags UNIX_COMMAND "${flags}")
run("cc with pkg-config" COMMAND ${C_COMPILER} ${c_flags} ${exe_linker_flags} -std=c99 -Wall -Werror ${SOURCE_DIR}/consumer/consume.c
    ${flags} -o ${WORK_DIR}/consume_pc)
run("cc build_model.c with pkg-config" COMMAND ${C_COMPILER} ${c_flags} ${exe_linker_flags} -std=c99 -Wall -Werror
    ${EXAMPLE} ${flags} -o ${WORK_DIR}/build_model_pc)
set(ENV{LD_LIBRARY_PATH} ${prefix}/${LIBDIR})
run("consume built with pkg-config" COMMAND ${RUNNER} ${WORK_DIR}/consume_pc ${WORK_DIR}/pc.vmf ${WORK_DIR}/pc_script.txt
    OUTPUT printed)
expect_same("consume built with pkg-config" "${printed}" ${SOURCE_DIR}/consume.expected)
run("pkg-config vmodkit" COMMAND ${PKG_CONFIG} --cflags --libs vmodkit OUTPUT kit_flags)
string(STRIP "${kit_flags}" kit_flags)
separate_arguments(kit_flags UNIX_COMMAND "${kit_flags}")
run("c++ frontend.cpp with pkg-config" COMMAND ${CXX_COMPILER} ${cxx_flags} ${exe_linker_flags} -std=c++17 -Wall -Werror
    ${SOURCE_DIR}/consumer/frontend.cpp ${kit_flags} -o ${WORK_DIR}/frontend_pc)
file(MAKE_DIRECTORY ${WORK_DIR}/frontend_pc_files)
run("frontend built with pkg-config" COMMAND ${RUNNER} ${WORK_DIR}/frontend_pc ${WORK_DIR}/frontend_pc_files OUTPUT printed)
expect_same("frontend built with pkg-config" "${printed}" ${SOURCE_DIR}/frontend.expected)
run("build_model built with pkg-config" COMMAND ${RUNNER} ${WORK_DIR}/build_model_pc OUTPUT printed)
if(NOT printed MATCHES "ready to run: yes")
  message(FATAL_ERROR "build_model printed:\n${printed}")
endif()
