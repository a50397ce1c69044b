// Player and plug-in paths that only the model can give: folders near the 260-byte limit,
// truncated module paths and double-byte code pages.
#include <filesystem>
#include <string>

#include "kit/player_test.h"
#include "plugin/plugin.h"
#include "settings/settings.h"
#include "windows_model.h"

namespace {

class SettingsPathTest : public LinkedPlayerTest {
 protected:
  // A player folder "C:\ddd...\" of exactly `length` characters, created on disk.
  std::string playerFolder(size_t length) {
    std::string folder = "C:";
    while (length - folder.size() > 2) {
      folder += "\\" + std::string(std::min<size_t>(60, length - folder.size() - 2), 'd');
    }
    folder += '\\';
    std::filesystem::create_directories(winmodel::hostPath((folder + "Plugins").c_str()));
    return folder;
  }
  std::string pathFor(const std::string& executable) {
    winmodel::setExecutablePath(executable.c_str());
    char* path = settingsFilePath();
    std::string text = path != nullptr ? path : "<none>";
    delete[] path;
    return text;
  }
};

TEST_F(SettingsPathTest, FolderThatLeavesNoRoomMeansNoSettings) {
  std::string fits = playerFolder(235);  // 235 + 24 characters + terminator = 260 bytes
  ASSERT_EQ(fits.size(), 235u);
  EXPECT_EQ(pathFor(fits + "w.exe"), fits + "Plugins\\gen_tunelore.ini");
  std::string tooLong = playerFolder(236);
  ASSERT_EQ(tooLong.size(), 236u);
  EXPECT_EQ(pathFor(tooLong + "w.exe"), "<none>");

  bDisabledPlugin = true;
  loadSettings("gen_tunelore.dll");
  EXPECT_TRUE(bDisabledPlugin) << "no path leaves the switches as they are";
  saveSettings("gen_tunelore.dll");
  EXPECT_FALSE(
      std::filesystem::exists(winmodel::hostPath((tooLong + "Plugins\\gen_tunelore.ini").c_str())));
}

TEST_F(SettingsPathTest, TruncatedOrSeparatorlessPlayerPathsMeanNoSettings) {
  // GetModuleFileNameA cut this one inside its folder part: the folder it shows is wrong.
  std::string deep = playerFolder(200) + std::string(100, 'e') + "\\winamp.exe";
  EXPECT_EQ(pathFor(deep), "<none>");
  EXPECT_EQ(pathFor(playerFolder(100) + std::string(200, 'w') + ".exe"), "<none>");
  EXPECT_EQ(pathFor("winamp.exe"), "<none>");
  EXPECT_EQ(pathFor(""), "<none>");
}

TEST_F(SettingsPathTest, DoubleByteTrailBackslashIsNoSeparator) {
  winmodel::setAnsiCodePage(932);
  // 0x83 0x5C is one Shift-JIS character whose second byte is a backslash.
  EXPECT_EQ(pathFor("C:\\Winamp\\win\x83\x5C"
                    "amp.exe"),
            "C:\\Winamp\\Plugins\\gen_tunelore.ini");
  plugin.hDllInstance = winmodel::addModule(
      "C:\\Winamp\\Plugins\\gen_\x83\x5C"
      "lore.dll");
  char path[MODULE_PATH_SIZE];
  EXPECT_STREQ(readPluginFileName(path),
               "gen_\x83\x5C"
               "lore.dll");
}

TEST_F(SettingsPathTest, LongPluginPathsAreReadTerminatedAndDescribedWithinBounds) {
  std::string name = std::string(600, 'n') + ".dll";
  plugin.hDllInstance = winmodel::addModule(("C:\\P\\" + name).c_str());
  char path[MODULE_PATH_SIZE];
  const char* fileName = readPluginFileName(path);
  EXPECT_EQ(std::string(fileName), name.substr(0, MODULE_PATH_SIZE - 1 - 5));
  saveAndRename();
  std::string description = plugin.description;
  EXPECT_EQ(description.size(), (size_t)DESCRIPTION_SIZE - 1);
  EXPECT_EQ(description.rfind("Tunelore Plugin (Duskwarn) (nnn", 0), 0u);
}

}  // namespace
