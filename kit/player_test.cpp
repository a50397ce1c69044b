#include "kit/player_test.h"

#include "kit/files.h"
#include "kit/linked_plugin.h"
#include "settings/settings.h"
#include "tracking/lyrics_page.h"
#include "tracking/song_change.h"

void PlayerTest::SetUp() {
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  folder = kit::scratchFolder("tunelore-tests/" + std::string(test->test_suite_name()) + "." +
                              test->name());
  ASSERT_TRUE(kit::loadPlugin(folder, playerOptions));
}

void PlayerTest::TearDown() {
  kit::unloadPlugin();
  kit::removeFolder(folder);
}

std::string PlayerTest::writeTrack(const std::string& name, const std::string& bytes) {
  std::string path = folder + "/" + name;
  EXPECT_TRUE(kit::writeFile(path, bytes));
  return path;
}

void PlayerTest::playBandTracks(const std::vector<std::string>& titles) {
  std::vector<modelplayer::Entry> entries;
  for (const std::string& title : titles)
    entries.push_back(
        {taggedTrack(title + ".mp3", {{"TIT2", title}, {"TPE1", "Band"}}), "Band - " + title});
  play(entries);
}

bool PlayerTest::hooked() const {
  return currentProcedure(modelplayer::mainWindow()) == (LONG_PTR)mainWindowHook &&
         currentProcedure(modelplayer::playlistWindow()) == (LONG_PTR)playlistWindowHook;
}

void PlayerTest::setSwitches(bool plugin, bool startUp, bool autoOpen) {
  bDisabledPlugin = plugin;
  bDisabledStartUp = startUp;
  bDisabledAutoOpen = autoOpen;
}

std::string PlayerTest::switches() const {
  return std::string(bDisabledPlugin ? "1" : "0") + (bDisabledStartUp ? "1" : "0") +
         (bDisabledAutoOpen ? "1" : "0");
}

void runSettingsDialog(std::function<void(HWND)> user) {
  int turns = 0;
  modelplayer::onDialogIdle([&](HWND dialog) {
    if (turns++ == 0) user(dialog);
  });
  plugin.config();
  modelplayer::onDialogIdle(nullptr);
  EXPECT_GT(turns, 0) << "the dialog never became idle";
}

void clickButton(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

void tickAndOk(int id) {
  runSettingsDialog([id](HWND dialog) {
    clickButton(dialog, id);
    clickButton(dialog, IDOK);
  });
}

std::vector<std::string> pageRequests(const std::string& address) {
  return {"block 0", "bring up", "open " + address, "block 1"};
}

std::string pageAddress(const std::string& query) {
  return std::string(LYRICS_BASE_ADDRESS) + "plugin.php?" + query;
}

std::vector<std::string> bandPage(const std::string& title) {
  return pageRequests(pageAddress("title=" + title + "&&artist=Band"));
}
