# id3lib, TagLib (the session program's) and GoogleTest.
#
# id3lib::id3lib is the same patched id3lib in every build: Debian's source package with the
# project's patches (cmake/id3lib-patches/), built by tools/build-id3lib.sh with this build's
# own compiler and flags (sanitizers and libFuzzer's coverage reach into it) into the machine's
# cache of built libraries (tools/deps-cache.sh), static. TagLib and GoogleTest are Debian's
# packages on Linux, cross-built ones for Windows (windows-deps.cmake).
get_filename_component(_tunelore_tools "${CMAKE_CURRENT_LIST_DIR}/../tools" ABSOLUTE)

# tunelore_build_library(<dir-var> <what> ENV <name=value>... COMMAND <script> <args>...): runs
# a tools/build-*.sh script, which prints the library's folder in the cache, and sets
# <dir-var> to it; the configure stops with the script's log when it fails.
function(tunelore_build_library dir_var what)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "" "ENV;COMMAND")
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env ${arg_ENV} bash ${arg_COMMAND}
    RESULT_VARIABLE result
    OUTPUT_VARIABLE dir
    ERROR_VARIABLE log
    OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "Building ${what} failed:\n${log}")
  endif()
  string(STRIP "${log}" log)
  string(REPLACE "\n" "\n-- " log "${log}")
  message(STATUS "${log}")
  set(${dir_var} "${dir}" PARENT_SCOPE)
endfunction()

# TUNELORE_ZLIB: the zlib id3lib links, for anything else that must use the same one.
if(WIN32)
  include(${CMAKE_CURRENT_LIST_DIR}/windows-deps.cmake)
  set(TUNELORE_ZLIB "${TUNELORE_MINGW_ZLIB}")
  set(_id3lib_target "${TUNELORE_MINGW_TRIPLET}")
  # As the DLL links it in: for size, each function and datum in a section of its own for a
  # linker run with --gc-sections. One per thread model: the runtime must match the program's.
  set(_id3lib_flavour "${TUNELORE_MINGW_THREADS}")
  set(_id3lib_flags "-Os -ffunction-sections -fdata-sections")
else()
  find_package(ZLIB REQUIRED)
  set(TUNELORE_ZLIB ZLIB::ZLIB)
  execute_process(COMMAND "${CMAKE_CXX_COMPILER}" -dumpmachine
                  OUTPUT_VARIABLE _id3lib_target OUTPUT_STRIP_TRAILING_WHITESPACE)
  # The build's own flags, so that the preset's instrumentation covers id3lib too.
  string(TOUPPER "${CMAKE_BUILD_TYPE}" _id3lib_config)
  string(STRIP "${CMAKE_CXX_FLAGS} ${CMAKE_CXX_FLAGS_${_id3lib_config}}" _id3lib_flags)
  # A readable name; the cache's stamp tells apart whatever else differs.
  string(TOLOWER "${CMAKE_CXX_COMPILER_ID}-${CMAKE_BUILD_TYPE}" _id3lib_flavour)
  if(_id3lib_flags MATCHES "fuzzer-no-link")
    string(APPEND _id3lib_flavour "-fuzz")
  elseif(_id3lib_flags MATCHES "-fsanitize=")
    string(APPEND _id3lib_flavour "-sanitize")
  endif()

  find_path(TAGLIB_INCLUDE_DIR taglib/fileref.h REQUIRED)
  find_library(TAGLIB_LIBRARY tag REQUIRED)
  add_library(TagLib::tag UNKNOWN IMPORTED)
  set_target_properties(TagLib::tag PROPERTIES
    IMPORTED_LOCATION ${TAGLIB_LIBRARY}
    INTERFACE_INCLUDE_DIRECTORIES ${TAGLIB_INCLUDE_DIR})
  if(TUNELORE_TESTS)
    find_package(GTest REQUIRED)
  endif()
endif()

# tunelore_add_id3lib(<target> <flavour> <flags>): an imported static id3lib built (or found
# in the cache) with this build's compiler and the given flags.
function(tunelore_add_id3lib target flavour flags)
  tunelore_build_library(dir "id3lib (${_id3lib_target}, ${flavour})"
    ENV "TUNELORE_DEPS_CXX=${CMAKE_CXX_COMPILER}" "TUNELORE_DEPS_AR=${CMAKE_AR}"
        "TUNELORE_DEPS_CXXFLAGS=${flags}"
    COMMAND "${_tunelore_tools}/build-id3lib.sh" "${_id3lib_target}" "${flavour}")
  add_library(${target} STATIC IMPORTED GLOBAL)
  set_target_properties(${target} PROPERTIES
    IMPORTED_LOCATION "${dir}/lib/libid3.a"
    IMPORTED_LINK_INTERFACE_LANGUAGES CXX
    INTERFACE_INCLUDE_DIRECTORIES "${dir}/include"
    # 1 = static: the headers then declare plain functions, no dllimport.
    INTERFACE_COMPILE_DEFINITIONS "ID3LIB_LINKOPTION=1"
    INTERFACE_LINK_LIBRARIES "${TUNELORE_ZLIB}")
endfunction()

if(NOT TARGET id3lib::id3lib)
  tunelore_add_id3lib(id3lib::id3lib "${_id3lib_flavour}" "${_id3lib_flags}")
  # The same sources with id3lib's own std::ifstream reader, for tests/id3lib/ to compare
  # the block reader and ID3Tag_LinkWithFrames against.
  if(TUNELORE_TESTS AND NOT WIN32)
    tunelore_add_id3lib(id3lib::reference "${_id3lib_flavour}-ifstream"
                        "${_id3lib_flags} -DID3LIB_IFSTREAM_READER")
  endif()
  # Re-configure (and so re-check the build) when the recipe changes.
  file(GLOB _id3lib_patches "${CMAKE_CURRENT_LIST_DIR}/id3lib-patches/*.patch")
  set_property(DIRECTORY "${CMAKE_SOURCE_DIR}" APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
    "${_tunelore_tools}/build-id3lib.sh" "${_tunelore_tools}/deps-cache.sh"
    "${CMAKE_CURRENT_LIST_DIR}/id3lib-config/config.h" ${_id3lib_patches})
endif()
