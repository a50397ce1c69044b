# Cross-compiles for 32-bit Windows (the player's platform) with MinGW-w64.
# The kernel here runs no 32-bit code, so no emulator is set: i686 programs are
# built but cannot run; the x86_64 toolchain is the one that tests.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TUNELORE_MINGW_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
