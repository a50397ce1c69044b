// Plays a playlist through the Tunelore plug-in inside the model player and prints every
// mini-browser request, the plug-in's description and its settings file.
//
//   tunelore-session [--disable-plugin] [--disable-startup] [--disable-autoopen]
//                    [FILE.mp3 | FILE.flac | FILE.ogg | LIST.m3u]...
//
// Texts are printed as the player and the plug-in hold them, in the ANSI code page (1252).
#include <chrono>
#include <iostream>

#include "kit/files.h"
#include "kit/model_player.h"
#include "tools/session/playlist_files.h"
#ifdef _WIN32
#include "kit/player_place.h"
#else
#include "kit/linked_plugin.h"
#endif

struct Options {
  bool disablePlugin = false;
  bool disableStartUp = false;
  bool disableAutoOpen = false;
  std::vector<std::string> names;
};

static bool parseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    std::string argument = argv[i];
    if (argument == "--disable-plugin") {
      options.disablePlugin = true;
    } else if (argument == "--disable-startup") {
      options.disableStartUp = true;
    } else if (argument == "--disable-autoopen") {
      options.disableAutoOpen = true;
    } else if (argument.rfind("--", 0) == 0) {
      std::cerr << "unknown option " << argument << "\n"
                << "usage: tunelore-session [--disable-plugin] [--disable-startup] "
                   "[--disable-autoopen] [FILE | LIST.m3u]...\n";
      return false;
    } else {
      options.names.push_back(argument);
    }
  }
  return true;
}

// The switches for this run go into the settings file that start-up reads.
static void writeSwitches(const Options& options) {
  kit::writeFile(kit::settingsFileOnDisk(),
                 kit::savedSwitches("gen_tunelore.dll", options.disablePlugin,
                                    options.disableStartUp, options.disableAutoOpen));
}

// What the player answers about the entry's file, as the plug-in may ask for it.
static void printFileInfo(const modelplayer::Entry& entry) {
  std::cout << "  the player reads:";
  if (entry.info.empty()) std::cout << " nothing";
  namespace key = playernumbers::infokey;
  for (const char* name : {key::TITLE, key::ARTIST, key::ALBUM}) {
    auto found = entry.info.find(name);
    if (found != entry.info.end()) std::cout << " " << name << "=\"" << found->second << "\"";
  }
  std::cout << "\n";
}

static int playSession(const Options& options, const std::string& workFolder) {
  std::vector<modelplayer::Entry> playlist;
  std::string error;
  if (options.names.empty()) {
    playlist = session::samplePlaylist(workFolder);
  } else if (!session::playlistFromArguments(options.names, playlist, error)) {
    std::cerr << "tunelore-session: " << error << "\n";
    return 2;
  }
  kit::Plugin plugin;
  if (!kit::setUpPlayer(workFolder) || !modelplayer::start()) {
    plugin.error = "cannot start the player";
  } else {
    // The player loads the DLL from its Plugins folder; on the model the plug-in is linked in.
#ifdef _WIN32
    plugin = kit::loadDll(modelplayer::playerFolder() + "Plugins\\gen_tunelore.dll");
#else
    plugin = kit::linkedPlugin();
#endif
  }
  if (plugin.record == nullptr) {
    std::cerr << "tunelore-session: " << plugin.error << "\n";
    return 1;
  }
  playernumbers::PluginRecord* record = plugin.record;
  std::cout << "# Tunelore in the model player, on " << kit::platformName() << "\n";
  modelplayer::onBrowserRequest([](const modelplayer::BrowserRequest& request) {
    std::cout << "  " << modelplayer::describe(request) << "\n";
  });
  writeSwitches(options);
  kit::handToPlayer(plugin);
  modelplayer::setPlaylist(playlist);
  std::cout << "start-up\n";
  record->init();
  for (size_t i = 0; i < playlist.size(); ++i) {
    std::cout << "track " << i + 1 << ": " << playlist[i].title << "\n";
    printFileInfo(playlist[i]);
    modelplayer::changeTrack((int)i);
    modelplayer::deliverPostedMessages();  // the player's message loop runs between tracks
  }
  record->quit();
  std::cout << "description: " << record->description << "\n";
  std::cout << "settings file " << kit::settingsFileOnDisk() << ":\n"
            << kit::readFile(kit::settingsFileOnDisk());
#ifdef _WIN32
  FreeLibrary(plugin.module);
#endif
  modelplayer::stop();
  kit::tearDownPlayer();
  return 0;
}

int main(int argc, char** argv) {
  Options options;
  if (!parseOptions(argc, argv, options)) return 2;
  auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  std::string workFolder = kit::scratchFolder("tunelore-session-" + std::to_string(stamp));
  int status = playSession(options, workFolder);
  kit::removeFolder(workFolder);
  return status;
}
