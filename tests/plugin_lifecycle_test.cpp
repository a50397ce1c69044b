// The plug-in as the player sees it: the record, start-up, configure and quit.
#include <string>

#include "kit/player_test.h"
#include "settings/settings.h"
#include "tracking/lyrics_page.h"
#include "tracking/song_change.h"
#include "tracking/tracking_state.h"

namespace {

// Taken before any test runs: the record as the player finds it right after loading.
const winampGeneralPurposePlugin recordAtLoad = *winampGetGeneralPurposePlugin();
const std::string descriptionAtLoad = recordAtLoad.description;

TEST(PluginRecordTest, RecordIsReadyForThePlayerBeforeStartUp) {
  EXPECT_EQ(winampGetGeneralPurposePlugin(), &plugin);
  EXPECT_EQ(recordAtLoad.version, 0x10);
  EXPECT_EQ(descriptionAtLoad, "");
  EXPECT_EQ(recordAtLoad.init, &pluginInit);
  EXPECT_EQ(recordAtLoad.quit, &pluginQuit);
  EXPECT_NE(recordAtLoad.config, nullptr);
  EXPECT_EQ(recordAtLoad.hwndParent, nullptr);
  EXPECT_EQ(recordAtLoad.hDllInstance, nullptr);
}

class PluginLifecycleTest : public PlayerTest {
 protected:
  void startWith(const char* pluginValue, const char* startUpValue) {
    writeSettingsFile(
        section({{"bDisabledPlugin", pluginValue}, {"bDisabledStartUp", startUpValue}}));
    EXPECT_EQ(plugin.init(), 0);
  }
  std::string startUpDescription() {
    return "TuneLore Plugin (Duskwarn) (" + pluginFileName() + ")";
  }
};

TEST_F(PluginLifecycleTest, StartUpWithAllSwitchesClearOpensTheFrontPage) {
  startWith("FALSE", "FALSE");
  EXPECT_EQ(requests(),
            (std::vector<std::string>{"block 0", "open " LYRICS_BASE_ADDRESS, "block 1"}));
  EXPECT_EQ(std::string(plugin.description), startUpDescription());
  EXPECT_TRUE(hooked());
  EXPECT_STREQ(tracking.lastPageAddress, "") << "the front page is no lyrics page";
}

TEST_F(PluginLifecycleTest, StartUpPageSwitchedOffSendsOnlyTheUnblock) {
  startWith("FALSE", "TRUE");
  EXPECT_EQ(requests(), (std::vector<std::string>{"block 0"}));
  EXPECT_TRUE(hooked());
}

TEST_F(PluginLifecycleTest, DisabledPluginIsNamedLoadedAndHookedButSendsNothing) {
  startWith("TRUE", "FALSE");
  EXPECT_TRUE(requests().empty());
  EXPECT_TRUE(bDisabledPlugin);
  EXPECT_EQ(std::string(plugin.description), startUpDescription());
  EXPECT_TRUE(hooked());
}

TEST_F(PluginLifecycleTest, NoPlaylistEditorLeavesOnlyTheMainWindowHook) {
  DestroyWindow(modelplayer::playlistWindow());
  startWith("FALSE", "TRUE");
  EXPECT_EQ(currentProcedure(plugin.hwndParent), (LONG_PTR)mainWindowHook);
}

TEST_F(PluginLifecycleTest, TrackChangeAfterStartUpOpensTheLyricsPage) {
  std::string path =
      taggedTrack("song.mp3", {{"TIT2", "Song"}, {"TPE1", "Band"}, {"TALB", "Disc"}});
  play({{path, "Band - Song"}});
  startWith("FALSE", "TRUE");
  modelplayer::clearBrowserRequests();
  modelplayer::changeTrack(0);
  EXPECT_EQ(requests(), pageRequests(pageAddress("title=Song&&artist=Band&&album=Disc")));
}

TEST_F(PluginLifecycleTest, QuitSavesRenamesAndTakesTheHooksOut) {
  startWith("FALSE", "yes");
  bDisabledAutoOpen = true;
  plugin.quit();
  EXPECT_EQ(std::string(plugin.description), savedDescription());
  EXPECT_EQ(readSettingsFile(), saved(false, true, true));
  EXPECT_FALSE(hooked());
  EXPECT_EQ(SendMessageA(plugin.hwndParent, WM_COMMAND, 40048, 0),
            modelplayer::mainWindowAnswer(WM_COMMAND));
}

}  // namespace
