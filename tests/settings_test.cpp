// The switches' INI file beside the player, on real files.
#include <string>

#include "settings/settings.h"
#include "tests/support/player_fixture.h"

namespace {

class SettingsTest : public PlayerTest {
 protected:
  void setSwitches(bool plugin, bool startUp, bool autoOpen) {
    bDisabledPlugin = plugin;
    bDisabledStartUp = startUp;
    bDisabledAutoOpen = autoOpen;
  }
  std::string switches() {
    return std::string(bDisabledPlugin ? "1" : "0") + (bDisabledStartUp ? "1" : "0") +
           (bDisabledAutoOpen ? "1" : "0");
  }
  std::string section() { return "[" + pluginFileName() + "]\r\n"; }
};

std::string keys(const char* plugin, const char* startUp, const char* autoOpen) {
  return std::string("bDisabledPlugin=") + plugin + "\r\nbDisabledStartUp=" + startUp +
         "\r\nbDisabledAutoOpen=" + autoOpen + "\r\n";
}

TEST_F(SettingsTest, PathIsThePlayersPluginsFolder) {
  char* path = settingsFilePath();
  ASSERT_NE(path, nullptr);
  EXPECT_EQ(std::string(path), settingsFile());
  delete[] path;
}

TEST_F(SettingsTest, NoFileReadsAllClearAndTheFirstSaveCreatesIt) {
  setSwitches(true, true, true);
  loadSettings(pluginFileName().c_str());
  EXPECT_EQ(switches(), "000");
  EXPECT_EQ(readSettingsFile(), "");
  bDisabledStartUp = true;
  saveAndRename();
  EXPECT_EQ(readSettingsFile(), section() + keys("FALSE", "TRUE", "FALSE"));
}

TEST_F(SettingsTest, OnlyExactlyFalseOrAMissingKeyClearsASwitch) {
  const std::pair<const char*, bool> values[] = {
      {"TRUE", true},  {"true", true},   {"yes", true},    {"", true},         {"0", true},
      {"false", true}, {"FALSEX", true}, {"FALSE", false}, {" FALSE ", false},  // the profile API
                                                                                // trims blanks
                                                                                // around values
  };
  for (const auto& [value, set] : values) {
    writeSettingsFile(section() + "bDisabledPlugin=" + value + "\r\nbDisabledAutoOpen=" + value +
                      "\r\n");
    setSwitches(!set, true, !set);
    loadSettings(pluginFileName().c_str());
    EXPECT_EQ(bDisabledPlugin, set) << "'" << value << "'";
    EXPECT_EQ(bDisabledAutoOpen, set) << "'" << value << "'";
    EXPECT_FALSE(bDisabledStartUp) << "missing key";
  }
}

TEST_F(SettingsTest, EverySaveRewritesAllThreeKeys) {
  writeSettingsFile(section() + keys("yes", "0", "FALSE"));
  loadSettings(pluginFileName().c_str());
  EXPECT_EQ(switches(), "110");
  saveAndRename();
  EXPECT_EQ(readSettingsFile(), section() + keys("TRUE", "TRUE", "FALSE"));
}

TEST_F(SettingsTest, TwoPluginFileNamesKeepSeparateSections) {
  setSwitches(true, false, false);
  saveSettings("gen_tunelore.dll");
  setSwitches(false, true, true);
  saveSettings("gen_tunelore_copy.dll");
  loadSettings("gen_tunelore.dll");
  EXPECT_EQ(switches(), "100");
  loadSettings("GEN_TUNELORE_COPY.DLL");
  EXPECT_EQ(switches(), "011");
}

TEST_F(SettingsTest, SavingKeepsOtherContentAndReplacesKeysInPlace) {
  const std::string before = "; written by hand\r\n[other.dll]\r\nbDisabledPlugin=TRUE\r\n" +
                             section() + "bDisabledStartUp=yes\r\ncolour=blue\r\n[last]\r\nx=1\r\n";
  writeSettingsFile(before);
  setSwitches(true, false, true);
  saveSettings(pluginFileName().c_str());
  EXPECT_EQ(readSettingsFile(),
            "; written by hand\r\n[other.dll]\r\nbDisabledPlugin=TRUE\r\n" + section() +
                "bDisabledStartUp=FALSE\r\ncolour=blue\r\nbDisabledPlugin=TRUE\r\n"
                "bDisabledAutoOpen=TRUE\r\n[last]\r\nx=1\r\n");
}

TEST_F(SettingsTest, DescriptionIsCutToItsBufferForAnyFileName) {
  // The save form is checked for every length: the text never passes 511 characters.
  saveAndRename();
  EXPECT_EQ(std::string(plugin.description),
            "Tunelore Plugin (Duskwarn) (" + pluginFileName() + ")");
  EXPECT_LE(std::string(plugin.description).size(), (size_t)DESCRIPTION_SIZE - 1);
}

}  // namespace
