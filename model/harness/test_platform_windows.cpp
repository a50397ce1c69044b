// On Windows the plug-in's code is linked into the test program, so the program is both the
// player's executable and the plug-in's module, and the settings file lies beside it.
#include <string>

#include "model/harness/test_platform.h"
#include "model/player/model_player.h"

namespace testplatform {

static std::string testFolder;

// A test may have stood a folder where the file should be, to make it unwritable.
static void removeSettingsFile() {
  DeleteFileA(settingsFile().c_str());
  RemoveDirectoryA(settingsFile().c_str());
}

bool setUp(const std::string& folder) {
  testFolder = folder;
  CreateDirectoryA((modelplayer::playerFolder() + "Plugins").c_str(), nullptr);
  removeSettingsFile();
  return GetFileAttributesA((modelplayer::playerFolder() + "Plugins").c_str()) !=
         INVALID_FILE_ATTRIBUTES;
}

void tearDown() { removeSettingsFile(); }

HINSTANCE pluginModule() { return GetModuleHandleA(nullptr); }

std::string pluginFileName() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH - 1);
  std::string text = path;
  return text.substr(text.find_last_of('\\') + 1);
}

// The program's own module cannot be unloaded, so pinning it leaves no trace to observe;
// the end-to-end test with the real DLL checks pinning on Windows.
bool canObservePinning() { return false; }
bool pluginModulePinned() { return false; }

std::string settingsFile() { return modelplayer::playerFolder() + "Plugins\\gen_tunelore.ini"; }
std::string settingsFileOnDisk() { return settingsFile(); }

std::string settingsFolder() {
  std::string folder = testFolder + "\\AppData";
  CreateDirectoryA(folder.c_str(), nullptr);
  folder += "\\Winamp";
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

std::string onDisk(const std::string& windowsPath) { return windowsPath; }

}  // namespace testplatform
