// Path texts in the ANSI code page, walked by characters so that a double-byte character
// whose trail byte is 0x5C is never taken for a backslash.
#pragma once

// The text after the last backslash of `path`, or `path` itself when it has none.
const char* afterLastBackslash(const char* path);
