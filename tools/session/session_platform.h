// What differs between playing the session on the Linux model and on Windows: where the
// player lives and how the plug-in gets loaded.
#pragma once

#include <string>

#include "model/player/player_numbers.h"

namespace session {

// Sets up the player's folder (with its Plugins folder) below `workFolder`; false on failure.
bool setUpPlayer(const std::string& workFolder, std::string& error);
// The plug-in's header record, with the module handle to hand it; null with `error` set.
playernumbers::PluginRecord* loadPlugin(HINSTANCE& module, std::string& error);
void unloadPlugin();
// Where the plug-in's settings file is, as this program can open it.
std::string settingsFileOnDisk();
// The processor time this process has used so far (user and system), in milliseconds.
double processorMilliseconds();
// Where the platform runs: "the Linux model of Windows" or "Windows".
const char* platformName();

}  // namespace session
