// The real gen_tunelore.dll in a Win32 player program: loaded with LoadLibraryA, driven by
// the player's own window messages, configured, quit and unloaded, then sent more messages.
// The player reads the plug-in's record and sends its messages by its own numbers.
//
//   dll_player_test <path of gen_tunelore.dll>
#include <map>

#include "kit/dll_test.h"
#include "kit/player_windows_checks.h"
#include "ui/resource_ids.h"

namespace {

using namespace playernumbers;

class DllPlayerTest : public DllTest {
 protected:
  // After unloading, the watched messages must still reach the player, unharmed.
  void sendWatchedMessages() {
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
  }
};

TEST_F(DllPlayerTest, WholeSessionThroughTheDllBoundary) {
  ASSERT_NE(load(), nullptr) << GetLastError();
  EXPECT_EQ(record->version, RECORD_VERSION);
  EXPECT_STREQ(record->description, "");
  EXPECT_EQ(record->init(), 0);
  EXPECT_STREQ(record->description, "TuneLore Plugin (Duskwarn) (gen_tunelore.dll)");
  EXPECT_EQ(takeRequests(), "block 0|open " + SITE + "|block 1|");

  for (int i = 0; i < 3; ++i) modelplayer::changeTrack(i);
  modelplayer::changeTrack(2);  // the same track again sends nothing
  EXPECT_EQ(takeRequests(), pageOf(1, true) + pageOf(2, true) + pageOf(3, true));

  int idleTurns = 0;
  modelplayer::onDialogIdle([&](HWND dialog) {
    if (idleTurns++ > 0) return;
    SendMessageA(GetDlgItem(dialog, IDC_DISABLE_AUTOOPEN), BM_CLICK, 0, 0);
    SetDlgItemTextA(dialog, IDC_USERNAME, "someone");
    SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
  });
  record->config();
  EXPECT_GT(idleTurns, 0);
  EXPECT_STREQ(record->description, "Tunelore Plugin (Duskwarn) (gen_tunelore.dll)");
  const std::string saved = kit::savedSwitches("gen_tunelore.dll", false, false, true);
  EXPECT_EQ(kit::readFile(iniPath), saved);

  modelplayer::clearBrowserRequests();
  modelplayer::changeTrack(0);
  EXPECT_EQ(takeRequests(), pageOf(1, false));

  record->quit();
  EXPECT_STREQ(record->description, "Tunelore Plugin (Duskwarn) (gen_tunelore.dll)");
  EXPECT_EQ(kit::readFile(iniPath), saved);
  ASSERT_TRUE(unload());
  EXPECT_EQ(GetModuleHandleA(dllPath.c_str()), nullptr) << "the plug-in stayed loaded";

  modelplayer::clearBrowserRequests();
  sendWatchedMessages();
  EXPECT_TRUE(modelplayer::browserRequests().empty());
}

// Today's Unicode windows, and the ANSI windows of players before Unicode titles: each keeps
// its character set and its texts, hooked and after quit.
class CharacterSetDllTest : public DllTestWithParam<bool> {
 protected:
  CharacterSetDllTest() { options.unicodeWindows = GetParam(); }
};

TEST_P(CharacterSetDllTest, WindowsKeepTheirCharacterSetAndTextsAndFollowTracks) {
  const bool unicode = GetParam();
  expectCharacterSet(unicode);
  ASSERT_NO_FATAL_FAILURE(startPlugin());
  EXPECT_FALSE(modelplayer::hasOwnProcedure(modelplayer::mainWindow())) << "not hooked";
  EXPECT_FALSE(modelplayer::hasOwnProcedure(modelplayer::playlistWindow())) << "not hooked";
  expectCharacterSet(unicode);
  modelplayer::pressNext();
  EXPECT_EQ(takeRequests(), pageOf(2));
  modelplayer::doubleClickEntry(2);
  EXPECT_EQ(takeRequests(), pageOf(3));
  EXPECT_EQ(SendMessageW(modelplayer::mainWindow(), WM_USER + 77, 0, 0),
            modelplayer::mainWindowAnswer(WM_USER + 77));
  record->quit();
  expectCharacterSet(unicode);
  EXPECT_TRUE(modelplayer::hasOwnProcedure(modelplayer::mainWindow()));
  EXPECT_TRUE(modelplayer::hasOwnProcedure(modelplayer::playlistWindow()));
  ASSERT_TRUE(unload());
  EXPECT_EQ(GetModuleHandleA(dllPath.c_str()), nullptr) << "the plug-in stayed loaded";
}

INSTANTIATE_TEST_SUITE_P(UnicodeWindowsStayUnicode, CharacterSetDllTest, ::testing::Values(true));
INSTANTIATE_TEST_SUITE_P(AnsiWindowsStayAnsi, CharacterSetDllTest, ::testing::Values(false));

TEST_F(DllPlayerTest, EveryRouteToANewTrackOpensItsPageOnce) {
  ASSERT_NO_FATAL_FAILURE(startPlugin());
  for (const modelplayer::Route& route : modelplayer::TRACK_ROUTES) {
    route.take();
    EXPECT_EQ(takeRequests(), route.track != 0 ? pageOf(route.track) : "") << route.name;
  }
  record->quit();
}

// Where the tag gives nothing the player is asked (IPC_GET_EXTENDED_FILE_INFO): the request's
// layout and file name as the DLL builds them, a buffer the player fills to its last byte,
// and a stream's new title, which only the player's posted title notice announces.
class PlayerInfoDllTest : public DllPlayerTest {
 protected:
  void SetUp() override {
    DllPlayerTest::SetUp();
    ASSERT_NO_FATAL_FAILURE(startPlugin());
  }
  void TearDown() override {
    if (record != nullptr) record->quit();
    DllPlayerTest::TearDown();
  }
  // A file without any ID3 tag, added to the playlist with what the player's decoder read.
  int addUntagged(const char* name, const std::map<std::string, std::string>& info,
                  modelplayer::InfoAnswer answer) {
    modelplayer::Entry entry{folder + "\\" + name, "Other - Thing", true, true, info, answer};
    EXPECT_TRUE(kit::writeFile(entry.path, std::string("fLaC\0\0\0\x22", 8)));
    return add(entry);
  }
  int add(const modelplayer::Entry& entry) {
    playlist.push_back(entry);
    modelplayer::setPlaylist(playlist);
    return (int)playlist.size() - 1;
  }
};

TEST_F(PlayerInfoDllTest, PlayerAnswersFillTheFieldsAnUntaggedFileLacks) {
  int flac =
      addUntagged("tunelore-e2e.flac", {{"title", "Song 4"}, {"artist", "Band"}, {"album", "Disc"}},
                  modelplayer::InfoAnswer::Writes);
  int full = addUntagged("tunelore-e2e-full.flac", {{"title", "Song"}},
                         modelplayer::InfoAnswer::FillsUnterminated);
  modelplayer::changeTrack(flac);
  EXPECT_EQ(takeRequests(), pageFor("title=Song 4&&artist=Band&&album=Disc"));
  modelplayer::changeTrack(full);
  // The plug-in keeps 1023 characters of a field, whatever the player wrote.
  EXPECT_EQ(takeRequests(),
            pageFor("title=Song" + std::string(1023 - 4, modelplayer::INFO_FILLER)));
  ASSERT_FALSE(modelplayer::infoRequests().empty());
  EXPECT_EQ(modelplayer::infoRequests().front().file, playlist[(size_t)flac].path);
  EXPECT_EQ(modelplayer::infoRequests().back().file, playlist[(size_t)full].path);
}

TEST_F(PlayerInfoDllTest, StreamTitleNoticeGivesTheNewPageOnce) {
  int stream =
      add(modelplayer::streamEntry("http://radio.test:8000/live", "Radio Test", "Band - Song"));
  modelplayer::changeTrack(stream);
  modelplayer::deliverPostedMessages();
  EXPECT_EQ(takeRequests(), pageFor("title=Song&&artist=Band"));
  modelplayer::changeStreamTitle(stream, "Other - Tune");
  EXPECT_EQ(takeRequests(), "") << "the notice is posted";
  modelplayer::deliverPostedMessages();
  EXPECT_EQ(takeRequests(), pageFor("title=Tune&&artist=Other"));
  modelplayer::pressStop();
  modelplayer::deliverPostedMessages();
  EXPECT_EQ(takeRequests(), "");
}

// Under a modern skin the playlist editor is a child of the skin's window: only the player's
// answer to IPC_GETWND names it. A player that does not answer leaves it to be found by its
// class.
class EditorDllTest : public DllTestWithParam<bool> {
 protected:
  EditorDllTest() {
    options.playlistInsideSkin = GetParam();
    options.answersPlaylistWindowRequest = GetParam();
  }
};

TEST_P(EditorDllTest, IsHookedCountedAndHandedBack) {
  EXPECT_EQ(FindWindowA(PLAYLIST_CLASS, nullptr) == nullptr, GetParam()) << "a top-level editor";
  ASSERT_NO_FATAL_FAILURE(startPlugin());
  HWND editor = modelplayer::playlistWindow();
  EXPECT_FALSE(modelplayer::hasOwnProcedure(editor)) << "not hooked";
  modelplayer::setPosition(1);
  SendMessageW(editor, PE_SHOW_ENTRY, SHOW_ENTRY_ARGUMENT, 0);
  SetParent(editor, nullptr);  // the skin lets it go; its procedure stays
  SendMessageW(editor, PE_SHOW_ENTRY, SHOW_ENTRY_ARGUMENT, 0);
  EXPECT_EQ(takeRequests(), "");
  SendMessageW(editor, PE_SHOW_ENTRY, SHOW_ENTRY_ARGUMENT, 0);
  EXPECT_EQ(takeRequests(), pageOf(2)) << "the third message runs the update";
  record->quit();
  EXPECT_TRUE(modelplayer::hasOwnProcedure(editor));
}

INSTANTIATE_TEST_SUITE_P(InsideTheSkin, EditorDllTest, ::testing::Values(true));
INSTANTIATE_TEST_SUITE_P(FoundByItsClass, EditorDllTest, ::testing::Values(false));

// Today's player: no mini-browser, a main menu, a settings folder, and a Plugins folder it
// may not write into (a folder stands where the settings file would be).
class TodaysDllPlayerTest : public DllPlayerTest {
 protected:
  void SetUp() override {
    options.version = 0x5092;
    options.miniBrowser = false;
    options.mainMenu = true;
    settingsFolderOfItsOwn = true;
    DllPlayerTest::SetUp();
    ASSERT_TRUE(CreateDirectoryA(iniPath.c_str(), nullptr));
  }
};

TEST_F(TodaysDllPlayerTest, MenuItemOpensTheWebBrowserAndSettingsGoToTheSettingsFolder) {
  ASSERT_NO_FATAL_FAILURE(startPlugin());
  const UINT item = modelplayer::FIRST_REGISTERED_COMMAND;
  using modelplayer::SEPARATOR, modelplayer::SUBMENU;
  EXPECT_EQ(modelplayer::menuCommands(),
            (std::vector<UINT>{SUBMENU, SEPARATOR, item, command::EXIT}));
  modelplayer::chooseMenuItem(item);
  EXPECT_EQ(takeRequests(),
            "web browser " + SITE + "plugin.php?title=Song 1&&artist=Band&&album=Disc %231|");
  record->quit();
  EXPECT_EQ(modelplayer::menuCommands(), (std::vector<UINT>{SUBMENU, SEPARATOR, command::EXIT}));
  EXPECT_EQ(kit::readFile(options.settingsFolder + "\\Plugins\\gen_tunelore.ini"),
            kit::savedSwitches("gen_tunelore.dll", false, false, false));
}

// Another plug-in subclassed the main window after ours: unloading ours would leave that
// one calling into freed code, so the module must stay loaded and only forward. When the
// player loads it again, the same module comes back with its hook still in the chain.
// The module then stays for the rest of the run, loaded from this case's own folder.
class PinnedDllPlayerTest : public DllPlayerTest {};

TEST_F(PinnedDllPlayerTest, UnloadWithAnotherHookInFrontKeepsTheModuleForTheNextLoad) {
  ASSERT_NO_FATAL_FAILURE(startPlugin());
  modelplayer::hookInFrontOfMainWindow();
  record->quit();
  HMODULE first = module;
  ASSERT_TRUE(unload());
  EXPECT_NE(GetModuleHandleA(dllPath.c_str()), nullptr) << "the module was unloaded";
  expectCharacterSet(true);
  takeRequests();
  modelplayer::changeTrack(1);
  sendWatchedMessages();
  EXPECT_EQ(takeRequests(), "");

  ASSERT_NE(load(), nullptr);
  EXPECT_EQ(module, first);
  record->init();
  modelplayer::changeTrack(0);
  takeRequests();
  modelplayer::pressNext();
  EXPECT_EQ(takeRequests(), pageOf(2));
  record->quit();
}

}  // namespace
