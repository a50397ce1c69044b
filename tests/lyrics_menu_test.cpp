// "Lyrics for this song" in the player's main menu: where it goes, what a pick opens on
// players with and without a mini-browser, greyed while switched off, gone at quit.
#include <algorithm>
#include <string>

#include "kit/player_test.h"
#include "ui/resource_ids.h"

namespace {

using namespace playernumbers;
using modelplayer::menuCommands, modelplayer::SEPARATOR, modelplayer::SUBMENU;
const UINT ITEM = modelplayer::FIRST_REGISTERED_COMMAND;

class LyricsMenuTest : public PlayerTest {
 protected:
  LyricsMenuTest() { playerOptions.mainMenu = true; }
  // Starts up without the start-up page and auto open, the plug-in switched off or on.
  void startWith(bool switchedOff) {
    writeSettingsFile(saved(switchedOff, true, true));
    record->init();
    modelplayer::clearBrowserRequests();
  }
  bool greyed() {
    return (GetMenuState(modelplayer::mainMenu(), ITEM, MF_BYCOMMAND) & MF_GRAYED) != 0;
  }
  size_t commandsSeenByPlayer() {
    const auto& seen = modelplayer::mainWindowMessages();
    return std::count(seen.begin(), seen.end(), WM_COMMAND) +
           std::count(seen.begin(), seen.end(), WM_SYSCOMMAND);
  }
  std::string songAddress() { return pageAddress("title=Song&&artist=Band"); }
  void playSong() {
    play({{taggedTrack("song.mp3", {{"TIT2", "Song"}, {"TPE1", "Band"}}), "x - y"}});
  }
};

TEST_P(LyricsMenuTest, ItemSitsJustBeforeExitAndGoesAtQuit) {
  startWith(false);
  EXPECT_EQ(menuCommands(), (std::vector<UINT>{SUBMENU, SEPARATOR, ITEM, command::EXIT}));
  char text[64] = {};
  GetMenuStringA(modelplayer::mainMenu(), ITEM, text, sizeof text, MF_BYCOMMAND);
  EXPECT_STREQ(text, "Lyrics for this song");
  EXPECT_FALSE(greyed());
  EXPECT_EQ(modelplayer::countRequests(request::GET_HMENU), 1);
  EXPECT_EQ(modelplayer::countRequests(request::REGISTER_LOWORD_COMMAND), 1);

  record->quit();
  EXPECT_EQ(menuCommands(), (std::vector<UINT>{SUBMENU, SEPARATOR, command::EXIT}));
  size_t seen = commandsSeenByPlayer();
  modelplayer::chooseMenuItem(ITEM);
  EXPECT_EQ(commandsSeenByPlayer(), seen + 1) << "after quit the command is the player's again";
  EXPECT_TRUE(modelplayer::browserRequests().empty());
}

TEST_P(LyricsMenuTest, PickOnAPlayerWithoutMiniBrowserOpensTheWebBrowser) {
  modelplayer::setVersion(TODAYS_VERSION, false);
  playSong();
  startWith(false);
  size_t seen = commandsSeenByPlayer();
  modelplayer::chooseMenuItem(ITEM);
  modelplayer::chooseSystemMenuItem(ITEM);
  // A keyboard accelerator or a skin's menu sends the command with a high word.
  SendMessageA(modelplayer::mainWindow(), WM_COMMAND, MAKEWPARAM(ITEM, 1), 0);
  EXPECT_EQ(requests(), std::vector<std::string>(3, "web browser " + songAddress()));
  EXPECT_EQ(modelplayer::countRequests(request::GETVERSION), 3);
  EXPECT_EQ(commandsSeenByPlayer(), seen) << "the picks are not handed on";
  modelplayer::clearBrowserRequests();
  modelplayer::changeTrack(0);
  EXPECT_EQ(requests(), pageRequests(songAddress(), false)) << "a pick is no page sent";
}

TEST_P(LyricsMenuTest, PickOnAPlayerWithMiniBrowserBringsItUpWhateverAutoOpenSays) {
  playSong();
  startWith(false);  // with bDisabledAutoOpen set
  modelplayer::chooseSystemMenuItem(ITEM);
  EXPECT_EQ(takeRequests(), pageRequests(songAddress()));
  modelplayer::changeTrack(0);
  EXPECT_EQ(requests(), pageRequests(songAddress(), false)) << "a pick is no page sent";
}

TEST_P(LyricsMenuTest, VersionThresholdIsTheFirstPlayerWithoutMiniBrowser) {
  startWith(false);
  const std::string empty = pageAddress("");
  for (unsigned version : {0x5000u, 0x5021u, 0x5022u, 0x5666u}) {
    modelplayer::setVersion(version, version < FIRST_WITHOUT_MINI_BROWSER);
    modelplayer::chooseMenuItem(ITEM);
    std::vector<std::string> expected = version < FIRST_WITHOUT_MINI_BROWSER
                                            ? pageRequests(empty)
                                            : std::vector<std::string>{"web browser " + empty};
    EXPECT_EQ(takeRequests(), expected) << std::hex << version;
  }
}

TEST_P(LyricsMenuTest, EmptyPlaylistAndMissingFileStillOpenASoundAddress) {
  modelplayer::setVersion(TODAYS_VERSION, false);
  startWith(false);
  modelplayer::chooseMenuItem(ITEM);
  play({{folder + "\\missing.mp3", "Band - Song"}});
  modelplayer::chooseMenuItem(ITEM);
  EXPECT_EQ(requests(),
            (std::vector<std::string>{"web browser " + pageAddress(""),
                                      "web browser " + pageAddress("title=Song&&artist=Band")}));
}

TEST_P(LyricsMenuTest, GreyedAndInertWhileSwitchedOffUntilTheDialogsOk) {
  playSong();
  startWith(true);
  EXPECT_TRUE(greyed());
  size_t seen = commandsSeenByPlayer();
  modelplayer::chooseMenuItem(ITEM);
  modelplayer::chooseSystemMenuItem(ITEM);
  EXPECT_TRUE(modelplayer::browserRequests().empty());
  EXPECT_EQ(commandsSeenByPlayer(), seen);

  tickAndOk(IDC_DISABLE_PLUGIN);
  EXPECT_FALSE(greyed());
  modelplayer::chooseMenuItem(ITEM);
  EXPECT_EQ(requests(), pageRequests(songAddress()));
  tickAndOk(IDC_DISABLE_PLUGIN);
  EXPECT_TRUE(greyed());
}

BOTH_WAYS(LyricsMenuTest);

class NoMenuTest : public PlayerTest {};

TEST_P(NoMenuTest, PlayerWithoutMenuGetsNoItemAndAsksForNoId) {
  record->init();
  EXPECT_EQ(modelplayer::countRequests(request::GET_HMENU), 1);
  EXPECT_EQ(modelplayer::countRequests(request::REGISTER_LOWORD_COMMAND), 0);
  modelplayer::clearBrowserRequests();
  EXPECT_EQ(SendMessageA(record->hwndParent, WM_COMMAND, ITEM, 0),
            modelplayer::mainWindowAnswer(WM_COMMAND));
  EXPECT_TRUE(modelplayer::browserRequests().empty());
}

BOTH_WAYS(NoMenuTest);

class NoCommandIdTest : public LyricsMenuTest {
 protected:
  NoCommandIdTest() { playerOptions.givesCommandIds = false; }
};

TEST_P(NoCommandIdTest, PlayerWithoutIdsGetsNoItem) {
  for (bool miniBrowser : {true, false}) {  // answered 0, and the newer players' default 1
    modelplayer::setVersion(miniBrowser ? 0x5000 : TODAYS_VERSION, miniBrowser);
    record->init();
    EXPECT_EQ(menuCommands(), (std::vector<UINT>{SUBMENU, SEPARATOR, command::EXIT}));
    record->quit();
  }
  EXPECT_EQ(modelplayer::countRequests(request::REGISTER_LOWORD_COMMAND), 2);
}

BOTH_WAYS(NoCommandIdTest);

}  // namespace
