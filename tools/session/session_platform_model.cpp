// The session on the Linux model: the plug-in is linked in, and "C:\" is the work folder.
#include <ctime>
#include <filesystem>

#include "plugin/plugin.h"
#include "tools/session/session_platform.h"
#include "windows_model.h"

namespace session {

static const char PLAYER_EXECUTABLE[] = "C:\\Winamp\\winamp.exe";
static const char PLUGIN_MODULE[] = "C:\\Winamp\\Plugins\\gen_tunelore.dll";

bool setUpPlayer(const std::string& workFolder, std::string& error) {
  winmodel::reset();
  winmodel::setDriveRoot(workFolder);
  winmodel::setExecutablePath(PLAYER_EXECUTABLE);
  std::error_code failure;
  std::filesystem::create_directories(winmodel::hostPath("C:\\Winamp\\Plugins"), failure);
  if (failure) error = "cannot create the player's folder: " + failure.message();
  return !failure;
}

playernumbers::PluginRecord* loadPlugin(HINSTANCE& module, std::string&) {
  module = winmodel::addModule(PLUGIN_MODULE);
  // The plug-in is linked in; the player reads its record by the player's own layout.
  return (playernumbers::PluginRecord*)winampGetGeneralPurposePlugin();
}

void unloadPlugin() {}

std::string settingsFileOnDisk() {
  return winmodel::hostPath("C:\\Winamp\\Plugins\\gen_tunelore.ini");
}

double processorMilliseconds() { return 1000.0 * (double)std::clock() / CLOCKS_PER_SEC; }

const char* platformName() { return "the Linux model of Windows"; }

}  // namespace session
