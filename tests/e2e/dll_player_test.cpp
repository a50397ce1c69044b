// The real gen_tunelore.dll in a Win32 player program: loaded with LoadLibraryA, driven by
// the player's own window messages, configured, quit and unloaded, then sent more messages.
//
//   dll_player_test <path of gen_tunelore.dll>
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>

#include "host/winamp.h"
#include "model/player/model_player.h"
#include "model/player/sample_mp3.h"
#include "tests/e2e/dll_under_test.h"
#include "ui/resource_ids.h"

std::string builtDll;

namespace {

std::string fileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

const std::string BASE = "http://tunelore.test/";

class DllPlayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    pluginsFolder = modelplayer::playerFolder() + "Plugins\\";
    CreateDirectoryA(pluginsFolder.c_str(), nullptr);
    dllPath = pluginsFolder + "gen_tunelore.dll";
    iniPath = pluginsFolder + "gen_tunelore.ini";
    DeleteFileA(iniPath.c_str());
    ASSERT_TRUE(CopyFileA(builtDll.c_str(), dllPath.c_str(), FALSE)) << builtDll;
    ASSERT_TRUE(modelplayer::start());
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    for (int i = 1; i <= 3; ++i) {
      std::string name = "Song " + std::to_string(i);
      std::string path = std::string(temp) + "tunelore-e2e-" + std::to_string(i) + ".mp3";
      ASSERT_TRUE(samplemp3::writeFile(
          path, samplemp3::taggedTrack({{"TIT2", name}, {"TPE1", "Band"}, {"TALB", "Disc #1"}})));
      playlist.push_back({path, "Band - " + name});
    }
    modelplayer::setPlaylist(playlist);
  }
  void TearDown() override {
    modelplayer::stop();
    for (const auto& entry : playlist) DeleteFileA(entry.path.c_str());
  }
  winampGeneralPurposePlugin* load() {
    module = LoadLibraryA(dllPath.c_str());
    if (module == nullptr) return nullptr;
    typedef winampGeneralPurposePlugin* (*Entry)();
    auto entry = (Entry)(void*)GetProcAddress(module, "winampGetGeneralPurposePlugin");
    if (entry == nullptr) return nullptr;
    winampGeneralPurposePlugin* record = entry();
    record->hwndParent = modelplayer::mainWindow();
    record->hDllInstance = module;
    return record;
  }
  // After unloading, the watched messages must still reach the player, unharmed.
  void sendWatchedMessages() {
    for (WPARAM command : {40044, 40047, 40048}) {
      EXPECT_EQ(SendMessageA(modelplayer::mainWindow(), WM_COMMAND, command, 0),
                modelplayer::mainWindowAnswer(WM_COMMAND));
    }
    EXPECT_EQ(SendMessageA(modelplayer::mainWindow(), WM_USER + 2, 0, 0),
              modelplayer::mainWindowAnswer(WM_USER + 2));
    for (UINT message : {WM_USER, WM_USER + 1, WM_USER, WM_USER}) {
      EXPECT_EQ(SendMessageA(modelplayer::playlistWindow(), message, 0, 0),
                modelplayer::playlistWindowAnswer(message));
    }
  }
  std::string pageOf(int track, bool bringUp) {
    std::string address =
        BASE + "plugin.php?title=Song " + std::to_string(track) + "&&artist=Band&&album=Disc %231";
    return bringUp ? "block 0|bring up|open " + address + "|block 1|"
                   : "block 0|open " + address + "|block 1|";
  }
  static std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) text += line + "|";
    return text;
  }

  std::string pluginsFolder, dllPath, iniPath;
  std::vector<modelplayer::Entry> playlist;
  HMODULE module = nullptr;
};

TEST_F(DllPlayerTest, WholeSessionThroughTheDllBoundary) {
  winampGeneralPurposePlugin* record = load();
  ASSERT_NE(record, nullptr) << GetLastError();
  EXPECT_EQ(record->version, GPPHDR_VER);
  EXPECT_STREQ(record->description, "");
  EXPECT_EQ(record->init(), 0);
  EXPECT_STREQ(record->description, "TuneLore Plugin (Duskwarn) (gen_tunelore.dll)");
  EXPECT_EQ(joined(modelplayer::describedRequests()), "block 0|open " + BASE + "|block 1|");

  modelplayer::clearBrowserRequests();
  for (int i = 0; i < 3; ++i) modelplayer::changeTrack(i);
  modelplayer::changeTrack(2);  // the same track again sends nothing
  EXPECT_EQ(joined(modelplayer::describedRequests()),
            pageOf(1, true) + pageOf(2, true) + pageOf(3, true));

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
  const std::string saved =
      "[gen_tunelore.dll]\r\nbDisabledPlugin=FALSE\r\nbDisabledStartUp=FALSE\r\n"
      "bDisabledAutoOpen=TRUE\r\n";
  EXPECT_EQ(fileText(iniPath), saved);

  modelplayer::clearBrowserRequests();
  modelplayer::changeTrack(0);
  EXPECT_EQ(joined(modelplayer::describedRequests()), pageOf(1, false));

  record->quit();
  EXPECT_STREQ(record->description, "Tunelore Plugin (Duskwarn) (gen_tunelore.dll)");
  EXPECT_EQ(fileText(iniPath), saved);
  ASSERT_TRUE(FreeLibrary(module));
  EXPECT_EQ(GetModuleHandleA(dllPath.c_str()), nullptr) << "the plug-in stayed loaded";

  modelplayer::clearBrowserRequests();
  sendWatchedMessages();
  EXPECT_TRUE(modelplayer::browserRequests().empty());
}

// Another plug-in subclassed the main window after ours: unloading ours would leave that
// one calling into freed code, so the module must stay loaded and only forward.
WNDPROC savedByOther;
LRESULT CALLBACK otherPluginHook(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcA(savedByOther, window, message, wParam, lParam);
}

TEST_F(DllPlayerTest, UnloadWithAnotherHookInFrontKeepsTheModule) {
  winampGeneralPurposePlugin* record = load();
  ASSERT_NE(record, nullptr);
  record->init();
  savedByOther = (WNDPROC)SetWindowLongPtrA(modelplayer::mainWindow(), GWLP_WNDPROC,
                                            (LONG_PTR)otherPluginHook);
  record->quit();
  ASSERT_TRUE(FreeLibrary(module));
  EXPECT_NE(GetModuleHandleA(dllPath.c_str()), nullptr) << "the module was unloaded";
  modelplayer::clearBrowserRequests();
  modelplayer::changeTrack(1);
  sendWatchedMessages();
  EXPECT_TRUE(modelplayer::browserRequests().empty());
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: dll_player_test <gen_tunelore.dll>\n");
    return 2;
  }
  builtDll = argv[1];
  return RUN_ALL_TESTS();
}
