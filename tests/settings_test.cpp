// The switches' INI file beside the player, or below the player's settings folder, on real
// files; the settings dialog driven by a scripted user: ticks, typing, OK, Cancel, the close
// box.
#include <filesystem>
#include <string>
#include <vector>

#include "kit/player_test.h"
#include "settings/settings.h"
#include "ui/resource_ids.h"

namespace {

namespace fs = std::filesystem;

// The switches' file through the player: read at start-up, written at quit, and the dialog's
// ticks, which show what the plug-in holds.
class SettingsTest : public PlayerTest {
 protected:
  static std::string ticks(HWND dialog) {
    std::string seen;
    for (int id : {IDC_DISABLE_PLUGIN, IDC_DISABLE_STARTUP, IDC_DISABLE_AUTOOPEN, IDC_AUTO_LOGIN}) {
      seen += IsDlgButtonChecked(dialog, id) == BST_CHECKED ? "1" : "0";
    }
    return seen;
  }
  static std::string text(HWND dialog, int id) {
    char buffer[256] = {};
    GetDlgItemTextA(dialog, id, buffer, sizeof buffer);
    return buffer;
  }
  // What the dialog shows when it opens, left with Cancel: the ticks, the user, the password.
  std::string shown() const {
    std::string seen;
    runSettingsDialog([&](HWND dialog) {
      seen = ticks(dialog) + "|" + text(dialog, IDC_USERNAME) + "|" + text(dialog, IDC_PASSWORD);
      clickButton(dialog, IDCANCEL);
    });
    return seen;
  }
  // Starts up with `file` as the settings file.
  void startWithFile(const std::string& file) {
    writeSettingsFile(file);
    EXPECT_EQ(record->init(), 0);
  }
};

class SettingsFileTest : public LinkedPlayerTest {};

// A path the plug-in made, as text ("<none>" for none), and freed.
std::string taken(char* path) {
  std::string text = path != nullptr ? path : "<none>";
  delete[] path;
  return text;
}

TEST_F(SettingsFileTest, PathIsThePlayersPluginsFolder) {
  EXPECT_EQ(taken(settingsFilePath()), kit::settingsFile());
}

TEST_P(SettingsTest, NoFileReadsAllClearAndTheFirstSaveCreatesIt) {
  record->init();
  EXPECT_EQ(requests(), pageRequests(frontPage(), false)) << "the start-up page";
  EXPECT_EQ(readSettingsFile(), "");
  tickAndOk(IDC_DISABLE_STARTUP);
  EXPECT_EQ(readSettingsFile(), saved(false, true, false));
}

TEST_P(SettingsTest, OnlyExactlyFalseOrAMissingKeyClearsASwitch) {
  const std::pair<const char*, bool> values[] = {
      {"TRUE", true},  {"true", true},   {"yes", true},    {"", true},         {"0", true},
      {"false", true}, {"FALSEX", true}, {"FALSE", false}, {" FALSE ", false},  // the profile API
                                                                                // trims blanks
                                                                                // around values
  };
  for (const auto& [value, set] : values) {
    startWithFile(section({{"bDisabledPlugin", value}, {"bDisabledAutoOpen", value}}));
    record->quit();
    const char* written = set ? "TRUE" : "FALSE";  // each key rewritten in its place
    EXPECT_EQ(readSettingsFile(), section({{"bDisabledPlugin", written},
                                           {"bDisabledAutoOpen", written},
                                           {"bDisabledStartUp", "FALSE"}}))
        << "'" << value << "'";
  }
}

TEST_P(SettingsTest, EverySaveRewritesAllThreeKeys) {
  startWithFile(section(
      {{"bDisabledPlugin", "yes"}, {"bDisabledStartUp", "0"}, {"bDisabledAutoOpen", "FALSE"}}));
  record->quit();
  EXPECT_EQ(readSettingsFile(), saved(true, true, false));
}

TEST_F(SettingsFileTest, TwoPluginFileNamesKeepSeparateSections) {
  setSwitches(true, false, false);
  saveSettings("gen_tunelore.dll");
  setSwitches(false, true, true);
  saveSettings("gen_tunelore_copy.dll");
  loadSettings("gen_tunelore.dll");
  EXPECT_EQ(switches(), "100");
  loadSettings("GEN_TUNELORE_COPY.DLL");
  EXPECT_EQ(switches(), "011");
}

TEST_P(SettingsTest, SavingKeepsOtherContentAndReplacesKeysInPlace) {
  startWithFile("; written by hand\r\n[other.dll]\r\nbDisabledPlugin=TRUE\r\n" + section() +
                "bDisabledStartUp=yes\r\ncolour=blue\r\n[last]\r\nx=1\r\n");
  record->quit();
  EXPECT_EQ(readSettingsFile(),
            "; written by hand\r\n[other.dll]\r\nbDisabledPlugin=TRUE\r\n" + section() +
                "bDisabledStartUp=TRUE\r\ncolour=blue\r\nbDisabledPlugin=FALSE\r\n"
                "bDisabledAutoOpen=FALSE\r\n[last]\r\nx=1\r\n");
}

BOTH_WAYS(SettingsTest);

// Where the file beside the player cannot be written, the player's settings folder takes it.
class SettingsFolderTest : public LinkedPlayerTest {
 protected:
  void SetUp() override {
    LinkedPlayerTest::SetUp();
    settingsFolder = kit::settingsFolder();
  }
  std::string folderFile() const { return settingsFolder + "\\Plugins\\gen_tunelore.ini"; }
  std::string folderFileOnDisk() const { return kit::onDisk(folderFile()); }
  std::string folderPluginsOnDisk() const { return kit::onDisk(settingsFolder + "\\Plugins"); }
  // A folder standing where the file should be: no write there succeeds, not even for root.
  void blockFileBesidePlayer() { ASSERT_TRUE(fs::create_directory(kit::settingsFileOnDisk())); }
  void save(bool plugin, bool startUp, bool autoOpen) {
    setSwitches(plugin, startUp, autoOpen);
    saveSettings(pluginFileName().c_str(), settingsFolder.c_str());
  }
  // Loads with each switch set the other way first, so that every one must be read.
  void expectLoaded(const std::string& expected) {
    setSwitches(expected[0] == '0', expected[1] == '0', expected[2] == '0');
    loadSettings(pluginFileName().c_str(), settingsFolder.c_str());
    EXPECT_EQ(switches(), expected);
  }

