// On Windows the plug-in's code is linked into the test program, so the program is both the
// player's executable and the plug-in's module, and the settings file lies beside it.
#include <string>

#include "model/harness/test_platform.h"
#include "model/player/model_player.h"

namespace testplatform {

bool setUp(const std::string&) {
  CreateDirectoryA((modelplayer::playerFolder() + "Plugins").c_str(), nullptr);
  DeleteFileA(settingsFile().c_str());
  return GetFileAttributesA((modelplayer::playerFolder() + "Plugins").c_str()) !=
         INVALID_FILE_ATTRIBUTES;
}

void tearDown() { DeleteFileA(settingsFile().c_str()); }

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

}  // namespace testplatform
