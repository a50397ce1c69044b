// The session on Windows: this program is the player, and it loads the plug-in from the
// Plugins folder beside it, as the real player does.
#include <string>

#include "tools/session/session_platform.h"

namespace session {

static HMODULE loaded;

static std::string playerFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH - 1);
  std::string text = path;
  return text.substr(0, text.find_last_of('\\') + 1);
}

bool setUpPlayer(const std::string&, std::string& error) {
  CreateDirectoryA((playerFolder() + "Plugins").c_str(), nullptr);
  DeleteFileA(settingsFileOnDisk().c_str());
  if (GetFileAttributesA((playerFolder() + "Plugins").c_str()) == INVALID_FILE_ATTRIBUTES) {
    error = "cannot create " + playerFolder() + "Plugins";
    return false;
  }
  return true;
}

winampGeneralPurposePlugin* loadPlugin(HINSTANCE& module, std::string& error) {
  std::string path = playerFolder() + "Plugins\\gen_tunelore.dll";
  loaded = LoadLibraryA(path.c_str());
  if (loaded == nullptr) {
    error = "cannot load " + path + " (error " + std::to_string(GetLastError()) + ")";
    return nullptr;
  }
  typedef winampGeneralPurposePlugin* (*EntryFunction)();
  auto entry = (EntryFunction)(void*)GetProcAddress(loaded, "winampGetGeneralPurposePlugin");
  if (entry == nullptr) {
    error = path + " exports no winampGetGeneralPurposePlugin";
    return nullptr;
  }
  module = loaded;
  return entry();
}

void unloadPlugin() {
  if (loaded != nullptr) FreeLibrary(loaded);
  loaded = nullptr;
}

std::string settingsFileOnDisk() { return playerFolder() + "Plugins\\gen_tunelore.ini"; }

const char* platformName() { return "Windows (the real gen_tunelore.dll)"; }

}  // namespace session
