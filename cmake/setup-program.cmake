# The setup program, tunelore-setup.exe in the build folder: the shipped gen_tunelore.dll and
# its notices with an installer and uninstaller, built by makensis (Debian's nsis) from
# setup/tunelore-setup.nsi. `cmake --install` puts it beside the DLL; tests/setup checks it.
if(NOT TARGET gen_tunelore OR NOT CMAKE_SIZEOF_VOID_P EQUAL 4)
  return()  # the player is 32-bit: so is the only DLL worth installing
endif()

find_program(TUNELORE_MAKENSIS makensis REQUIRED)
set(TUNELORE_SETUP_PROGRAM ${CMAKE_BINARY_DIR}/tunelore-setup.exe)
add_custom_command(OUTPUT ${TUNELORE_SETUP_PROGRAM}
  COMMAND ${TUNELORE_MAKENSIS} -V2 -DVERSION=${TUNELORE_VERSION_TEXT}
          "-DPLUGIN_DLL=$<TARGET_FILE:gen_tunelore>" "-DNOTICES=${TUNELORE_NOTICES}"
          "-DNOTICES_FILE=${TUNELORE_NOTICES_FILE}" "-DOUTFILE=${TUNELORE_SETUP_PROGRAM}"
          ${PROJECT_SOURCE_DIR}/setup/tunelore-setup.nsi
  DEPENDS gen_tunelore ${PROJECT_SOURCE_DIR}/setup/tunelore-setup.nsi
          ${PROJECT_SOURCE_DIR}/setup/readme.txt ${TUNELORE_NOTICES}
  COMMENT "Building the setup program ${TUNELORE_SETUP_PROGRAM}"
  VERBATIM)
add_custom_target(setup_program ALL DEPENDS ${TUNELORE_SETUP_PROGRAM})
install(FILES ${TUNELORE_SETUP_PROGRAM} DESTINATION ${TUNELORE_DIST_NAME})
