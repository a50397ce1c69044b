#include "bench/model_session.h"

#include <unistd.h>

#include <cstdint>
#include <filesystem>

#include "model/harness/plugin_harness.h"

namespace fs = std::filesystem;

namespace benchsession {

std::string makeScratchFolder(const std::string& name) {
  fs::path folder = fs::temp_directory_path() / (name + "-" + std::to_string(getpid()));
  fs::remove_all(folder);
  fs::create_directories(folder);
  return folder.string();
}

void removeFolder(const std::string& folder) {
  std::error_code ignored;
  fs::remove_all(folder, ignored);
}

bool startPlayer(const std::string& folder, const modelplayer::Options& player) {
  return harness::loadPlugin(folder, player);
}

void stopPlayer() { harness::unloadPlugin(); }

bool writeTrack(const std::string& path, const samplemp3::TextFrames& frames, size_t audioBytes) {
  return samplemp3::writeFile(path,
                              samplemp3::id3v2Tag(frames) + samplemp3::silentAudio(audioBytes));
}

samplemp3::TextFrames typicalFrames(const std::string& title, const std::string& artist,
                                    const std::string& album) {
  return {{"TIT2", title},  {"TPE1", artist}, {"TALB", album},
          {"TYER", "2026"}, {"TRCK", "3/12"}, {"TCON", "Rock"}};
}

// The frame writer puts a text encoding byte first, which APIC has too (the description's).
samplemp3::TextFrames::value_type coverPicture(size_t bytes) {
  static const char FRONT_COVER = 3;
  std::string picture = std::string("image/jpeg\0", 11) + FRONT_COVER + '\0';  // no description
  const size_t end = picture.size() + bytes;
  picture += "\xFF\xD8\xFF\xE0";  // JPEG start
  // Compressed image data looks random; a fixed generator keeps every run's file the same.
  uint32_t state = 2463534242u;
  while (picture.size() < end) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    picture += (char)(state & 0xFF);
  }
  return {"APIC", picture};
}

}  // namespace benchsession
