#include "kit/player_test.h"

#include "kit/linked_plugin.h"
#include "plugin/plugin.h"
#include "product.h"
#include "settings/settings.h"

namespace kit {

std::vector<Way> ways() {
#ifdef _WIN32
  return {Way::Linked, Way::Dll};
#else
  return {Way::Linked};
#endif
}

std::string wayName(Way way) { return way == Way::Dll ? "Dll" : "Linked"; }

}  // namespace kit

void PlayerFixture::SetUp() {
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string(test->test_suite_name()) + "." + test->name();
  for (char& c : name) c = c == '/' ? '.' : c;
  folder = kit::scratchFolder("tunelore-tests/" + name);
  if (way == kit::Way::Linked) {
    ASSERT_TRUE(kit::loadPlugin(folder, playerOptions));
    record = (playernumbers::PluginRecord*)winampGetGeneralPurposePlugin();
    return;
  }
#ifdef _WIN32
  ASSERT_TRUE(kit::setUpPlayer(folder));
  dllPath = folder + "\\gen_tunelore.dll";
  ASSERT_TRUE(CopyFileA(TUNELORE_TESTED_DLL, dllPath.c_str(), FALSE)) << TUNELORE_TESTED_DLL;
  ASSERT_TRUE(modelplayer::start(playerOptions));
  kit::Plugin plugin = kit::loadDll(dllPath);
  ASSERT_NE(plugin.record, nullptr) << plugin.error;
  kit::handToPlayer(plugin);
  record = plugin.record;
  module = plugin.module;
#endif
}

void PlayerFixture::TearDown() {
  if (way == kit::Way::Linked) kit::unloadPlugin();
#ifdef _WIN32
  if (way == kit::Way::Dll) {
    modelplayer::stop();
    if (module != nullptr) FreeLibrary(module);
    kit::tearDownPlayer();
  }
#endif
  // A pinned DLL keeps its file: the folder then stays until the next run.
  kit::removeFolder(folder);
}

std::string PlayerFixture::writeTrack(const std::string& name, const std::string& bytes) {
  std::string path = folder + "/" + name;
  EXPECT_TRUE(kit::writeFile(path, bytes));
  return path;
}

void PlayerFixture::playBandTracks(const std::vector<std::string>& titles) {
  std::vector<modelplayer::Entry> entries;
  for (const std::string& title : titles)
    entries.push_back(
        {taggedTrack(title + ".mp3", {{"TIT2", title}, {"TPE1", "Band"}}), "Band - " + title});
  play(entries);
}

void PlayerFixture::startUpWith(bool pluginOff, bool startUpPageOff, bool autoOpenOff) {
  writeSettingsFile(saved(pluginOff, startUpPageOff, autoOpenOff));
  EXPECT_EQ(record->init(), 0);
  modelplayer::clearBrowserRequests();
}

void PlayerFixture::noticePlaying() const {
  SendMessageA(modelplayer::mainWindow(), playernumbers::WA_IPC, 0,
               playernumbers::request::PLAYING_FILE);
}

std::vector<std::string> PlayerFixture::takeRequests() const {
  std::vector<std::string> taken = requests();
  modelplayer::clearBrowserRequests();
  return taken;
}

std::string PlayerFixture::pluginFileName() const {
  return way == kit::Way::Dll ? "gen_tunelore.dll" : kit::pluginFileName();
}

std::string PlayerFixture::startUpDescription() const {
  return "TuneLore Plugin (Duskwarn) (" + pluginFileName() + ")";
}

std::string PlayerFixture::savedDescription() const {
  return "Tunelore Plugin (Duskwarn) (" + pluginFileName() + ")";
}

bool PlayerFixture::hooked() {
  return !modelplayer::hasOwnProcedure(modelplayer::mainWindow()) &&
         !modelplayer::hasOwnProcedure(modelplayer::playlistWindow());
}

void PlayerFixture::runSettingsDialog(std::function<void(HWND)> user) const {
  int turns = 0;
  modelplayer::onDialogIdle([&](HWND dialog) {
    if (turns++ == 0) user(dialog);
  });
  record->config();
  modelplayer::onDialogIdle(nullptr);
  EXPECT_GT(turns, 0) << "the dialog never became idle";
}

void PlayerFixture::tickAndOk(int id) const {
  runSettingsDialog([id](HWND dialog) {
    clickButton(dialog, id);
    clickButton(dialog, IDOK);
  });
}

void PlayerFixture::expectPinned(bool pinned) {
#ifdef _WIN32
  if (way == kit::Way::Dll) {
    FreeLibrary(module);
    module = nullptr;
    ASSERT_EQ(GetModuleHandleA(dllPath.c_str()) != nullptr, pinned) << "loaded after FreeLibrary";
    return;
  }
#endif
  if (!kit::canObservePinning()) GTEST_SKIP() << "this program's own module is never unloaded";
  ASSERT_EQ(kit::pluginModulePinned(), pinned);
}

std::string LinkedPlayerTest::switches() {
  return std::string(bDisabledPlugin ? "1" : "0") + (bDisabledStartUp ? "1" : "0") +
         (bDisabledAutoOpen ? "1" : "0");
}

void LinkedPlayerTest::setSwitches(bool plugin, bool startUp, bool autoOpen) {
  bDisabledPlugin = plugin;
  bDisabledStartUp = startUp;
  bDisabledAutoOpen = autoOpen;
}

void clickButton(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

std::string frontPage() { return LYRICS_SITE "/"; }
std::string pageAddress(const std::string& query) { return frontPage() + "plugin.php?" + query; }

std::vector<std::string> bandPage(const std::string& title) {
  return pageRequests(pageAddress("title=" + title + "&&artist=Band"));
}
