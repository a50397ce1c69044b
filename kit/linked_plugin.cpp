#include "kit/linked_plugin.h"

#include "plugin/plugin.h"
#include "settings/settings.h"
#include "settings/window_place.h"
#include "tracking/song_change.h"
#include "tracking/tracking_state.h"
#include "ui/lyrics_menu.h"
#include "ui/resource_ids.h"
#include "winamp/player_requests.h"

#ifndef _WIN32
#include "windows_model.h"
#endif

namespace kit {

static HMODULE module;
// The record as the player finds it right after loading, for each new load.
static const winampGeneralPurposePlugin recordAtLoad = plugin;

Plugin linkedPlugin() {
#ifdef _WIN32
  module = GetModuleHandleA(nullptr);
#else
  module = winmodel::addModule("C:\\Winamp\\Plugins\\gen_tunelore.dll");
  // Dialog 101's controls that have ids, by kind, as the resource script lists them.
  using winmodel::ControlKind;
  winmodel::defineDialog(module, IDD_SETTINGS,
                         {
#include "settings_dialog_controls.inc"
                         });
#endif
  // The player reads the record by its own layout.
  return {(playernumbers::PluginRecord*)winampGetGeneralPurposePlugin(), module, ""};
}

bool loadPlugin(const std::string& folder, const modelplayer::Options& player) {
  if (!setUpPlayer(folder) || !modelplayer::start(player)) return false;
  plugin = recordAtLoad;
  handToPlayer(linkedPlugin());
  // What start-up does first, for the tests that call the plug-in's parts without it.
  connectToPlayer(plugin.hwndParent);
  bDisabledPlugin = bDisabledStartUp = bDisabledAutoOpen = false;
  lyricsWindowPlace = {};
  resetTracking();
  return true;
}

void unloadPlugin() {
  removeLyricsMenuItem();
  removeHooks();
  modelplayer::stop();
  tearDownPlayer();
}

#ifdef _WIN32
// This program, beside its Plugins folder.
std::string pluginFileName() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH - 1);
  return path + modelplayer::playerFolder().size();
}
// The program's own module cannot be unloaded, so pinning it leaves no trace to observe;
// the cases loaded from the DLL see it.
bool canObservePinning() { return false; }
bool pluginModulePinned() { return false; }
#else
std::string pluginFileName() { return "gen_tunelore.dll"; }
bool canObservePinning() { return true; }
bool pluginModulePinned() { return winmodel::isPinned(module); }
#endif

}  // namespace kit
