// Where the player and the plug-in live for one run, on the Linux model of Windows or on
// Windows itself, and the plug-in's record as the player gets it: from the plug-in linked into
// this program (kit/linked_plugin.h) or from the DLL.
#pragma once

#include <windows.h>

#include <string>

#include "kit/player_numbers.h"

namespace kit {

// Prepares the player's folder with its Plugins folder and no settings file; on the model
// "C:\" is `folder`, on Windows the player is this program and `folder` holds its other
// folders. False on failure.
bool setUpPlayer(const std::string& folder);
void tearDownPlayer();
// The settings file's path as the plug-in builds it, and as this program opens it.
std::string settingsFile();
std::string settingsFileOnDisk();
// A settings folder of the player's own, as the player names it (created, without its Plugins
// folder), and any Windows path as this program opens it.
std::string settingsFolder();
std::string onDisk(const std::string& windowsPath);
// "the Linux model of Windows" or "Windows".
const char* platformName();

// The plug-in as the player holds it; `error` says why there is no record.
struct Plugin {
  playernumbers::PluginRecord* record = nullptr;
  HMODULE module = nullptr;
  std::string error;
};
#ifdef _WIN32
// Loads the DLL with LoadLibraryA and asks its entry function for the record.
Plugin loadDll(const std::string& path);
#endif
// Fills in the record's main window and module, as the player does before start-up; the model
// player must be running.
void handToPlayer(const Plugin& plugin);

}  // namespace kit
