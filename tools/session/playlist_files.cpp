#include "tools/session/playlist_files.h"

#include <taglib/fileref.h>
#include <taglib/tag.h>

#include <filesystem>
#include <fstream>
#include <utility>

#include "kit/files.h"
#include "kit/player_numbers.h"
#include "kit/sample_mp3.h"

namespace fs = std::filesystem;

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

// What the player's decoders read from the file, as IPC_GET_EXTENDED_FILE_INFO hands it out:
// title, artist and album from any tag TagLib reads (ID3v1, ID3v2.2 to 2.4 in any encoding,
// FLAC and Ogg Vorbis comments, ...). A file without a tag, or one TagLib cannot read, has
// none, and the player answers 0.
static void readPlayerMetadata(modelplayer::Entry& entry) {
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

// The player's default title format: "Artist - Title" when the tag has both, the title
// alone when it has no artist, else the file's name.
static std::string defaultDisplayTitle(const modelplayer::Entry& entry, const fs::path& file) {
  namespace key = playernumbers::infokey;
  auto title = entry.info.find(key::TITLE);
  auto artist = entry.info.find(key::ARTIST);
  if (title == entry.info.end()) return file.stem().string();
  if (artist == entry.info.end()) return title->second;
  return artist->second + " - " + title->second;
}

// The player reads what the file's tag says and lists the file by it, unless the playlist
// names its title (`listedTitle`, from an #EXTINF line).
static modelplayer::Entry entryFor(const fs::path& file, const std::string& listedTitle = "") {
  modelplayer::Entry entry{file.string(), ""};
  readPlayerMetadata(entry);
  entry.title = listedTitle.empty() ? defaultDisplayTitle(entry, file) : listedTitle;
  return entry;
}

std::vector<modelplayer::Entry> samplePlaylist(const std::string& folder) {
  struct Sample {
    const char* file;
    samplemp3::TextFrames frames;
    const char* displayTitle;  // what the player shows, as a playlist's #EXTINF line names it
  };
  const Sample samples[] = {
      {"01 Lanterns.mp3",
       {{"TIT2", "Lanterns On The Water"},
        {"TPE1", "Nightjar Assembly"},
        {"TALB", "Harbour Lights"}},
       "Nightjar Assembly - Lanterns On The Water"},
      {"02 Untitled.mp3", {{"TALB", "Field Recordings #2"}}, "The Quiet Hours - Morning Tide"},
      {"03 Paper Kites.mp3", {}, "A-ha Collective - Paper Kites"},
  };
  std::vector<modelplayer::Entry> entries;
  for (const Sample& sample : samples) {
    std::string path = (fs::path(folder) / sample.file).string();
    kit::writeFile(path, samplemp3::taggedTrack(sample.frames));
    entries.push_back(entryFor(path, sample.displayTitle));
  }
  return entries;
}

// "#EXTINF:seconds,Title": what the playlist shows for the entry on the next line.
static std::string extinfTitle(const std::string& line) {
  static const char prefix[] = "#EXTINF:";
  if (line.rfind(prefix, 0) != 0) return "";
  size_t comma = line.find(',');
  return comma == std::string::npos ? "" : line.substr(comma + 1);
}

static bool readM3u(const fs::path& list, std::vector<modelplayer::Entry>& entries,
                    std::string& error) {
  std::ifstream in(list);
  if (!in) {
    error = "cannot read playlist " + list.string();
    return false;
  }
  std::string line;
  std::string listedTitle;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    if (line[0] == '#') {
      listedTitle = extinfTitle(line);
      continue;
    }
    fs::path file(line);
    entries.push_back(entryFor(file.is_absolute() ? file : list.parent_path() / file, listedTitle));
    listedTitle.clear();
  }
  return true;
}

bool playlistFromArguments(const std::vector<std::string>& names,
                           std::vector<modelplayer::Entry>& entries, std::string& error) {
  for (const std::string& name : names) {
    fs::path path(name);
    std::string extension = path.extension().string();
    for (char& c : extension) c = (char)tolower((unsigned char)c);
    if (extension == ".m3u") {
      if (!readM3u(path, entries, error)) return false;
    } else {
      entries.push_back(entryFor(path));
    }
  }
  if (entries.empty()) {
    error = "the playlist holds no track";
    return false;
  }
  return true;
}

}  // namespace session
