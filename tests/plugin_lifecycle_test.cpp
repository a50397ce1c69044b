// The plug-in as the player sees it: the record, start-up, configure and quit.
#include <string>

#include "kit/player_test.h"

namespace {

using namespace playernumbers;

class PluginLifecycleTest : public PlayerTest {
 protected:
  void startWith(const kit::Keys& keys) {
    writeSettingsFile(section(keys));
    EXPECT_EQ(record->init(), 0);
  }
};

TEST_P(PluginLifecycleTest, StartUpWithAllSwitchesClearOpensTheFrontPage) {
  EXPECT_EQ(record->version, RECORD_VERSION);
  EXPECT_STREQ(record->description, "") << "before start-up";
  startWith({{"bDisabledPlugin", "FALSE"}, {"bDisabledStartUp", "FALSE"}});
  EXPECT_EQ(requests(), pageRequests(frontPage(), false));
  EXPECT_EQ(std::string(record->description), startUpDescription());
  EXPECT_TRUE(hooked());
}

TEST_P(PluginLifecycleTest, StartUpPageSwitchedOffSendsOnlyTheUnblock) {
  startWith({{"bDisabledPlugin", "FALSE"}, {"bDisabledStartUp", "TRUE"}});
  EXPECT_EQ(requests(), (std::vector<std::string>{"block 0"}));
  EXPECT_TRUE(hooked());
}

TEST_P(PluginLifecycleTest, DisabledPluginIsNamedLoadedAndHookedButSendsNothing) {
  playBandTracks({"Song"});
  startWith({{"bDisabledPlugin", "TRUE"}, {"bDisabledStartUp", "FALSE"}});
  modelplayer::changeTrack(0);
  EXPECT_TRUE(requests().empty());
  EXPECT_EQ(std::string(record->description), startUpDescription());
  EXPECT_TRUE(hooked());
}

TEST_P(PluginLifecycleTest, NoPlaylistEditorLeavesOnlyTheMainWindowHook) {
  DestroyWindow(modelplayer::playlistWindow());
  startWith({{"bDisabledStartUp", "TRUE"}});
  EXPECT_FALSE(modelplayer::hasOwnProcedure(record->hwndParent));
}

TEST_P(PluginLifecycleTest, TrackChangeAfterStartUpOpensTheLyricsPage) {
  std::string path =
      taggedTrack("song.mp3", {{"TIT2", "Song"}, {"TPE1", "Band"}, {"TALB", "Disc"}});
  play({{path, "Band - Song"}});
  startWith({{"bDisabledStartUp", "TRUE"}});
  modelplayer::clearBrowserRequests();
  modelplayer::changeTrack(0);
  EXPECT_EQ(requests(), pageRequests(pageAddress("title=Song&&artist=Band&&album=Disc")));
}

TEST_P(PluginLifecycleTest, QuitSavesRenamesAndTakesTheHooksOut) {
  startWith(
      {{"bDisabledPlugin", "FALSE"}, {"bDisabledStartUp", "yes"}, {"bDisabledAutoOpen", "TRUE"}});
  record->quit();
  EXPECT_EQ(std::string(record->description), savedDescription());
  EXPECT_EQ(readSettingsFile(), saved(false, true, true));
  EXPECT_FALSE(hooked());
  EXPECT_EQ(SendMessageA(record->hwndParent, WM_COMMAND, command::NEXT, 0),
            modelplayer::mainWindowAnswer(WM_COMMAND));
}

BOTH_WAYS(PluginLifecycleTest);

}  // namespace
