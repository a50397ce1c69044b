# Third-party dependencies of the Windows cross builds, for the target:
#   id3lib::id3lib   static id3lib 3.8.3 (C interface), zlib linked in statically
#   TagLib::tag      static TagLib 1.13, zlib linked in statically: the session program's
#                    only, and not in the shipped DLL's build (win32 thread model)
#   GTest::gtest, GTest::gtest_main, GTest::gmock, GTest::gmock_main
#                    GoogleTest built from Debian's sources in /usr/src/googletest
# Include this only when cross-compiling for Windows with one of the
# cmake/toolchain-*-w64-mingw32.cmake files.
include_guard(GLOBAL)

if(NOT CMAKE_SYSTEM_NAME STREQUAL "Windows" OR NOT CMAKE_CROSSCOMPILING)
  message(FATAL_ERROR "windows-deps.cmake is for cross builds with a MinGW-w64 toolchain file")
endif()

# The toolchain file names the triplet; the compiler knows it too.
if(NOT TUNELORE_MINGW_TRIPLET)
  execute_process(COMMAND "${CMAKE_CXX_COMPILER}" -dumpmachine
                  OUTPUT_VARIABLE TUNELORE_MINGW_TRIPLET OUTPUT_STRIP_TRAILING_WHITESPACE)
endif()

get_filename_component(_tunelore_tools "${CMAKE_CURRENT_LIST_DIR}/../tools" ABSOLUTE)

# --- id3lib ------------------------------------------------------------------
# Built once per triplet into a cache folder in the source tree that every
# build folder shares; the script returns at once when the build is current.
set(TUNELORE_DEPS_DIR "${CMAKE_SOURCE_DIR}/.deps" CACHE PATH
    "Cache folder for third-party libraries cross-built for Windows")
# One per thread model too: the library must match the runtime it is linked with.
set(_id3lib_dir "${TUNELORE_DEPS_DIR}/id3lib-${TUNELORE_MINGW_TRIPLET}-${TUNELORE_MINGW_THREADS}")
file(MAKE_DIRECTORY "${TUNELORE_DEPS_DIR}")
if(NOT EXISTS "${TUNELORE_DEPS_DIR}/.gitignore")
  # The folder ignores itself, so it never lands in a commit.
  file(WRITE "${TUNELORE_DEPS_DIR}/.gitignore" "*\n")
endif()

execute_process(
  COMMAND ${CMAKE_COMMAND} -E env "TUNELORE_MINGW_CXX=${CMAKE_CXX_COMPILER}"
          bash "${_tunelore_tools}/build-id3lib-mingw.sh" "${TUNELORE_MINGW_TRIPLET}" "${_id3lib_dir}"
  RESULT_VARIABLE _id3lib_result
  OUTPUT_VARIABLE _id3lib_output
  ERROR_VARIABLE _id3lib_output)
if(NOT _id3lib_result EQUAL 0)
  message(FATAL_ERROR "Building id3lib for ${TUNELORE_MINGW_TRIPLET} failed:\n${_id3lib_output}")
endif()
string(STRIP "${_id3lib_output}" _id3lib_output)
string(REPLACE "\n" "\n-- " _id3lib_output "${_id3lib_output}")
message(STATUS "${_id3lib_output}")
# Re-configure (and so re-check the build) when the recipe changes.
set_property(DIRECTORY "${CMAKE_SOURCE_DIR}" APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
  "${_tunelore_tools}/build-id3lib-mingw.sh"
  "${CMAKE_CURRENT_LIST_DIR}/id3lib-config/config.h")
file(GLOB _id3lib_patches "${CMAKE_CURRENT_LIST_DIR}/id3lib-patches/*.patch")
set_property(DIRECTORY "${CMAKE_SOURCE_DIR}" APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_id3lib_patches})

# The archive by its full name: a plain -lz would pick MinGW's import library
# libz.dll.a and make the plug-in depend on zlib1.dll.
find_library(TUNELORE_MINGW_ZLIB NAMES libz.a
             PATHS "/usr/${TUNELORE_MINGW_TRIPLET}/lib" NO_DEFAULT_PATH)
if(NOT TUNELORE_MINGW_ZLIB)
  message(FATAL_ERROR "libz.a for ${TUNELORE_MINGW_TRIPLET} not found (package libz-mingw-w64-dev)")
