#include "settings/path_text.h"

#include <windows.h>

const char* afterLastBackslash(const char* path) {
  const char* name = path;
  for (const char* at = path; *at != '\0'; at = CharNextA(at)) {
    if (*at == '\\') name = at + 1;
  }
  return name;
}
