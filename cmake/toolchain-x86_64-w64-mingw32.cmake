# Cross-compiles for 64-bit Windows with MinGW-w64. The player is 32-bit; this
# build exists so that the Windows code and its tests run here, under wine64.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TUNELORE_MINGW_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)

# CTest (and add_custom_command with a target's file as the command) runs
# cross-built programs through this wrapper.
get_filename_component(_tunelore_wine_run "${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run.sh" ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR "${_tunelore_wine_run}")
