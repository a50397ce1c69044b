# Cross-compiles for 32-bit Windows (the player's platform) with MinGW-w64: the
# shipped DLL (preset win32), and the test programs run under wine32 (preset wine32).
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TUNELORE_MINGW_TRIPLET i686-w64-mingw32)
# The DLL uses the win32 thread model: the posix one links winpthread statically, which
# imports GetTickCount64 from KERNEL32, a function Windows XP lacks, so XP's loader would
# refuse the DLL. Nothing in the plug-in starts a thread. The test programs need the
# posix model (GoogleTest uses std::mutex) and set TUNELORE_MINGW_THREADS=posix.
if(NOT TUNELORE_MINGW_THREADS)
  set(TUNELORE_MINGW_THREADS win32)
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES TUNELORE_MINGW_THREADS)
set(TUNELORE_WINE_RUNNER wine32-run.sh)
# A player built with Microsoft's compiler calls plug-ins and window procedures on a
# stack aligned to 4 bytes only, while GCC assumes 16: functions that need more
# alignment than 4 realign their own frame.
set(CMAKE_C_FLAGS_INIT   "-mincoming-stack-boundary=2")
set(CMAKE_CXX_FLAGS_INIT "-mincoming-stack-boundary=2")
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
