#include "fuzz/fuzz_model.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "model/harness/plugin_harness.h"
#include "model/player/model_player.h"
#include "plugin/plugin.h"
#include "settings/settings.h"
#include "tracking/lyrics_page.h"
#include "tracking/song_change.h"
#include "windows_model.h"

namespace fs = std::filesystem;

namespace fuzzmodel {

const char SETTINGS_FILE[] = "C:\\Winamp\\Plugins\\gen_tunelore.ini";
const char PLUGIN_FILE_NAME[] = "gen_tunelore.dll";

static std::string processFolder;

static void removeProcessFolder() {
  std::error_code ignored;
  if (!processFolder.empty()) fs::remove_all(processFolder, ignored);
}

const std::string& folder() {
  if (processFolder.empty()) {
    std::string pattern = (fs::temp_directory_path() / "tunelore-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) fail("mkdtemp", pattern);
    processFolder = pattern;
    fs::create_directories(fs::path(processFolder) / "Winamp" / "Plugins");
    std::atexit(removeProcessFolder);
  }
  return processFolder;
}

void startPlayer() {
  if (!harness::loadPlugin(folder())) fail("harness::loadPlugin", folder());
}

void stopPlayer() { harness::unloadPlugin(); }

std::string settingsFileOnDisk() { return winmodel::hostPath(SETTINGS_FILE); }

bool writeFile(const std::string& path, const uint8_t* data, size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), (std::streamsize)size);
  return (bool)out;
}

void fail(const char* property, const std::string& detail) {
  std::fprintf(stderr, "\n*** broken property: %s\n%s\n", property, detail.c_str());
  std::fflush(stderr);
  std::abort();
}

}  // namespace fuzzmodel
