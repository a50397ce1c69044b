#include "model/harness/plugin_harness.h"

#include "host/player_menu.h"
#include "host/plugin.h"
#include "model/harness/test_platform.h"
#include "model/player/model_player.h"
#include "settings/settings.h"
#include "tracking/lyrics_page.h"
#include "tracking/song_change.h"

namespace harness {

static void resetPluginState() {
  bDisabledPlugin = bDisabledStartUp = bDisabledAutoOpen = false;
  lastPageAddress[0] = '\0';
  mainWindowTriggered = 0;
  playlistMessageCount = 0;
}

bool loadPlugin(const std::string& folder, const modelplayer::Options& player) {
  if (!testplatform::setUp(folder) || !modelplayer::start(player)) return false;
  plugin.hwndParent = modelplayer::mainWindow();
  plugin.hDllInstance = testplatform::pluginModule();
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
