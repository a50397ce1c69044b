// Today's players create their windows as Unicode windows: the hooks must leave them so,
// and every text the player passes through them must arrive whole.
#include <string>

#include "kit/player_test.h"
#include "kit/player_windows_checks.h"
#include "tracking/song_change.h"

namespace {

class HookedPlayerTest : public PlayerTest {
 protected:
  void SetUp() override {
    PlayerTest::SetUp();
    playBandTracks({"A", "B"});
  }
  bool hooked() {
    return currentProcedure(modelplayer::mainWindow()) == (LONG_PTR)mainWindowHook &&
           currentProcedure(modelplayer::playlistWindow()) == (LONG_PTR)playlistWindowHook;
  }
};

TEST_F(HookedPlayerTest, HookedUnicodeWindowsHandBackThePlayersResults) {
  plugin.init();
  for (UINT message : {(UINT)WM_COMMAND, (UINT)(WM_USER + 2), (UINT)(WM_USER + 77)}) {
    EXPECT_EQ(SendMessageW(modelplayer::mainWindow(), message, 40045, 0),
              modelplayer::mainWindowAnswer(message));
  }
  for (UINT message : {(UINT)WM_USER, (UINT)(WM_USER + 1)}) {
    EXPECT_EQ(SendMessageW(modelplayer::playlistWindow(), message, 0, 0),
              modelplayer::playlistWindowAnswer(message));
  }
}

// Another plug-in subclassed the main window after us, through the W forms as it should:
// quit cannot take ours out of the chain, so the module stays and the window stays Unicode.
TEST_F(HookedPlayerTest, QuitBehindAnotherHookPinsAndKeepsTheWindowUnicode) {
  plugin.init();
  WNDPROC inFront = modelplayer::hookInFrontOfMainWindow();
  plugin.quit();
  EXPECT_EQ(currentProcedure(modelplayer::mainWindow()), (LONG_PTR)inFront);
  if (kit::canObservePinning()) EXPECT_TRUE(kit::pluginModulePinned());
  expectCharacterSet(true);
  expectTitlesPassUnchanged(MIXED_TITLE);
  modelplayer::clearBrowserRequests();
  modelplayer::pressNext();
  EXPECT_TRUE(requests().empty());
}

// Today's Unicode windows, and the ANSI windows of players before Unicode titles: each keeps
// its character set and its texts, hooked and after quit.
class CharacterSetTest : public HookedPlayerTest, public ::testing::WithParamInterface<bool> {
 protected:
  CharacterSetTest() { playerOptions.unicodeWindows = GetParam(); }
};

TEST_P(CharacterSetTest, WindowsKeepTheirCharacterSetAndTextsAndFollowTracks) {
  const bool unicode = GetParam();
  const wchar_t* title = unicode ? MIXED_TITLE : ANSI_TITLE;
  expectCharacterSet(unicode);
  EXPECT_EQ(plugin.init(), 0);
  ASSERT_TRUE(hooked());
  expectCharacterSet(unicode);
  expectTitlesPassUnchanged(title);

  modelplayer::clearBrowserRequests();
  modelplayer::pressNext();
  EXPECT_EQ(requests(), bandPage("B"));

  plugin.quit();
  expectCharacterSet(unicode);
  EXPECT_TRUE(modelplayer::hasOwnProcedure(modelplayer::mainWindow()));
  EXPECT_TRUE(modelplayer::hasOwnProcedure(modelplayer::playlistWindow()));
  expectTitlesPassUnchanged(title);
}

INSTANTIATE_TEST_SUITE_P(Windows, CharacterSetTest, ::testing::Values(true, false),
                         [](const auto& info) {
                           return std::string(info.param ? "UnicodeWindowsStayUnicode"
                                                         : "AnsiWindowsStayAnsi");
                         });

}  // namespace
