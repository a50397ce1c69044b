# What both MinGW-w64 toolchain files share; they set TUNELORE_MINGW_TRIPLET and
# TUNELORE_MINGW_THREADS (the thread model: posix or win32) first.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER   ${TUNELORE_MINGW_TRIPLET}-gcc-${TUNELORE_MINGW_THREADS})
set(CMAKE_CXX_COMPILER ${TUNELORE_MINGW_TRIPLET}-g++-${TUNELORE_MINGW_THREADS})
set(CMAKE_RC_COMPILER  ${TUNELORE_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TUNELORE_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The plug-in DLL must load into the player with nothing beside it: link
# libgcc, libstdc++ (and, in the posix thread model, winpthread) statically.
set(CMAKE_EXE_LINKER_FLAGS_INIT    "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# CTest (and add_custom_command with a target's file as the command) runs
# cross-built programs through this wrapper.
get_filename_component(_tunelore_tools "${CMAKE_CURRENT_LIST_DIR}/../tools" ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR "${_tunelore_tools}/${TUNELORE_WINE_RUNNER}")
