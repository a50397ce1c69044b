// The page address the plug-in composes from given fields, so that the corpus check expects
// the plug-in's own rule: reads "title<TAB>artist<TAB>album" lines (in the ANSI code page)
// and prints each line's address on a line of its own.
#include <cstdio>
#include <cstring>
#include <string>

#include "tracking/lyrics_page.h"

int main() {
  static char line[3 * TRACK_FIELD_SIZE + 8];
  while (std::fgets(line, sizeof line, stdin) != nullptr) {
    std::string fields = std::string(line, std::strcspn(line, "\r\n")) + "\t\t";
    TrackInfo info = {};
    char* parts[] = {info.title, info.artist, info.album};
    size_t at = 0;
    for (char* part : parts) {
      size_t end = fields.find('\t', at);
      std::snprintf(part, TRACK_FIELD_SIZE, "%s", fields.substr(at, end - at).c_str());
      at = end + 1;
    }
    static char address[PAGE_ADDRESS_SIZE];
    composePageAddress(info, address);
    std::printf("%s\n", address);
  }
  return 0;
}
