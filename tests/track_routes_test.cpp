// Track changes as the player makes them, route by route: each new track gets exactly one
// page, whichever of the watched messages reach the hooks for it and in whatever order.
#include <chrono>
#include <filesystem>
#include <string>

#include "kit/player_test.h"

namespace {

using namespace playernumbers;

class TrackRoutesTest : public PlayerTest {
 protected:
  void SetUp() override {
    PlayerTest::SetUp();
    playBandTracks({"A", "B", "C"});
    startUpWith();
  }
};

TEST_P(TrackRoutesTest, EveryRouteToANewTrackOpensItsPageOnce) {
  const std::string titles[] = {"", "A", "B", "C"};
  for (const modelplayer::Route& route : modelplayer::TRACK_ROUTES) {
    route.take();
    auto expected = route.track != 0 ? bandPage(titles[route.track]) : std::vector<std::string>{};
    EXPECT_EQ(takeRequests(), expected) << route.name;
  }
}

// The player moves inside its handling of the command: an update that ran before handing
// the command on would open the old track's page first.
TEST_P(TrackRoutesTest, FirstChangeAfterStartUpOpensOnlyTheNewTracksPage) {
  modelplayer::pressNext();
  EXPECT_EQ(takeRequests(), bandPage("B")) << "next button";
}

TEST_P(TrackRoutesTest, FirstEndOfTrackAfterStartUpOpensOnlyTheNextTracksPage) {
  modelplayer::endOfTrack();
  EXPECT_EQ(takeRequests(), bandPage("B")) << "end of track";
}

TEST_P(TrackRoutesTest, StopAndReplayOfTheSameTrackOpenNothing) {
  modelplayer::changeTrack(1);
  EXPECT_EQ(takeRequests(), bandPage("B")) << "jump to file";
  modelplayer::pressStop();
  EXPECT_FALSE(modelplayer::playing());
  EXPECT_TRUE(takeRequests().empty()) << "stop";
  modelplayer::changeTrack(1);
  EXPECT_TRUE(takeRequests().empty()) << "replay from stop";
  modelplayer::doubleClickEntry(1);
  EXPECT_TRUE(takeRequests().empty()) << "replay while playing";
}

// One change reaches the update several times (command, notices, editor): the file is read
// for the first of them only, so a rewrite inside the change that keeps the file's size and
// time is not seen. A later play sees a new time, or a new size. Whole seconds, which every
// file system keeps.
TEST_P(TrackRoutesTest, FileIsReadOncePerChangeAndAgainAfterANewTimeOrSize) {
  namespace fs = std::filesystem;
  const auto tagged = std::chrono::floor<std::chrono::seconds>(fs::file_time_type::clock::now());
  auto retag = [this](const char* title, fs::file_time_type time) {
    fs::last_write_time(taggedTrack("B.mp3", {{"TIT2", title}, {"TPE1", "Band"}}), time);
  };
  retag("B", tagged);
  bool rewritten = false;
  modelplayer::onBrowserRequest([&](const modelplayer::BrowserRequest&) {
    if (!rewritten) retag("X", tagged);
    rewritten = true;
  });
  modelplayer::pressNext();
  modelplayer::deliverPostedMessages();
  EXPECT_EQ(takeRequests(), bandPage("B")) << "next button, the file rewritten during the change";
  modelplayer::onBrowserRequest(nullptr);
  modelplayer::pressStop();
  retag("X", tagged + std::chrono::seconds(2));
  modelplayer::changeTrack(1);
  EXPECT_EQ(takeRequests(), bandPage("X")) << "replay, a new time";
  retag("Longer", tagged + std::chrono::seconds(2));
  modelplayer::doubleClickEntry(1);
  EXPECT_EQ(takeRequests(), bandPage("Longer")) << "replay while playing, a new size";
}

// The player unloads and loads plug-ins within one run; a module that quit had to pin comes
// back with its state, and its hook still in the window's chain.
TEST_P(TrackRoutesTest, QuitAndStartUpAgainInOneRunFollowTracks) {
  record->quit();
  record->init();
  modelplayer::clearBrowserRequests();
  modelplayer::pressNext();
  EXPECT_EQ(takeRequests(), bandPage("B")) << "after a second start-up";
}

TEST_P(TrackRoutesTest, StartUpAgainAfterAPinnedQuitResumesTheHookInTheChain) {
  WNDPROC inFront = modelplayer::hookInFrontOfMainWindow();
  record->quit();
  ASSERT_NO_FATAL_FAILURE(expectPinned(true));
  record->init();
  modelplayer::clearBrowserRequests();
  modelplayer::pressNext();
  EXPECT_EQ(takeRequests(), bandPage("B")) << "after a second start-up";
  EXPECT_EQ(SendMessageW(modelplayer::mainWindow(), WM_USER + 77, 0, 0),
            modelplayer::mainWindowAnswer(WM_USER + 77));
  record->quit();
  EXPECT_EQ(currentProcedure(modelplayer::mainWindow()), (LONG_PTR)inFront);
}

BOTH_WAYS(TrackRoutesTest);

// Under a modern skin the playlist editor is a child of the skin's window: only the player's
// answer names it. A player that does not answer leaves it to be found by its class.
struct EditorPlace {
  const char* name;
  bool insideSkin;
};
const EditorPlace EDITOR_PLACES[] = {{"InsideTheSkin", true}, {"FoundByItsClass", false}};

class EditorTest : public PlayerTableTest<EditorPlace> {
 protected:
  EditorTest() {
    playerOptions.playlistInsideSkin = row().insideSkin;
    playerOptions.answersPlaylistWindowRequest = row().insideSkin;
  }
  void SetUp() override {
    PlayerTableTest::SetUp();
    playBandTracks({"A", "B", "C"});
    startUpWith();
  }
};

TEST_P(EditorTest, IsHookedCountedAndHandedBack) {
  HWND editor = modelplayer::playlistWindow();
  EXPECT_EQ(FindWindowA(PLAYLIST_CLASS, nullptr) == nullptr, row().insideSkin)
      << "a top-level editor";
  EXPECT_FALSE(modelplayer::hasOwnProcedure(editor)) << "not hooked";

  modelplayer::setPosition(2);
  SendMessageW(editor, PE_SHOW_ENTRY, SHOW_ENTRY_ARGUMENT, 0);
  SetParent(editor, nullptr);  // the skin lets it go; its procedure stays
  SendMessageW(editor, PE_SHOW_ENTRY, SHOW_ENTRY_ARGUMENT, 0);
  EXPECT_TRUE(takeRequests().empty()) << "two messages to the editor";
  SendMessageW(editor, PE_SHOW_ENTRY, SHOW_ENTRY_ARGUMENT, 0);
  EXPECT_EQ(takeRequests(), bandPage("C")) << "the third message to the editor";
  modelplayer::doubleClickEntry(1);
  EXPECT_EQ(takeRequests(), bandPage("B")) << "playlist double-click";

  record->quit();
  EXPECT_TRUE(modelplayer::hasOwnProcedure(editor));
}

BOTH_WAYS_OVER(EditorTest, EDITOR_PLACES);

}  // namespace