  std::string settingsFolder;
};

std::string folderFilePath(const char* folder) { return taken(settingsFolderFilePath(folder)); }

TEST_F(SettingsFolderTest, FolderTextsThatGiveNoPath) {
  const std::string name = "\\Plugins\\gen_tunelore.ini";
  EXPECT_EQ(folderFilePath("C:\\AppData\\Winamp"), "C:\\AppData\\Winamp" + name);
  EXPECT_EQ(folderFilePath("C:\\AppData\\Winamp\\"), "C:\\AppData\\Winamp" + name);
  EXPECT_EQ(folderFilePath(nullptr), "<none>");
  EXPECT_EQ(folderFilePath(""), "<none>");
  // 234 characters, the backslash and the 24 of the name fill the 260 bytes with the terminator.
  std::string fits = "C:\\" + std::string(231, 'f');
  EXPECT_EQ(folderFilePath(fits.c_str()), fits + name);
  EXPECT_EQ(folderFilePath((fits + "f").c_str()), "<none>");
  EXPECT_EQ(folderFilePath((fits + "\\").c_str()), fits + name) << "its own backslash";
  // Exactly SETTINGS_PATH_SIZE bytes without a terminator: nothing past them may be read.
  std::vector<char> unterminated(SETTINGS_PATH_SIZE, 'u');
  EXPECT_EQ(folderFilePath(unterminated.data()), "<none>");
}

TEST_F(SettingsFolderTest, UnwritableBesideThePlayerSavesToTheSettingsFolder) {
  blockFileBesidePlayer();
  save(true, false, true);
  EXPECT_TRUE(fs::is_directory(folderPluginsOnDisk())) << "its Plugins folder is created";
  EXPECT_EQ(kit::readFile(folderFileOnDisk()), saved(true, false, true));
  expectLoaded("101");
  setSwitches(true, true, true);
  saveSettings(pluginFileName().c_str(), nullptr);  // a player that names no folder
  setSwitches(false, false, false);
  loadSettings(pluginFileName().c_str(), nullptr);
  EXPECT_EQ(switches(), "000") << "lost, as they always were without a settings folder";
  EXPECT_EQ(kit::readFile(folderFileOnDisk()), saved(true, false, true));
}

TEST_F(SettingsFolderTest, WritableBesideThePlayerLeavesTheSettingsFolderAlone) {
  save(false, true, true);
  EXPECT_EQ(readSettingsFile(), saved(false, true, true));
  EXPECT_FALSE(fs::exists(folderPluginsOnDisk()));
  fs::create_directory(folderPluginsOnDisk());
  ASSERT_TRUE(fs::create_directory(folderFileOnDisk()));
  save(false, true, true);
  expectLoaded("011");  // a folder where the file would be is no file
  EXPECT_TRUE(fs::is_directory(folderFileOnDisk()));
}

TEST_F(SettingsFolderTest, FolderTextsThatAreNoFolderChangeNothing) {
  blockFileBesidePlayer();
  // 235 characters: one too many for the file name within 260 bytes.
  std::string tooLong = settingsFolder + "\\" + std::string(234 - settingsFolder.size(), 'x');
  std::vector<char> unterminated(SETTINGS_PATH_SIZE, 'u');
  for (const char* folder :
       {(const char*)nullptr, "", tooLong.c_str(), (const char*)unterminated.data()}) {
    setSwitches(true, true, true);
    saveSettings(pluginFileName().c_str(), folder);
    loadSettings(pluginFileName().c_str(), folder);
    EXPECT_EQ(switches(), "000");
  }
  EXPECT_FALSE(fs::exists(folderPluginsOnDisk()));
}

// The same through the player: start-up, the dialog's OK and quit each ask for the folder once.
class PlayerSettingsFolderTest : public SettingsTest {
 protected:
  void SetUp() override {
    SettingsTest::SetUp();
    modelplayer::setSettingsFolder(kit::settingsFolder());
  }
  static int folderRequests() {
    return modelplayer::countRequests(playernumbers::request::GETINIDIRECTORY);
  }
  static std::string folderPlugins() { return kit::onDisk(kit::settingsFolder() + "\\Plugins"); }
  static std::string folderFile() { return folderPlugins() + "/gen_tunelore.ini"; }
  void untickPluginAndAutoOpen() const {
    runSettingsDialog([](HWND dialog) {
      clickButton(dialog, IDC_DISABLE_PLUGIN);
      clickButton(dialog, IDC_DISABLE_AUTOOPEN);
      clickButton(dialog, IDOK);
    });
  }
};

TEST_P(PlayerSettingsFolderTest, SwitchesSurviveOkQuitAndANewStartUp) {
  ASSERT_TRUE(fs::create_directory(kit::settingsFileOnDisk())) << "the file beside the player";
  record->init();
  EXPECT_EQ(folderRequests(), 1);
  tickAndOk(IDC_DISABLE_AUTOOPEN);
  EXPECT_EQ(folderRequests(), 2);
  EXPECT_EQ(kit::readFile(folderFile()), saved(false, false, true));
  tickAndOk(IDC_DISABLE_STARTUP);
  record->quit();
  EXPECT_EQ(folderRequests(), 4);
  EXPECT_EQ(kit::readFile(folderFile()), saved(false, true, true));

  kit::writeFile(folderFile(), saved(false, true, false));
  modelplayer::clearBrowserRequests();
  record->init();
  EXPECT_EQ(requests(), (std::vector<std::string>{"block 0"}))
      << "start-up reads the file in the settings folder: no start-up page, as saved there";
}

TEST_P(PlayerSettingsFolderTest, WritableBesideThePlayerOnlyAddsTheRequests) {
  record->init();
  tickAndOk(IDC_DISABLE_STARTUP);
  record->quit();
  EXPECT_EQ(folderRequests(), 3);
  EXPECT_EQ(readSettingsFile(), saved(false, true, false));
  EXPECT_FALSE(fs::exists(folderPlugins()));
}

// A file in the settings folder from an earlier save wins at start-up; a save beside the
// player deletes it, or, where it cannot be deleted, rewrites it so that the two agree.
TEST_P(PlayerSettingsFolderTest, EarlierFolderFileWinsAtStartUpAndGoesAfterASaveBeside) {
  fs::create_directory(folderPlugins());
  kit::writeFile(folderFile(), saved(true, true, true));
  startWithFile(saved(false, false, false));
  EXPECT_TRUE(requests().empty()) << "switched off, as the file in the settings folder says";
  untickPluginAndAutoOpen();
  EXPECT_EQ(readSettingsFile(), saved(false, true, false));
  EXPECT_FALSE(fs::exists(folderFile()));
  EXPECT_TRUE(fs::is_directory(folderPlugins())) << "only the file goes";
}

TEST_P(PlayerSettingsFolderTest, UndeletableFolderFileIsRewrittenAfterASaveBeside) {
  fs::create_directory(folderPlugins());
  kit::writeFile(folderFile(), saved(true, true, true));
  const std::string file = kit::settingsFolder() + "\\Plugins\\gen_tunelore.ini";
  ASSERT_TRUE(SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY));
  record->init();
  untickPluginAndAutoOpen();
  EXPECT_EQ(readSettingsFile(), saved(false, true, false));
  EXPECT_EQ(kit::readFile(folderFile()), saved(false, true, false))
      << "left in place, it must not disagree with the file beside the player";
  SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
}

