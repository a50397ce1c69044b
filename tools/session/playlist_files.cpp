#include "tools/session/playlist_files.h"

#include <filesystem>
#include <fstream>

#include "kit/files.h"
#include "kit/sample_mp3.h"
#include "tools/session/file_metadata.h"

namespace fs = std::filesystem;

namespace session {

std::vector<modelplayer::Entry> samplePlaylist(const std::string& folder) {
  struct Sample {
    const char* file;
    samplemp3::TextFrames frames;
    const char* displayTitle;  // what the player shows
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

// The player lists a file by its name and reads what its tag says.
static modelplayer::Entry entryFor(const fs::path& file) {
  modelplayer::Entry entry{file.string(), file.stem().string()};
  readPlayerMetadata(entry);
  return entry;
}

static bool readM3u(const fs::path& list, std::vector<modelplayer::Entry>& entries,
                    std::string& error) {
  std::ifstream in(list);
  if (!in) {
    error = "cannot read playlist " + list.string();
    return false;
  }
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    fs::path file(line);
    entries.push_back(entryFor(file.is_absolute() ? file : list.parent_path() / file));
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
