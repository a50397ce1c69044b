// Where the tests' player and plug-in live: the Linux model of Windows, or Windows itself.
#pragma once

#include <windows.h>

#include <string>

namespace testplatform {

// Prepares the player's folder (with its Plugins folder) for a test using `folder`.
bool setUp(const std::string& folder);
void tearDown();
HINSTANCE pluginModule();
std::string pluginFileName();
// Whether the plug-in's module has been pinned in memory, where that can be seen.
bool canObservePinning();
bool pluginModulePinned();
// The settings file's path as the plug-in builds it, and as the test program opens it.
std::string settingsFile();
std::string settingsFileOnDisk();
// A settings folder of the player's own, as the player names it (created, without its Plugins
// folder), and any Windows path as the test program opens it.
std::string settingsFolder();
std::string onDisk(const std::string& windowsPath);

}  // namespace testplatform