BOTH_WAYS(PlayerSettingsFolderTest);

class SettingsDialogTest : public SettingsTest {};

TEST_P(SettingsDialogTest, OpensWithTheSwitchesTickedAndTheAccountEmpty) {
  startWithFile(saved(true, false, true));
  EXPECT_EQ(shown(), "1010||");
}

TEST_P(SettingsDialogTest, OkStoresTheTicksRenamesAndWritesTheFile) {
  startWithFile(saved(false, true, false));
  runSettingsDialog([&](HWND dialog) {
    clickButton(dialog, IDC_DISABLE_PLUGIN);
    clickButton(dialog, IDC_DISABLE_STARTUP);
    clickButton(dialog, IDC_DISABLE_AUTOOPEN);
    clickButton(dialog, IDC_DISABLE_AUTOOPEN);
    clickButton(dialog, IDOK);
  });
  EXPECT_EQ(std::string(record->description), savedDescription());
  EXPECT_EQ(readSettingsFile(), saved(true, false, false));
}

TEST_P(SettingsDialogTest, OkWithoutChangesStillRewritesTheFile) {
  startWithFile(section({{"bDisabledPlugin", "yes"}}));
  runSettingsDialog([&](HWND dialog) { clickButton(dialog, IDOK); });
  EXPECT_EQ(std::string(record->description), savedDescription());
  EXPECT_EQ(readSettingsFile(), saved(true, false, false));
}

