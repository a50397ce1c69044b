#include "tools/session/playlist_files.h"

#include <filesystem>
#include <fstream>

#include "kit/files.h"
#include "kit/player_numbers.h"
#include "kit/sample_mp3.h"
#include "tools/session/file_metadata.h"

namespace fs = std::filesystem;

namespace session {

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
    entries.push_back({path, sample.displayTitle});
    readPlayerMetadata(entries.back());
  }
  return entries;
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
