# Cross-compiles for 64-bit Windows with MinGW-w64. The player is 32-bit; this
# build runs the same code and its tests under wine64, where a process starts
# in about a second.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TUNELORE_MINGW_TRIPLET x86_64-w64-mingw32)
# The posix thread model: its libstdc++ has std::thread and std::mutex (on winpthreads).
set(TUNELORE_MINGW_THREADS posix)
set(TUNELORE_WINE_RUNNER wine-run.sh)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
