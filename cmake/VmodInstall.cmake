# Installing the library for adoption: the three shared libraries with a versioned SONAME,
# the public headers, the `vmod` tool, a CMake package (vmod::vmod, vmod::vmodhost,
# vmod::vmodkit, vmod::vmodcheck) and pkg-config files.
#
# Installed headers:
#   include/vmod/vmod_records.h, include/vmod/vmod.h   the model library
#   include/vmodkit/*.h                                the front-end kit
#   include/vmodcheck/vmodcheck.h                      the validator
#   include/vmodhost/*.h                               the host: its handle types, the host
#                                                      operations (heap, strings, files, error
#                                                      reports, ...) and its configuration
#                                                      for front ends (vmodhost*.h)
# Both directories are installed as they are in the source tree (include/ and
# host/include/), so every header has one spelling, e.g. #include "vmodhost/omsc.h",
# inside the tree and in the installed package alike.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(VMOD_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/vmod)

set_target_properties(vmod vmodhost vmodkit vmodcheck PROPERTIES
  VERSION ${PROJECT_VERSION}
  SOVERSION ${PROJECT_VERSION_MAJOR})

# Installed binaries find the libraries relative to themselves, wherever the prefix lands.
if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}")
  set(VMOD_LIB_FROM_BIN "${CMAKE_INSTALL_LIBDIR}")
  set(VMOD_LIB_FROM_LIB "${CMAKE_INSTALL_LIBDIR}")
else()
  file(RELATIVE_PATH VMOD_LIB_FROM_BIN_REL
    "/vmod-prefix/${CMAKE_INSTALL_BINDIR}" "/vmod-prefix/${CMAKE_INSTALL_LIBDIR}")
  set(VMOD_LIB_FROM_BIN "$ORIGIN/${VMOD_LIB_FROM_BIN_REL}")
  set(VMOD_LIB_FROM_LIB "$ORIGIN")
endif()
set_target_properties(vmod vmodkit vmodcheck PROPERTIES INSTALL_RPATH "${VMOD_LIB_FROM_LIB}")

target_include_directories(vmodhost INTERFACE $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
target_include_directories(vmod INTERFACE $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
target_include_directories(vmodkit INTERFACE $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
target_include_directories(vmodcheck INTERFACE $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)

# A sanitized build's libraries need the sanitizer runtimes loaded first: every program
# linking them must itself be linked with the sanitizers.
set(VMOD_PC_HOST_LIBS "-L\${libdir} -lvmodhost")
if(VMOD_SANITIZE)
  string(APPEND VMOD_PC_HOST_LIBS " -fsanitize=address,undefined")
  target_link_options(vmodhost INTERFACE $<INSTALL_INTERFACE:-fsanitize=address,undefined>)
endif()

install(TARGETS vmod vmodhost vmodkit vmodcheck EXPORT vmodTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(FILES ${PROJECT_SOURCE_DIR}/include/vmod/vmod_records.h ${PROJECT_SOURCE_DIR}/include/vmod/vmod.h
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/vmod)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/kit/include/vmodkit
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} FILES_MATCHING PATTERN "*.h")
install(DIRECTORY ${PROJECT_SOURCE_DIR}/validator/include/vmodcheck
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} FILES_MATCHING PATTERN "*.h")
install(DIRECTORY ${PROJECT_SOURCE_DIR}/host/include/vmodhost
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} FILES_MATCHING PATTERN "*.h")

if(TARGET vmod_tool)
  set_target_properties(vmod_tool PROPERTIES INSTALL_RPATH "${VMOD_LIB_FROM_BIN}")
  install(TARGETS vmod_tool RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

# The CMake package.
install(EXPORT vmodTargets NAMESPACE vmod:: DESTINATION ${VMOD_INSTALL_CMAKEDIR})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/vmodConfig.cmake.in
  ${PROJECT_BINARY_DIR}/package/vmodConfig.cmake
  INSTALL_DESTINATION ${VMOD_INSTALL_CMAKEDIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/package/vmodConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/package/vmodConfig.cmake ${PROJECT_BINARY_DIR}/package/vmodConfigVersion.cmake
  DESTINATION ${VMOD_INSTALL_CMAKEDIR})

# pkg-config files. pkg-config prints a path built on ${pcfiledir} as it stands
# (".../lib/pkgconfig/../../include"), so the prefix is written as the absolute install
# prefix, known only when installing (`cmake --install --prefix`): each file is configured
# here with the prefix left as a placeholder and finished by the install step. A tree
# moved elsewhere afterwards is still described by `pkg-config --define-prefix`.
set(VMOD_PC_PREFIX "@VMOD_PC_PREFIX@")
foreach(dir LIBDIR INCLUDEDIR)
  if(IS_ABSOLUTE "${CMAKE_INSTALL_${dir}}")
    set(VMOD_PC_${dir} "${CMAKE_INSTALL_${dir}}")
  else()
    set(VMOD_PC_${dir} "\${prefix}/${CMAKE_INSTALL_${dir}}")
  endif()
endforeach()
foreach(package vmod vmodhost vmodkit vmodcheck)
  set(pc ${PROJECT_BINARY_DIR}/package/${package}.pc)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/${package}.pc.in ${pc}.in @ONLY)
  install(CODE "
    get_filename_component(VMOD_PC_PREFIX \"\${CMAKE_INSTALL_PREFIX}\" ABSOLUTE)
    configure_file(\"${pc}.in\" \"${pc}\" @ONLY)")
  install(FILES ${pc} DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
endforeach()
