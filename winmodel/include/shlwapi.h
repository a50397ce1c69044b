// Bounded formatting and number reading from the Windows shell light-weight utility library,
// for Linux builds.
#pragma once
#include <windows.h>

int wnsprintfA(LPSTR destination, int capacity, LPCSTR format, ...);

#define STIF_DEFAULT 0x0
BOOL StrToIntExA(LPCSTR text, DWORD flags, int* value);