TEST_P(SettingsDialogTest, CancelAndTheCloseBoxChangeNothing) {
  startWithFile(saved(false, true, false));
  const char* unchanged = record->description;
  for (bool useCloseBox : {false, true}) {
    runSettingsDialog([&](HWND dialog) {
      clickButton(dialog, IDC_DISABLE_PLUGIN);
      clickButton(dialog, IDC_DISABLE_STARTUP);
      if (useCloseBox) {
        SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);  // the close box
      } else {
        clickButton(dialog, IDCANCEL);
      }
    });
    EXPECT_EQ(record->description, unchanged) << useCloseBox;
    EXPECT_EQ(readSettingsFile(), saved(false, true, false)) << useCloseBox;
  }
  record->quit();
  EXPECT_EQ(readSettingsFile(), saved(false, true, false)) << "the switches as they were";
}

TEST_P(SettingsDialogTest, AccountFieldsAreNeverStored) {
  record->init();
  runSettingsDialog([&](HWND dialog) {
    SetDlgItemTextA(dialog, IDC_USERNAME, "someone");
    SetDlgItemTextA(dialog, IDC_PASSWORD, "secret");
    clickButton(dialog, IDC_AUTO_LOGIN);
    clickButton(dialog, IDOK);
  });
  std::string file = readSettingsFile();
  EXPECT_EQ(file.find("someone"), std::string::npos);
  EXPECT_EQ(file.find("secret"), std::string::npos);
  EXPECT_EQ(file, saved(false, false, false));
  EXPECT_EQ(shown(), "0000||");
}

// Messages the dialog has no use for leave it open, and nothing is stored.
TEST_P(SettingsDialogTest, OtherMessagesLeaveTheDialogOpenAndStoreNothing) {
  record->init();
  bool open = false;
  runSettingsDialog([&](HWND dialog) {
    clickButton(dialog, IDC_DISABLE_PLUGIN);
    SendMessageA(dialog, WM_COMMAND, 9999, 0);
    SendMessageA(dialog, WM_USER + 5, 0, 0);
    open = IsWindow(dialog) != FALSE;
    clickButton(dialog, IDCANCEL);
  });
  EXPECT_TRUE(open);
  EXPECT_EQ(readSettingsFile(), "");
  record->quit();
  EXPECT_EQ(readSettingsFile(), saved(false, false, false)) << "the tick was cancelled";
}

BOTH_WAYS(SettingsDialogTest);

}  // namespace
