#include "kit/dll_test.h"

#include <utility>

#include "kit/files.h"
#include "kit/sample_mp3.h"

const std::string SITE = "http://tunelore.test/";
static std::string builtDll;  // from the command line

void DllTest::SetUp() {
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string(test->test_suite_name()) + "." + test->name();
  for (char& c : name) c = c == '/' ? '.' : c;  // parametrised cases' names
  folder = kit::scratchFolder("tunelore-e2e\\" + name);
  ASSERT_TRUE(kit::setUpPlayer(folder));
  iniPath = kit::settingsFileOnDisk();
  dllPath = folder + "\\gen_tunelore.dll";
  ASSERT_TRUE(CopyFileA(builtDll.c_str(), dllPath.c_str(), FALSE)) << builtDll;
  if (settingsFolderOfItsOwn) {
    options.settingsFolder = folder + "\\settings";
    ASSERT_TRUE(CreateDirectoryA(options.settingsFolder.c_str(), nullptr));
  }
  ASSERT_TRUE(modelplayer::start(options));
  for (int i = 1; i <= 3; ++i) {
    std::string title = "Song " + std::to_string(i);
    std::string path = folder + "\\" + std::to_string(i) + ".mp3";
    ASSERT_TRUE(kit::writeFile(
        path, samplemp3::taggedTrack({{"TIT2", title}, {"TPE1", "Band"}, {"TALB", "Disc #1"}})));
    playlist.push_back({path, "Band - " + title});
  }
  modelplayer::setPlaylist(playlist);
}

void DllTest::TearDown() {
  modelplayer::stop();
  if (module != nullptr) unload();
  kit::tearDownPlayer();
  // A pinned module keeps its file: the folder then stays until the next run.
  kit::removeFolder(folder);
}

playernumbers::PluginRecord* DllTest::load() {
  kit::Plugin plugin = kit::loadDll(dllPath);
  module = plugin.module;
  record = plugin.record;
  if (record != nullptr) kit::handToPlayer(plugin);
  return record;
}

void DllTest::startPlugin() {
  ASSERT_NE(load(), nullptr) << GetLastError();
  record->init();
  takeRequests();
}

bool DllTest::unload() { return FreeLibrary(std::exchange(module, nullptr)) != FALSE; }

std::string DllTest::pageFor(const std::string& query, bool bringUp) {
  return std::string("block 0|") + (bringUp ? "bring up|" : "") + "open " + SITE + "plugin.php?" +
         query + "|block 1|";
}

std::string DllTest::pageOf(int track, bool bringUp) {
  return pageFor("title=Song " + std::to_string(track) + "&&artist=Band&&album=Disc %231", bringUp);
}

std::string DllTest::takeRequests() {
  std::string text;
  for (const auto& line : modelplayer::describedRequests()) text += line + "|";
  modelplayer::clearBrowserRequests();
  return text;
}

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s <gen_tunelore.dll>\n", argv[0]);
    return 2;
  }
  builtDll = argv[1];
  return RUN_ALL_TESTS();
}
