// Texts in the ANSI code page: comparison, bounded copies, character steps, formatting.
#include <cstdarg>
#include <cstdio>

#include <shlwapi.h>

#include "model_state.h"

void winmodel::setAnsiCodePage(unsigned codePage) { state().codePage = codePage; }

BOOL WINAPI IsDBCSLeadByte(BYTE testChar) {
  if (winmodel::state().codePage != 932) return FALSE;
  return (testChar >= 0x81 && testChar <= 0x9F) || (testChar >= 0xE0 && testChar <= 0xFC);
}

int WINAPI lstrcmpA(LPCSTR first, LPCSTR second) {
  int order = strcmp(first != nullptr ? first : "", second != nullptr ? second : "");
  return order < 0 ? -1 : order > 0 ? 1 : 0;
}

int WINAPI lstrlenA(LPCSTR text) { return text != nullptr ? (int)strlen(text) : 0; }

LPSTR WINAPI lstrcpynA(LPSTR destination, LPCSTR source, int capacity) {
  char* to = destination;
  int left = capacity;
  while (left > 1 && *source != '\0') {
    *to++ = *source++;
    --left;
  }
  if (left > 0) *to = '\0';
  return destination;
}

LPSTR WINAPI CharNextA(LPCSTR current) {
  if (*current == '\0') return (LPSTR)current;
  if (IsDBCSLeadByte((BYTE)*current) && current[1] != '\0') return (LPSTR)(current + 2);
  return (LPSTR)(current + 1);
}

LPSTR WINAPI CharPrevA(LPCSTR start, LPCSTR current) {
  const char* at = start;
  while (at < current) {
    const char* next = CharNextA(at);
    if (next >= current || next == at) break;
    at = next;
  }
  return (LPSTR)at;
}

int wnsprintfA(LPSTR destination, int capacity, LPCSTR format, ...) {
  if (capacity <= 0) return -1;
  va_list arguments;
  va_start(arguments, format);
  int written = vsnprintf(destination, (size_t)capacity, format, arguments);
  va_end(arguments);
  return written < capacity ? written : -1;
}
