# What both MinGW-w64 toolchain files share; they set TUNELORE_MINGW_TRIPLET first.
set(CMAKE_SYSTEM_NAME Windows)

# The -posix variants: their libstdc++ has std::thread and std::mutex (on
# winpthreads), which GoogleTest and any threaded test code rely on.
set(CMAKE_C_COMPILER   ${TUNELORE_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TUNELORE_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER  ${TUNELORE_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TUNELORE_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The plug-in DLL must load into the player with nothing beside it: link
# libgcc, libstdc++ and winpthread statically.
set(CMAKE_EXE_LINKER_FLAGS_INIT    "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
