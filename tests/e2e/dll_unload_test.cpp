// What only a DLL shows: after quit the player frees it, and the windows it hooked stay
// whole; where another plug-in's hook stands in front of ours, the module stays, and loading
// the plug-in again brings the same module back with its hook still in the chain; a copy
// under another name is a plug-in of its own.
#include "kit/player_test.h"
#include "kit/player_windows_checks.h"

namespace {

using namespace playernumbers;

class DllUnloadTest : public PlayerTest {
 protected:
  void SetUp() override {
    PlayerTest::SetUp();
    playBandTracks({"A", "B"});
    startUpWith();
  }
  // The watched messages reach the player, unharmed, and open nothing.
  static void expectWatchedMessagesOnlyReachThePlayer() {
    modelplayer::clearBrowserRequests();
    for (WPARAM command : {command::PREVIOUS, command::STOP, command::NEXT}) {
      EXPECT_EQ(SendMessageA(modelplayer::mainWindow(), WM_COMMAND, command, 0),
                modelplayer::mainWindowAnswer(WM_COMMAND));
    }
    EXPECT_EQ(SendMessageA(modelplayer::mainWindow(), END_OF_TRACK, 0, 0),
              modelplayer::mainWindowAnswer(END_OF_TRACK));
    for (UINT message : {PE_SHOW_ENTRY, PE_SECOND, PE_SHOW_ENTRY, PE_SHOW_ENTRY}) {
      EXPECT_EQ(SendMessageA(modelplayer::playlistWindow(), message, 0, 0),
                modelplayer::playlistWindowAnswer(message));
    }
    EXPECT_TRUE(modelplayer::browserRequests().empty());
  }
};

TEST_P(DllUnloadTest, FreedAfterQuitLeavesTheWindowsWhole) {
  modelplayer::pressNext();
  EXPECT_EQ(takeRequests(), bandPage("B"));
  record->quit();
  ASSERT_NO_FATAL_FAILURE(expectPinned(false));
  expectWatchedMessagesOnlyReachThePlayer();
}

TEST_P(DllUnloadTest, PinnedModuleComesBackForTheNextLoad) {
  modelplayer::hookInFrontOfMainWindow();
  record->quit();
  HMODULE first = module;
  ASSERT_NO_FATAL_FAILURE(expectPinned(true));
  expectCharacterSet(true);
  modelplayer::changeTrack(1);
  expectWatchedMessagesOnlyReachThePlayer();

  kit::Plugin again = kit::loadDll(dllPath);
  ASSERT_NE(again.record, nullptr) << again.error;
  EXPECT_EQ(again.module, first);
  module = again.module;
  kit::handToPlayer(again);
  again.record->init();
  modelplayer::changeTrack(0);
  modelplayer::clearBrowserRequests();
  modelplayer::pressNext();
  EXPECT_EQ(takeRequests(), bandPage("B"));
  again.record->quit();
}

// A second copy under another file name, as users keep one: each reads and saves the section
// of its own module's name, and the switched-off copy stays out of the first one's way.
TEST_P(DllUnloadTest, CopyUnderAnotherNameKeepsASectionOfItsOwn) {
  const std::string copyPath = folder + "\\gen_tunelore_copy.dll";
  ASSERT_TRUE(CopyFileA(dllPath.c_str(), copyPath.c_str(), FALSE));
  kit::Plugin copy = kit::loadDll(copyPath);
  ASSERT_NE(copy.record, nullptr) << copy.error;
  ASSERT_NE(copy.module, module);
  kit::handToPlayer(copy);
  const std::string file =
      saved(false, true, false) + kit::savedSwitches("gen_tunelore_copy.dll", true, false, true);
  writeSettingsFile(file);
  copy.record->init();
  EXPECT_STREQ(copy.record->description, "TuneLore Plugin (Duskwarn) (gen_tunelore_copy.dll)");
  modelplayer::clearBrowserRequests();
  modelplayer::pressNext();
  EXPECT_EQ(takeRequests(), bandPage("B"));
  copy.record->quit();
  record->quit();
  EXPECT_EQ(readSettingsFile(), file);
  FreeLibrary(copy.module);
}

DLL_WAY_ONLY(DllUnloadTest);

}  // namespace
