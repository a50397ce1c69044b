// Texts in the ANSI code page: comparison, bounded copies, character steps, formatting.
#include <algorithm>
#include <cstdarg>
#include <cstdio>

#include <shlwapi.h>

#include "model_state.h"

void winmodel::setAnsiCodePage(unsigned codePage) { state().codePage = codePage; }

static bool isLeadByte(unsigned char testChar) {
  if (winmodel::state().codePage != 932) return false;
  return (testChar >= 0x81 && testChar <= 0x9F) || (testChar >= 0xE0 && testChar <= 0xFC);
}

int WINAPI lstrcmpA(LPCSTR first, LPCSTR second) {
  int order = strcmp(first != nullptr ? first : "", second != nullptr ? second : "");
  return order < 0 ? -1 : order > 0 ? 1 : 0;
}

template <typename Char>
static Char* copyBounded(Char* destination, const Char* source, int capacity) {
  if (capacity <= 0) return destination;
  int length = 0;
  while (length < capacity - 1 && source[length] != 0) ++length;
  memcpy(destination, source, (size_t)length * sizeof(Char));
  destination[length] = 0;
  return destination;
}

LPSTR WINAPI lstrcpynA(LPSTR destination, LPCSTR source, int capacity) {
  return copyBounded(destination, source, capacity);
}

LPWSTR WINAPI lstrcpynW(LPWSTR destination, LPCWSTR source, int capacity) {
  return copyBounded(destination, source, capacity);
}

LPSTR WINAPI CharNextA(LPCSTR current) {
  if (*current == '\0') return (LPSTR)current;
  if (isLeadByte((unsigned char)*current) && current[1] != '\0') return (LPSTR)(current + 2);
  return (LPSTR)(current + 1);
}

int wnsprintfA(LPSTR destination, int capacity, LPCSTR format, ...) {
  if (capacity <= 0) return -1;
  va_list arguments;
  va_start(arguments, format);
  int written = vsnprintf(destination, (size_t)capacity, format, arguments);
  va_end(arguments);
  return written < capacity ? written : -1;
}

// Leading blanks, a sign, then at least one digit; what follows the digits is not read. A
// value past 32 bits wraps, as the 64-bit sum it is read into is cut to an int.
BOOL StrToIntExA(LPCSTR text, DWORD, int* value) {
  while (*text == ' ' || *text == '\t') ++text;
  bool negative = *text == '-';
  if (*text == '-' || *text == '+') ++text;
  if (*text < '0' || *text > '9') return FALSE;
  unsigned long long sum = 0;
  for (; *text >= '0' && *text <= '9'; ++text) sum = sum * 10 + (unsigned)(*text - '0');
  *value = (int)(unsigned)(negative ? 0 - sum : sum);
  return TRUE;
}

// Code page 1252: bytes 0x80-0x9F are the only ones that are not their own code point.
static const wchar_t CP1252_HIGH[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

static wchar_t widenedChar(unsigned char byte) {
  return byte >= 0x80 && byte <= 0x9F ? CP1252_HIGH[byte - 0x80] : (wchar_t)byte;
}

// Windows also maps some characters to a look-alike ("best fit"); the model turns every
// character the code page lacks into '?', which is what happens to other scripts.
static char narrowedChar(wchar_t character) {
  if (character < 0x80 || (character >= 0xA0 && character <= 0xFF)) return (char)character;
  const wchar_t* found = std::find(CP1252_HIGH, CP1252_HIGH + 32, character);
  return found != CP1252_HIGH + 32 ? (char)(0x80 + (found - CP1252_HIGH)) : '?';
}

std::wstring winmodel::widened(const char* text) {
  std::wstring wide;
  for (const char* at = text; *at != '\0'; ++at) wide += widenedChar((unsigned char)*at);
  return wide;
}

std::string winmodel::narrowed(const wchar_t* text) {
  std::string narrow;
  for (const wchar_t* at = text; *at != L'\0'; ++at) narrow += narrowedChar(*at);
  return narrow;
}

// Both write the terminator too and answer the length with it; a buffer too small for that
// gets what fits, without a terminator, and the answer 0, as Windows does.
template <typename Char>
static int copyConverted(const std::basic_string<Char>& converted, Char* destination,
                         int capacity) {
  int needed = (int)converted.size() + 1;
  if (capacity == 0) return needed;
  if (capacity < needed) {
    std::copy_n(converted.c_str(), capacity, destination);
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  std::copy_n(converted.c_str(), needed, destination);
  return needed;
}

int WINAPI MultiByteToWideChar(UINT, DWORD, LPCSTR source, int, LPWSTR destination, int capacity) {
  return copyConverted(winmodel::widened(source), destination, capacity);
}

int WINAPI WideCharToMultiByte(UINT, DWORD, LPCWSTR source, int, LPSTR destination, int capacity,
                               LPCSTR, BOOL*) {
  return copyConverted(winmodel::narrowed(source), destination, capacity);
}
