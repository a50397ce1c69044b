// The session on Windows: this program is the player, and it loads the plug-in from the
// Plugins folder beside it, as the real player does.
#include <string>

#include "model/player/model_player.h"
#include "tools/session/session_platform.h"

namespace session {

static HMODULE loaded;

bool setUpPlayer(const std::string&, std::string& error) {
  CreateDirectoryA((modelplayer::playerFolder() + "Plugins").c_str(), nullptr);
  DeleteFileA(settingsFileOnDisk().c_str());
  if (GetFileAttributesA((modelplayer::playerFolder() + "Plugins").c_str()) ==
      INVALID_FILE_ATTRIBUTES) {
    error = "cannot create " + modelplayer::playerFolder() + "Plugins";
    return false;
  }
  return true;
}

playernumbers::PluginRecord* loadPlugin(HINSTANCE& module, std::string& error) {
  std::string path = modelplayer::playerFolder() + "Plugins\\gen_tunelore.dll";
  loaded = LoadLibraryA(path.c_str());
  if (loaded == nullptr) {
    error = "cannot load " + path + " (error " + std::to_string(GetLastError()) + ")";
    return nullptr;
  }
  typedef playernumbers::PluginRecord* (*EntryFunction)();
  auto entry = (EntryFunction)(void*)GetProcAddress(loaded, playernumbers::ENTRY_FUNCTION);
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

std::string settingsFileOnDisk() {
  return modelplayer::playerFolder() + "Plugins\\gen_tunelore.ini";
}

double processorMilliseconds() {
  FILETIME created, ended, system, user;
  if (!GetProcessTimes(GetCurrentProcess(), &created, &ended, &system, &user)) return 0;
  auto ticks = [](const FILETIME& time) {
    return (double)(((unsigned long long)time.dwHighDateTime << 32) | time.dwLowDateTime);
  };
  return (ticks(system) + ticks(user)) / 10000.0;  // 100 ns ticks
}

const char* platformName() { return "Windows (the real gen_tunelore.dll)"; }

}  // namespace session
