// Bounded formatting from the Windows shell light-weight utility library, for Linux builds.
#pragma once
#include <windows.h>

int wnsprintfA(LPSTR destination, int capacity, LPCSTR format, ...);
