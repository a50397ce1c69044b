# id3lib, TagLib (the session program's) and GoogleTest: Debian's packages on Linux,
# cross-built ones for Windows.
if(WIN32)
  include(${CMAKE_CURRENT_LIST_DIR}/windows-deps.cmake)
else()
  find_path(ID3LIB_INCLUDE_DIR id3.h REQUIRED)
  find_library(ID3LIB_LIBRARY id3 REQUIRED)
  add_library(id3lib::id3lib UNKNOWN IMPORTED)
  set_target_properties(id3lib::id3lib PROPERTIES
    IMPORTED_LOCATION ${ID3LIB_LIBRARY}
    INTERFACE_INCLUDE_DIRECTORIES ${ID3LIB_INCLUDE_DIR})
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
