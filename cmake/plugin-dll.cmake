# The shipped plug-in, gen_tunelore.dll, written to dist/win32 or dist/win64, stripped.
enable_language(RC)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(TUNELORE_DIST_NAME win32)
else()
  set(TUNELORE_DIST_NAME win64)
endif()
set(TUNELORE_DLL_DIR ${PROJECT_SOURCE_DIR}/dist/${TUNELORE_DIST_NAME})

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
  RUNTIME_OUTPUT_DIRECTORY ${TUNELORE_DLL_DIR}
  ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/importlib)

# The file the player loads: its kind, export, imports and resources.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(TUNELORE_PE_MACHINE i386)
else()
  set(TUNELORE_PE_MACHINE amd64)
endif()
# The system's interpreter: Debian's python3-pefile belongs to it, not to one found first on PATH.
if(NOT Python3_EXECUTABLE AND EXISTS /usr/bin/python3)
  set(Python3_EXECUTABLE /usr/bin/python3)
endif()
find_package(Python3 REQUIRED COMPONENTS Interpreter)
enable_testing()
add_test(NAME shipped_dll_checks
  COMMAND ${Python3_EXECUTABLE} -m unittest discover -v -s ${PROJECT_SOURCE_DIR}/tests/pe)
set_tests_properties(shipped_dll_checks PROPERTIES ENVIRONMENT
  "TUNELORE_PE_DLL=$<TARGET_FILE:gen_tunelore>;TUNELORE_PE_MACHINE=${TUNELORE_PE_MACHINE};\
TUNELORE_PE_VERSION=${PROJECT_VERSION};TUNELORE_PE_VERSION_TEXT=${TUNELORE_VERSION_TEXT}")
