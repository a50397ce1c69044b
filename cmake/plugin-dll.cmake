# The shipped plug-in, gen_tunelore.dll, stripped, in the build folder. `cmake --install`
# gathers it with the notices that go beside it into <prefix>/win32 or <prefix>/win64.
enable_language(RC)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(TUNELORE_DIST_NAME win32)
else()
  set(TUNELORE_DIST_NAME win64)
endif()

# windres reports no dependencies of its own: name them, or a changed id or banner is missed.
set(_ui ${PROJECT_SOURCE_DIR}/src/ui)
set_source_files_properties(${_ui}/settings_dialog.rc PROPERTIES
  OBJECT_DEPENDS "${_ui}/resource_ids.h;${_ui}/banner.bmp")

# The top layer's objects themselves: the export lives there and nothing else refers to it.
add_library(gen_tunelore SHARED
  $<TARGET_OBJECTS:tunelore_plugin>
  ${_ui}/settings_dialog.rc
  ${PROJECT_SOURCE_DIR}/src/plugin/version.rc)
target_link_libraries(gen_tunelore PRIVATE tunelore_ui)
# Stripped; sections nothing references are dropped. That takes unreferenced data only: the
# PE linker script keeps every .eh_frame, and with it each function that has unwind data.
target_link_options(gen_tunelore PRIVATE -s -Wl,--gc-sections)
set_target_properties(gen_tunelore PROPERTIES
  PREFIX ""
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}
  ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/importlib)

# The licences of what the DLL links in (id3lib, zlib) go wherever it goes, with Windows'
# line ends: Notepad before Windows 10 shows a file without them as one line.
set(TUNELORE_NOTICES_FILE gen_tunelore-notices.txt)
set(TUNELORE_NOTICES ${CMAKE_BINARY_DIR}/${TUNELORE_NOTICES_FILE})
configure_file(${PROJECT_SOURCE_DIR}/THIRD-PARTY-NOTICES.txt ${TUNELORE_NOTICES}
  @ONLY NEWLINE_STYLE CRLF)
install(FILES $<TARGET_FILE:gen_tunelore> ${TUNELORE_NOTICES} DESTINATION ${TUNELORE_DIST_NAME})
