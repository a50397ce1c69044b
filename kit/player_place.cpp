#include "kit/player_place.h"

#include <filesystem>

#include "kit/model_player.h"

#ifndef _WIN32
#include "windows_model.h"
#endif

namespace kit {

void handToPlayer(const Plugin& plugin) {
  plugin.record->hwndParent = modelplayer::mainWindow();
  plugin.record->hDllInstance = plugin.module;
}

#ifdef _WIN32
// This program is the player's executable: the Plugins folder and the settings file lie
// beside it.
static std::string scratch;

// A test may have stood a folder where the file should be, to make it unwritable.
static void removeSettingsFile() {
  DeleteFileA(settingsFile().c_str());
  RemoveDirectoryA(settingsFile().c_str());
}

bool setUpPlayer(const std::string& folder) {
  scratch = folder;
  std::string plugins = modelplayer::playerFolder() + "Plugins";
  CreateDirectoryA(plugins.c_str(), nullptr);
  removeSettingsFile();
  return GetFileAttributesA(plugins.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void tearDownPlayer() { removeSettingsFile(); }
std::string settingsFile() { return modelplayer::playerFolder() + "Plugins\\gen_tunelore.ini"; }
std::string settingsFileOnDisk() { return settingsFile(); }

std::string settingsFolder() {
  std::string folder = scratch + "\\AppData\\Winamp";
  std::filesystem::create_directories(folder);
  return folder;
}

std::string onDisk(const std::string& windowsPath) { return windowsPath; }
const char* platformName() { return "Windows (the real gen_tunelore.dll)"; }

Plugin loadDll(const std::string& path) {
  Plugin plugin;
  plugin.module = LoadLibraryA(path.c_str());
  if (plugin.module == nullptr) {
    plugin.error = "cannot load " + path + " (error " + std::to_string(GetLastError()) + ")";
    return plugin;
  }
  typedef playernumbers::PluginRecord* (*EntryFunction)();
  auto entry = (EntryFunction)(void*)GetProcAddress(plugin.module, playernumbers::ENTRY_FUNCTION);
  if (entry != nullptr) return {entry(), plugin.module, ""};
  plugin.error = path + " exports no " + playernumbers::ENTRY_FUNCTION;
  return plugin;
}
#else
// "C:\" is the scratch folder; the player is C:\Winamp\winamp.exe.
bool setUpPlayer(const std::string& folder) {
  winmodel::reset();
  winmodel::setDriveRoot(folder);
  winmodel::setExecutablePath("C:\\Winamp\\winamp.exe");
  std::error_code failure;
  std::filesystem::create_directories(winmodel::hostPath("C:\\Winamp\\Plugins"), failure);
  return !failure;
}

void tearDownPlayer() {}
std::string settingsFile() { return "C:\\Winamp\\Plugins\\gen_tunelore.ini"; }
std::string settingsFileOnDisk() { return onDisk(settingsFile()); }

std::string settingsFolder() {
  const char folder[] = "C:\\Users\\someone\\AppData\\Roaming\\Winamp";
  std::filesystem::create_directories(winmodel::hostPath(folder));
  return folder;
}

std::string onDisk(const std::string& windowsPath) {
  return winmodel::hostPath(windowsPath.c_str());
}
const char* platformName() { return "the Linux model of Windows"; }
#endif

}  // namespace kit
