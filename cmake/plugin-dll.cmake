# The shipped plug-in, gen_tunelore.dll, written to dist/win32 or dist/win64, stripped.
enable_language(RC)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(TUNELORE_DIST_NAME win32)
else()
  set(TUNELORE_DIST_NAME win64)
endif()
set(TUNELORE_DLL_DIR ${PROJECT_SOURCE_DIR}/dist/${TUNELORE_DIST_NAME})

add_library(gen_tunelore SHARED
  $<TARGET_OBJECTS:tunelore_plugin>
  ${PROJECT_SOURCE_DIR}/ui/settings_dialog.rc
  ${PROJECT_SOURCE_DIR}/host/version.rc)
target_include_directories(gen_tunelore PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(gen_tunelore PRIVATE id3lib::id3lib user32 shlwapi)
target_link_options(gen_tunelore PRIVATE -s)
set_target_properties(gen_tunelore PROPERTIES
  PREFIX ""
  RUNTIME_OUTPUT_DIRECTORY ${TUNELORE_DLL_DIR}
  ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/importlib)