endif()

if(NOT TARGET id3lib::id3lib)
  add_library(id3lib::id3lib STATIC IMPORTED GLOBAL)
  set_target_properties(id3lib::id3lib PROPERTIES
    IMPORTED_LOCATION "${_id3lib_dir}/lib/libid3.a"
    IMPORTED_LINK_INTERFACE_LANGUAGES CXX
    INTERFACE_INCLUDE_DIRECTORIES "${_id3lib_dir}/include"
    # 1 = static: the headers then declare plain functions, no dllimport.
    INTERFACE_COMPILE_DEFINITIONS "ID3LIB_LINKOPTION=1"
    INTERFACE_LINK_LIBRARIES "${TUNELORE_MINGW_ZLIB}")
endif()

# --- TagLib --------------------------------------------------------------------
# The session program reads files as the player does; the shipped DLL's build has none.
if(TUNELORE_MINGW_THREADS STREQUAL "posix" AND NOT TARGET TagLib::tag)
  set(_taglib_dir "${TUNELORE_DEPS_DIR}/taglib-${TUNELORE_MINGW_TRIPLET}-${TUNELORE_MINGW_THREADS}")
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env "TUNELORE_MINGW_CXX=${CMAKE_CXX_COMPILER}"
            "TUNELORE_MINGW_CC=${CMAKE_C_COMPILER}"
            bash "${_tunelore_tools}/build-taglib-mingw.sh" "${TUNELORE_MINGW_TRIPLET}" "${_taglib_dir}"
    RESULT_VARIABLE _taglib_result
    OUTPUT_VARIABLE _taglib_output
    ERROR_VARIABLE _taglib_output)
  if(NOT _taglib_result EQUAL 0)
    message(FATAL_ERROR "Building TagLib for ${TUNELORE_MINGW_TRIPLET} failed:\n${_taglib_output}")
  endif()
  string(STRIP "${_taglib_output}" _taglib_output)
  string(REPLACE "\n" "\n-- " _taglib_output "${_taglib_output}")
  message(STATUS "${_taglib_output}")
  set_property(DIRECTORY "${CMAKE_SOURCE_DIR}" APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
    "${_tunelore_tools}/build-taglib-mingw.sh")
  add_library(TagLib::tag STATIC IMPORTED GLOBAL)
  set_target_properties(TagLib::tag PROPERTIES
    IMPORTED_LOCATION "${_taglib_dir}/lib/libtag.a"
    IMPORTED_LINK_INTERFACE_LANGUAGES CXX
    INTERFACE_INCLUDE_DIRECTORIES "${_taglib_dir}/include"
    INTERFACE_COMPILE_DEFINITIONS "TAGLIB_STATIC"
    INTERFACE_LINK_LIBRARIES "${TUNELORE_MINGW_ZLIB}")
endif()

# --- GoogleTest ----------------------------------------------------------------
set(TUNELORE_GOOGLETEST_SOURCE_DIR "/usr/src/googletest" CACHE PATH
    "GoogleTest sources to build for the Windows target (package googletest)")

function(_tunelore_add_googletest)
  if(TARGET GTest::gtest)
    return()
  endif()
  if(NOT EXISTS "${TUNELORE_GOOGLETEST_SOURCE_DIR}/CMakeLists.txt")
    message(FATAL_ERROR "GoogleTest sources not found in ${TUNELORE_GOOGLETEST_SOURCE_DIR} (package googletest)")
  endif()
  # Function scope: these settings reach GoogleTest only. Static, so test
  # programs need no gtest DLL beside them under Wine.
  # GoogleTest's subfolders ask for CMake 3.5, which would make its option()s
  # ignore these variables (policy CMP0077).
  set(CMAKE_POLICY_DEFAULT_CMP0077 NEW)
  set(BUILD_SHARED_LIBS OFF)
  set(BUILD_GMOCK ON)
  set(INSTALL_GTEST OFF)
  add_subdirectory("${TUNELORE_GOOGLETEST_SOURCE_DIR}"
                   "${CMAKE_BINARY_DIR}/_deps/googletest" EXCLUDE_FROM_ALL)
endfunction()
_tunelore_add_googletest()
