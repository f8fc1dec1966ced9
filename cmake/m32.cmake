# A 32-bit x86 build on an x86-64 host (gcc-multilib, g++-multilib):
#   cmake -S . -B build-m32 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/m32.cmake
# No 32-bit Cairo or GoogleTest libraries are installed, so the Cairo parts are left out
# and GoogleTest is compiled from its sources; the benchmarks, the automatic layout
# (Graphviz), the validator's file checks (GDAL) and the editor are left out too.
set(CMAKE_C_FLAGS_INIT "-m32")
set(CMAKE_CXX_FLAGS_INIT "-m32")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-m32")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-m32")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-m32")
set(CMAKE_LIBRARY_ARCHITECTURE i386-linux-gnu)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)

set(VMOD_CAIRO OFF CACHE BOOL "Build the Cairo-backed host parts: image canvas and PDF printer")
set(VMOD_GTEST_FROM_SOURCE ON CACHE BOOL "Build GoogleTest from its sources with this build's flags")
set(VMOD_BENCH OFF CACHE BOOL "Build the benchmarks")
set(VMOD_GDAL OFF CACHE BOOL "Check the input files of models through GDAL when it is found")
set(VMOD_GRAPHVIZ OFF CACHE BOOL "Lay models out automatically with Graphviz, when it is installed")
# No 32-bit cpp-httplib either: `vmod edit` says it was built without the editor.
set(VMOD_EDITOR OFF CACHE BOOL "Build the model editor (vmod edit), when cpp-httplib is installed")

# A kernel without 32-bit support cannot run the tests and tools: run them under
# qemu-i386 (package qemu-user) then. The 32-bit loader tells whether the kernel can.
if(NOT DEFINED CMAKE_CROSSCOMPILING_EMULATOR)
  execute_process(COMMAND /lib/ld-linux.so.2 --help RESULT_VARIABLE VMOD_M32_RUNS OUTPUT_QUIET ERROR_QUIET)
  if(NOT VMOD_M32_RUNS EQUAL 0)
    find_program(VMOD_QEMU_I386 qemu-i386)
    if(VMOD_QEMU_I386)
      set(CMAKE_CROSSCOMPILING_EMULATOR ${VMOD_QEMU_I386})
    endif()
  endif()
endif()
