# The setup program, dist/win32/tunelore-setup.exe: the shipped gen_tunelore.dll with an
# installer and uninstaller, built by makensis (Debian's nsis) from setup/tunelore-setup.nsi;
# its checks as a file, and a driver that runs it under wine32 on made-up player folders.
if(NOT TARGET gen_tunelore OR NOT CMAKE_SIZEOF_VOID_P EQUAL 4)
  return()  # the player is 32-bit: so is the only DLL worth installing
endif()

find_program(TUNELORE_MAKENSIS makensis REQUIRED)
set(TUNELORE_SETUP_PROGRAM ${TUNELORE_DLL_DIR}/tunelore-setup.exe)
add_custom_command(OUTPUT ${TUNELORE_SETUP_PROGRAM}
  COMMAND ${TUNELORE_MAKENSIS} -V2 -DVERSION=${TUNELORE_VERSION_TEXT}
          "-DPLUGIN_DLL=$<TARGET_FILE:gen_tunelore>" "-DOUTFILE=${TUNELORE_SETUP_PROGRAM}"
          ${PROJECT_SOURCE_DIR}/setup/tunelore-setup.nsi
  DEPENDS gen_tunelore ${PROJECT_SOURCE_DIR}/setup/tunelore-setup.nsi
          ${PROJECT_SOURCE_DIR}/setup/readme.txt
  COMMENT "Building the setup program ${TUNELORE_SETUP_PROGRAM}"
  VERBATIM)
add_custom_target(setup_program ALL DEPENDS ${TUNELORE_SETUP_PROGRAM})

add_test(NAME setup_program_checks
  COMMAND ${Python3_EXECUTABLE} -m unittest -v test_setup_program
  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}/tests/pe)
set_tests_properties(setup_program_checks PROPERTIES ENVIRONMENT
  "TUNELORE_SETUP_PROGRAM=${TUNELORE_SETUP_PROGRAM};TUNELORE_SETUP_VERSION=${TUNELORE_VERSION_TEXT}")

# Runs through the toolchain's emulator (wine32); Wine sees the Linux file system as Z:.
add_executable(setup_program_test
  ${PROJECT_SOURCE_DIR}/tests/setup/setup_program_test.cpp
  ${PROJECT_SOURCE_DIR}/tests/setup/setup_test_support.cpp)
target_include_directories(setup_program_test PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(setup_program_test PRIVATE advapi32 shell32 user32)
string(REPLACE "/" "\\" _setup_for_wine "Z:${TUNELORE_SETUP_PROGRAM}")
string(REPLACE "/" "\\" _dll_for_wine "Z:${TUNELORE_DLL_DIR}/gen_tunelore.dll")
add_test(NAME setup_program_test COMMAND setup_program_test "${_setup_for_wine}" "${_dll_for_wine}"
  ${TUNELORE_VERSION_TEXT})
# The driver starts seven programs; emulated, each start costs about a second more.
set_tests_properties(setup_program_test PROPERTIES TIMEOUT 1800)
