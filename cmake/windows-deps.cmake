# Third-party dependencies of the Windows cross builds, for the target (id3lib::id3lib comes
# from dependencies.cmake, as in every build, with TUNELORE_MINGW_ZLIB linked in):
#   TagLib::tag      static TagLib 1.13, zlib linked in statically: the session program's
#                    only, and not in the shipped DLL's build (win32 thread model)
#   GTest::gtest, GTest::gtest_main
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

# The archive by its full name: a plain -lz would pick MinGW's import library
# libz.dll.a and make the plug-in depend on zlib1.dll.
find_library(TUNELORE_MINGW_ZLIB NAMES libz.a
             PATHS "/usr/${TUNELORE_MINGW_TRIPLET}/lib" NO_DEFAULT_PATH)
if(NOT TUNELORE_MINGW_ZLIB)
  message(FATAL_ERROR "libz.a for ${TUNELORE_MINGW_TRIPLET} not found (package libz-mingw-w64-dev)")
endif()

# --- TagLib --------------------------------------------------------------------
# The session program reads files as the player does; the shipped DLL's build has none.
if(TUNELORE_MINGW_THREADS STREQUAL "posix" AND NOT TARGET TagLib::tag)
  # Built once per machine into the cache of tools/deps-cache.sh, like id3lib.
  tunelore_build_library(_taglib_dir "TagLib for ${TUNELORE_MINGW_TRIPLET}"
    ENV "TUNELORE_MINGW_CXX=${CMAKE_CXX_COMPILER}" "TUNELORE_MINGW_CC=${CMAKE_C_COMPILER}"
    COMMAND "${_tunelore_tools}/build-taglib-mingw.sh" "${TUNELORE_MINGW_TRIPLET}"
            "${TUNELORE_MINGW_THREADS}")
  set_property(DIRECTORY "${CMAKE_SOURCE_DIR}" APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
    "${_tunelore_tools}/build-taglib-mingw.sh" "${_tunelore_tools}/deps-cache.sh")
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
  set(BUILD_GMOCK OFF)
  set(INSTALL_GTEST OFF)
  add_subdirectory("${TUNELORE_GOOGLETEST_SOURCE_DIR}"
                   "${CMAKE_BINARY_DIR}/_deps/googletest" EXCLUDE_FROM_ALL)
endfunction()
_tunelore_add_googletest()
