#include "tools/session/file_metadata.h"

#include <taglib/fileref.h>
#include <taglib/tag.h>
#include <windows.h>

#include <string>
#include <utility>

#include "kit/player_numbers.h"

namespace session {

// The player reads Unicode and hands out the ANSI code page's text: characters the code
// page lacks come out as "?".
static std::string ansiText(const TagLib::String& text) {
  std::wstring wide = text.toWString();
  int size = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return "";
  std::string ansi((size_t)size, '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, &ansi[0], size, nullptr, nullptr);
  ansi.resize((size_t)size - 1);
  return ansi;
}

void readPlayerMetadata(modelplayer::Entry& entry) {
  namespace key = playernumbers::infokey;
  TagLib::FileRef file(entry.path.c_str(), false);  // no audio properties: the tag only
  if (file.isNull() || file.tag() == nullptr) return;
  const TagLib::Tag& tag = *file.tag();
  const std::pair<const char*, TagLib::String> fields[] = {
      {key::TITLE, tag.title()}, {key::ARTIST, tag.artist()}, {key::ALBUM, tag.album()}};
  for (const auto& [name, value] : fields) {
    if (!value.isEmpty()) entry.info[name] = ansiText(value);
  }
}

}  // namespace session
