# Cross-compiles for 64-bit Windows with MinGW-w64. The player is 32-bit; this
# build exists so that the Windows code and its tests run here, under wine64.
#   cmake -S . -B build-win64 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-x86_64-w64-mingw32.cmake
#   ctest --test-dir build-win64      (each test program goes through tools/wine-run.sh)
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TUNELORE_MINGW_TRIPLET x86_64-w64-mingw32)

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

# add_test() (so CTest), try_run() and gtest_discover_tests() run cross-built
# programs through this wrapper.
get_filename_component(_tunelore_wine_run "${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run.sh" ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR "${_tunelore_wine_run}")

# The plug-in DLL must load into the player with nothing beside it: link
# libgcc, libstdc++ and winpthread statically.
set(CMAKE_EXE_LINKER_FLAGS_INIT    "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
