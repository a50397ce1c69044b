#include "tests/support/player_fixture.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "model/harness/plugin_harness.h"
#include "model/harness/test_platform.h"
#include "tracking/lyrics_page.h"
#include "tracking/song_change.h"

namespace fs = std::filesystem;

void PlayerTest::SetUp() {
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  fs::path path = fs::temp_directory_path() / "tunelore-tests" /
                  (std::string(test->test_suite_name()) + "." + test->name());
  fs::remove_all(path);
  fs::create_directories(path);
  folder = path.string();
  ASSERT_TRUE(harness::loadPlugin(folder, playerOptions));
}

void PlayerTest::TearDown() {
  harness::unloadPlugin();
  std::error_code ignored;
  fs::remove_all(folder, ignored);
}

std::string PlayerTest::writeTrack(const std::string& name, const std::string& bytes) {
  std::string path = (fs::path(folder) / name).string();
  EXPECT_TRUE(samplemp3::writeFile(path, bytes));
  return path;
}

std::string PlayerTest::taggedTrack(const std::string& name, const samplemp3::TextFrames& frames) {
  return writeTrack(name, samplemp3::taggedTrack(frames));
}

void PlayerTest::play(const std::vector<modelplayer::Entry>& entries, int position) {
  modelplayer::setPlaylist(entries);
  modelplayer::setPosition(position);
}

std::string PlayerTest::settingsFile() const { return testplatform::settingsFile(); }

std::string PlayerTest::settingsFileOnDisk() const { return testplatform::settingsFileOnDisk(); }

std::string PlayerTest::readSettingsFile() const {
  return fileText(testplatform::settingsFileOnDisk());
}

void PlayerTest::writeSettingsFile(const std::string& text) const {
  putFile(testplatform::settingsFileOnDisk(), text);
}

std::string fileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void putFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
}

std::string PlayerTest::pluginFileName() const { return testplatform::pluginFileName(); }

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

std::vector<std::string> pageRequests(const std::string& address) {
  return {"block 0", "bring up", "open " + address, "block 1"};
}

std::string pageAddress(const std::string& query) {
  return std::string(LYRICS_BASE_ADDRESS) + "plugin.php?" + query;
}

LONG_PTR currentProcedure(HWND window) {
  return IsWindowUnicode(window) ? GetWindowLongPtrW(window, GWLP_WNDPROC)
                                 : GetWindowLongPtrA(window, GWLP_WNDPROC);
}
