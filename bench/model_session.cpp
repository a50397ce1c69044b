#include "bench/model_session.h"

#include <unistd.h>

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

bool startPlayer(const std::string& folder) { return harness::loadPlugin(folder); }

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

}  // namespace benchsession
