// Track changes from the player's window messages: the main-window flag, the playlist
// editor's counter, forwarding, and taking the hooks out again. Today's players create their
// windows as Unicode windows: the hooks must leave them so, and every text the player passes
// through them must arrive whole.
#include <algorithm>
#include <functional>
#include <string>

#include "kit/player_test.h"
#include "kit/player_windows_checks.h"
#include "settings/settings.h"
#include "tracking/lyrics_page.h"
#include "tracking/song_change.h"
#include "tracking/tracking_state.h"
#include "ui/resource_ids.h"

namespace {

using namespace playernumbers;
const UINT PE_FIRST = PE_SHOW_ENTRY;

// The tests send the watched messages themselves, to a player that does not act on them.
template <typename Fixture>
class WatchedMessagesTest : public Fixture {
 protected:
  WatchedMessagesTest() { this->playerOptions.followsCommands = false; }
  void SetUp() override {
    Fixture::SetUp();
    this->playBandTracks({"Song 0", "Song 1", "Song 2"});
  }
  static LRESULT toMain(UINT message, WPARAM wParam = 0) {
    return SendMessageA(modelplayer::mainWindow(), message, wParam, 0);
  }
  static LRESULT toPlaylist(UINT message) {
    return SendMessageA(modelplayer::playlistWindow(), message, 0, 0);
  }
  static void toPlaylist(const std::vector<UINT>& messages) {
    for (UINT message : messages) toPlaylist(message);
  }
  // Moves to a new track and counts the updates that sent it: each new page is one "open".
  int opensAfter(const std::function<void()>& messages) {
    modelplayer::setPosition(++position % 3);
    size_t before = opens();
    messages();
    return (int)(opens() - before);
  }
  static size_t opens() {
    const auto& sent = modelplayer::browserRequests();
    return std::count_if(sent.begin(), sent.end(), [](const modelplayer::BrowserRequest& r) {
      return r.request == request::MBOPEN && r.argument != 0;
    });
  }
  int position = 0;  // of the three tracks
};

// The plug-in started up as the player starts it.
class TrackChangeTest : public WatchedMessagesTest<PlayerTest> {
 protected:
  void SetUp() override {
    WatchedMessagesTest::SetUp();
    startUpWith();
  }
};

// The hooks alone, to see the editor's counter and the main window's flag in the plug-in.
class SongChangeTest : public WatchedMessagesTest<LinkedPlayerTest> {
 protected:
  void SetUp() override {
    WatchedMessagesTest::SetUp();
    installHooks(nullptr);
  }
};

TEST_P(TrackChangeTest, MainWindowTriggersRunOneUpdate) {
  for (WPARAM command : {command::PREVIOUS, command::STOP, command::NEXT}) {
    EXPECT_EQ(opensAfter([&] { toMain(WM_COMMAND, command); }), 1) << command;
  }
  EXPECT_EQ(opensAfter([&] { toMain(END_OF_TRACK); }), 1);
}

// Nor do they set what keeps the editor from a second update.
TEST_P(TrackChangeTest, OtherMainWindowMessagesDoNothing) {
  EXPECT_EQ(opensAfter([&] {
              toMain(WM_COMMAND, command::PLAY);                 // play
              toMain(WM_COMMAND, command::PAUSE);                // pause
              toMain(WM_COMMAND, MAKEWPARAM(command::NEXT, 1));  // accelerator form
              toMain(WM_USER + 1);
              toMain(WM_USER + 3);
            }),
            0);
  EXPECT_EQ(opensAfter([&] { toPlaylist({PE_FIRST, PE_SECOND}); }), 1);
}

// Once it has kept the editor from its second update, the next editor-only change updates.
TEST_P(TrackChangeTest, FlagStopsThePlaylistEditorsSecondUpdate) {
  EXPECT_EQ(opensAfter([&] {
              toMain(WM_COMMAND, command::NEXT);
              toPlaylist({PE_FIRST, PE_SECOND});
            }),
            1);
  EXPECT_EQ(opensAfter([&] { toPlaylist({PE_FIRST, PE_SECOND}); }), 1);
}

TEST_F(SongChangeTest, PlaylistEditorSequencesFollowTheCounterTable) {
  struct Sequence {
    std::vector<UINT> messages;
    int updates;
    int countAfter;
  };
  const Sequence sequences[] = {
      {{PE_FIRST, PE_FIRST, PE_FIRST}, 1, 0},
      {{PE_SECOND, PE_SECOND}, 1, 0},
      {{PE_FIRST, PE_SECOND}, 1, 0},
      {{PE_FIRST, PE_FIRST, PE_SECOND}, 0, 3},
  };
  for (const Sequence& sequence : sequences) {
    tracking.playlistMessageCount = 0;
    EXPECT_EQ(opensAfter([&] { toPlaylist(sequence.messages); }), sequence.updates);
    EXPECT_EQ(tracking.playlistMessageCount, sequence.countAfter);
  }
}

TEST_F(SongChangeTest, PastTwoThePlaylistEditorNeverUpdatesAndTheCountStaysBounded) {
  tracking.playlistMessageCount = 3;
  EXPECT_EQ(opensAfter([&] {
              for (int i = 0; i < 1000; ++i) toPlaylist(i % 2 ? PE_FIRST : PE_SECOND);
            }),
            0);
  EXPECT_GE(tracking.playlistMessageCount, 3);
  tracking.playlistMessageCount = 0x7FFFFFFF;  // as an older, counting build could leave it
  toPlaylist(PE_FIRST);
  EXPECT_GE(tracking.playlistMessageCount, 3);
  EXPECT_EQ(opensAfter([&] { toMain(WM_COMMAND, command::NEXT); }), 1);
}

TEST_P(TrackChangeTest, HooksReturnThePlayersOwnResults) {
  EXPECT_EQ(toMain(WM_COMMAND, command::NEXT), modelplayer::mainWindowAnswer(WM_COMMAND));
  EXPECT_EQ(toMain(END_OF_TRACK), modelplayer::mainWindowAnswer(END_OF_TRACK));
  EXPECT_EQ(toMain(WM_USER + 77), modelplayer::mainWindowAnswer(WM_USER + 77));
  EXPECT_EQ(toPlaylist(PE_FIRST), modelplayer::playlistWindowAnswer(PE_FIRST));
  EXPECT_EQ(toPlaylist(PE_SECOND), modelplayer::playlistWindowAnswer(PE_SECOND));
  EXPECT_EQ(SendMessageA(modelplayer::mainWindow(), WA_IPC, 0, request::GETLISTPOS),
            0);  // a request
}

TEST_P(TrackChangeTest, DisabledPluginOnlyForwards) {
  tickAndOk(IDC_DISABLE_PLUGIN);
  size_t mainSeen = modelplayer::mainWindowMessages().size();
  size_t playlistSeen = modelplayer::playlistWindowMessages().size();
  EXPECT_EQ(opensAfter([&] {
              EXPECT_EQ(toMain(WM_COMMAND, command::NEXT),
                        modelplayer::mainWindowAnswer(WM_COMMAND));
              EXPECT_EQ(toMain(END_OF_TRACK), modelplayer::mainWindowAnswer(END_OF_TRACK));
              EXPECT_EQ(toPlaylist(PE_SECOND), modelplayer::playlistWindowAnswer(PE_SECOND));
              EXPECT_EQ(toPlaylist(PE_FIRST), modelplayer::playlistWindowAnswer(PE_FIRST));
            }),
            0);
  EXPECT_TRUE(modelplayer::browserRequests().empty());
  EXPECT_EQ(modelplayer::mainWindowMessages().size() - mainSeen, 2u);
  EXPECT_EQ(modelplayer::playlistWindowMessages().size() - playlistSeen, 2u);
}

TEST_P(TrackChangeTest, TriggerSentBackFromInsideTheUpdateSendsNothingTwice) {
  modelplayer::onBrowserRequest([&](const modelplayer::BrowserRequest& request) {
    if (request.request == request::MBOPEN && request.argument != 0) {
      toMain(END_OF_TRACK);
      toMain(WM_COMMAND, command::NEXT);
      toPlaylist(PE_SECOND);
    }
  });
  EXPECT_EQ(opensAfter([&] { toMain(WM_COMMAND, command::NEXT); }), 1);
  EXPECT_EQ(modelplayer::browserRequests().size(), 4u);
}

// The flag outlives a change the editor never confirmed, and swallows the next one that only
// the editor sees; the settings dialog's switch leaves counter and flag alone.
TEST_P(TrackChangeTest, UnconfirmedMainTriggerSwallowsTheNextEditorOnlyChange) {
  EXPECT_EQ(opensAfter([&] { toMain(WM_COMMAND, command::NEXT); }), 1);
  EXPECT_EQ(opensAfter([&] {
              toPlaylist(PE_FIRST);
              tickAndOk(IDC_DISABLE_PLUGIN);
              tickAndOk(IDC_DISABLE_PLUGIN);
              toPlaylist(PE_SECOND);
            }),
            0);
  EXPECT_EQ(opensAfter([&] { toPlaylist({PE_FIRST, PE_SECOND}); }), 1);
}

BOTH_WAYS(TrackChangeTest);

TEST_F(SongChangeTest, SwitchingOffAndOnKeepsCounterAndFlag) {
  toMain(WM_COMMAND, command::STOP);
  toPlaylist(PE_FIRST);
  ASSERT_EQ(tracking.mainWindowTriggered, 1);
  ASSERT_EQ(tracking.playlistMessageCount, 1);
  bDisabledPlugin = true;
  toPlaylist(PE_FIRST);
  bDisabledPlugin = false;
  EXPECT_EQ(tracking.mainWindowTriggered, 1);
  EXPECT_EQ(tracking.playlistMessageCount, 1);
}

// The count is reset only once the editor's update has returned: a 0x400 sent back from
// inside it still finds the count at 2, and the update still sends all four requests.
TEST_F(SongChangeTest, EditorUpdateReenteredByItsOwnMessageFinishesAndThenResets) {
  std::vector<int> countsSeenInside;
  modelplayer::onBrowserRequest([&](const modelplayer::BrowserRequest& request) {
    if (request.request == request::MBBLOCK && request.argument == 0) {
      countsSeenInside.push_back(tracking.playlistMessageCount);
      toPlaylist(PE_FIRST);
    }
  });
  tracking.playlistMessageCount = 2;
  EXPECT_EQ(opensAfter([&] { toPlaylist(PE_FIRST); }), 1);
  EXPECT_EQ(modelplayer::browserRequests().size(), 4u);
  EXPECT_EQ(countsSeenInside, std::vector<int>{2});
  EXPECT_EQ(tracking.playlistMessageCount, 0);
}

// Quit hands each window its procedure back where ours is still in front; where something
// else subclassed a window after us and will hand messages on to our hook, the hook must stay
// callable, the module pinned, and from now on only forward.
class UnhookTest : public PlayerTest {
 protected:
  void SetUp() override {
    playerOptions.followsCommands = false;
    PlayerTest::SetUp();
    playBandTracks({"A", "B"});
    startUpWith();
  }
  static void expectNextOnlyReachesThePlayer() {
    modelplayer::setPosition(1);
    EXPECT_EQ(SendMessageA(modelplayer::mainWindow(), WM_COMMAND, command::NEXT, 0),
              modelplayer::mainWindowAnswer(WM_COMMAND));
    EXPECT_TRUE(modelplayer::browserRequests().empty());
  }
};

TEST_P(UnhookTest, QuitHandsBackTheSavedProceduresWhereOursAreCurrent) {
  record->quit();
  EXPECT_TRUE(modelplayer::hasOwnProcedure(modelplayer::mainWindow()));
  EXPECT_TRUE(modelplayer::hasOwnProcedure(modelplayer::playlistWindow()));
  expectNextOnlyReachesThePlayer();
  expectPinned(false);
}

TEST_P(UnhookTest, QuitPinsTheModuleWhereSomethingStandsInFrontOfAHook) {
  WNDPROC inFront = modelplayer::hookInFrontOfMainWindow();
  record->quit();
  EXPECT_EQ(currentProcedure(modelplayer::mainWindow()), (LONG_PTR)inFront);
  EXPECT_TRUE(modelplayer::hasOwnProcedure(modelplayer::playlistWindow()));
  expectNextOnlyReachesThePlayer();
  expectPinned(true);
}

TEST_P(UnhookTest, QuitCopesWithWindowsThatAreAlreadyGone) {
  DestroyWindow(modelplayer::playlistWindow());
  record->quit();
  EXPECT_TRUE(modelplayer::hasOwnProcedure(modelplayer::mainWindow()));
  expectPinned(false);
}

BOTH_WAYS(UnhookTest);

class HookedPlayerTest : public PlayerTest {
 protected:
  void SetUp() override {
    PlayerTest::SetUp();
    playBandTracks({"A", "B", "C"});
  }
};

TEST_P(HookedPlayerTest, HookedUnicodeWindowsHandBackThePlayersResults) {
  record->init();
  for (UINT message : {(UINT)WM_COMMAND, (UINT)(WM_USER + 2), (UINT)(WM_USER + 77)}) {
    EXPECT_EQ(SendMessageW(modelplayer::mainWindow(), message, command::PLAY, 0),
              modelplayer::mainWindowAnswer(message));
  }
  for (UINT message : {(UINT)WM_USER, (UINT)(WM_USER + 1)}) {
    EXPECT_EQ(SendMessageW(modelplayer::playlistWindow(), message, 0, 0),
              modelplayer::playlistWindowAnswer(message));
  }
}

// Another plug-in subclassed the main window after us, through the W forms as it should:
// quit cannot take ours out of the chain, so the module stays and the window stays Unicode.
TEST_P(HookedPlayerTest, QuitBehindAnotherHookPinsAndKeepsTheWindowUnicode) {
  record->init();
  WNDPROC inFront = modelplayer::hookInFrontOfMainWindow();
  record->quit();
  EXPECT_EQ(currentProcedure(modelplayer::mainWindow()), (LONG_PTR)inFront);
  expectCharacterSet(true);
  modelplayer::clearBrowserRequests();
  modelplayer::pressNext();
  EXPECT_TRUE(requests().empty());
  expectPinned(true);
}

BOTH_WAYS(HookedPlayerTest);

// Today's Unicode windows, and the ANSI windows of players before Unicode titles: each keeps
// its character set and its texts, hooked and after quit.
struct CharacterSet {
  const char* name;
  bool unicode;
};
const CharacterSet CHARACTER_SETS[] = {{"UnicodeWindowsStayUnicode", true},
                                       {"AnsiWindowsStayAnsi", false}};

class CharacterSetTest : public PlayerTableTest<CharacterSet> {
 protected:
  CharacterSetTest() { playerOptions.unicodeWindows = row().unicode; }
  void SetUp() override {
    PlayerTableTest::SetUp();
    playBandTracks({"A", "B", "C"});
  }
};

TEST_P(CharacterSetTest, WindowsKeepTheirCharacterSetAndTextsAndFollowTracks) {
  expectCharacterSet(row().unicode);
  EXPECT_EQ(record->init(), 0);
  ASSERT_TRUE(hooked());
  expectCharacterSet(row().unicode);

  modelplayer::clearBrowserRequests();
  modelplayer::pressNext();
  EXPECT_EQ(takeRequests(), bandPage("B"));
  modelplayer::doubleClickEntry(2);
  EXPECT_EQ(takeRequests(), bandPage("C"));
  EXPECT_EQ(SendMessageW(modelplayer::mainWindow(), WM_USER + 77, 0, 0),
            modelplayer::mainWindowAnswer(WM_USER + 77));

  record->quit();
  expectCharacterSet(row().unicode);
  EXPECT_TRUE(modelplayer::hasOwnProcedure(modelplayer::mainWindow()));
  EXPECT_TRUE(modelplayer::hasOwnProcedure(modelplayer::playlistWindow()));
}

BOTH_WAYS_OVER(CharacterSetTest, CHARACTER_SETS);

}  // namespace
