#include "model/harness/plugin_harness.h"

#include "model/harness/test_platform.h"
#include "model/player/model_player.h"
#include "plugin/plugin.h"
#include "settings/settings.h"
#include "tracking/song_change.h"
#include "tracking/tracking_state.h"
#include "ui/lyrics_menu.h"
#include "winamp/player_requests.h"

namespace harness {

static void resetPluginState() {
  bDisabledPlugin = bDisabledStartUp = bDisabledAutoOpen = false;
  resetTracking();
}

bool loadPlugin(const std::string& folder, const modelplayer::Options& player) {
  if (!testplatform::setUp(folder) || !modelplayer::start(player)) return false;
  plugin.hwndParent = modelplayer::mainWindow();
  plugin.hDllInstance = testplatform::pluginModule();
  // What start-up does first, for the tests that call the plug-in's parts without it.
  connectToPlayer(plugin.hwndParent);
  resetPluginState();
  return true;
}

void unloadPlugin() {
  removeLyricsMenuItem();
  removeHooks();
  modelplayer::stop();
  testplatform::tearDown();
}

}  // namespace harness
