// Plays a playlist through the Tunelore plug-in inside the model player and prints every
// mini-browser request, the plug-in's description and its settings file.
//
//   tunelore-session [--disable-plugin] [--disable-startup] [--disable-autoopen]
//                    [--changes N [--io FILE]] [FILE.mp3 | FILE.flac | FILE.ogg | LIST.m3u]...
//
// --changes N presses the next button N times, each followed by the player's message loop,
// prints nothing of the requests and reports the time a change takes and the pages sent; with
// --io, also the bytes read a change, from a Linux /proc/<pid>/io file ("rchar": /proc/self/io
// on the model; under Wine the program's own, e.g. Z:\proc\<pid>\io, since /proc/self is
// the Wine server's there).
//
// The player and the plug-in hold texts in the ANSI code page; they are printed in UTF-8, as
// terminals show them.
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <iostream>

#include "kit/files.h"
#include "kit/model_player.h"
#include "kit/sample_mp3.h"
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
  long changes = 0;
  std::string ioFile;
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
    } else if (argument == "--changes" && i + 1 < argc) {
      options.changes = strtol(argv[++i], nullptr, 10);
    } else if (argument == "--io" && i + 1 < argc) {
      options.ioFile = argv[++i];
    } else if (argument.rfind("--", 0) == 0) {
      std::cerr << "unknown option " << argument << "\n"
                << "usage: tunelore-session [--disable-plugin] [--disable-startup] "
                   "[--disable-autoopen] [--changes N [--io FILE]] [FILE | LIST.m3u]...\n";
      return false;
    } else {
      options.names.push_back(argument);
    }
  }
  return true;
}

// The processor time this process has used so far (user and system), in milliseconds.
static double processorMilliseconds() {
#ifdef _WIN32
  FILETIME created, ended, system, user;
  if (!GetProcessTimes(GetCurrentProcess(), &created, &ended, &system, &user)) return 0;
  auto ticks = [](const FILETIME& time) {
    return (double)(((unsigned long long)time.dwHighDateTime << 32) | time.dwLowDateTime);
  };
  return (ticks(system) + ticks(user)) / 10000.0;  // 100 ns ticks
#else
  return 1000.0 * (double)std::clock() / CLOCKS_PER_SEC;
#endif
}

// An ANSI text in UTF-8. The code page is single-byte: every character is in the BMP.
static std::string inTerminal(const std::string& ansi) {
  if (ansi.empty()) return ansi;
  std::wstring wide(ansi.size() + 1, L'\0');
  int length = MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, &wide[0], (int)wide.size());
  wide.resize(length > 0 ? (size_t)length - 1 : 0);
  return samplemp3::utf8Text(wide);
}

// What the player answers about the entry's file, as the plug-in may ask for it.
static void printFileInfo(const modelplayer::Entry& entry) {
  std::cout << "  the player reads:";
  if (entry.info.empty()) std::cout << " nothing";
  namespace key = playernumbers::infokey;
  for (const char* name : {key::TITLE, key::ARTIST, key::ALBUM}) {
    auto found = entry.info.find(name);
    if (found != entry.info.end())
      std::cout << " " << name << "=\"" << inTerminal(found->second) << "\"";
  }
  std::cout << "\n";
}

// Next-button presses over the playlist, each with the message loop after it, as the
// benchmarks' change/next does on the model: the time and bytes of a whole track change.
static void timeChanges(const Options& options) {
  modelplayer::changeTrack(0);
  modelplayer::deliverPostedMessages();
  modelplayer::clearBrowserRequests();
  long long bytesBefore = kit::bytesRead(options.ioFile);
  double processorBefore = processorMilliseconds();
  auto start = std::chrono::steady_clock::now();
  for (long n = 0; n < options.changes; ++n) {
    modelplayer::pressNext();
    modelplayer::deliverPostedMessages();
  }
  std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - start;
  double processor = processorMilliseconds() - processorBefore;
  long long bytesAfter = kit::bytesRead(options.ioFile);
  std::cout << options.changes << " changes: " << spent.count() / (double)options.changes
            << " ms a change (processor " << processor / (double)options.changes << " ms); "
            << modelplayer::browserRequests().size() << " requests sent";
  if (bytesBefore >= 0 && bytesAfter >= 0) {
    std::cout << "; " << (bytesAfter - bytesBefore) / options.changes << " bytes read a change";
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
  if (options.changes == 0) {
    modelplayer::onBrowserRequest([](const modelplayer::BrowserRequest& request) {
      std::cout << "  " << inTerminal(modelplayer::describe(request)) << "\n";
    });
  }
  // The switches for this run go into the settings file that start-up reads.
  kit::writeFile(kit::settingsFileOnDisk(),
                 kit::savedSwitches("gen_tunelore.dll", options.disablePlugin,
                                    options.disableStartUp, options.disableAutoOpen));
  kit::handToPlayer(plugin);
  modelplayer::setPlaylist(playlist);
  std::cout << "start-up\n";
  record->init();
  if (options.changes > 0) timeChanges(options);
  for (size_t i = 0; options.changes == 0 && i < playlist.size(); ++i) {
    std::cout << "track " << i + 1 << ": " << inTerminal(playlist[i].title) << "\n";
    printFileInfo(playlist[i]);
    modelplayer::changeTrack((int)i);
    modelplayer::deliverPostedMessages();  // the player's message loop runs between tracks
  }
  record->quit();
  std::cout << "description: " << inTerminal(record->description) << "\n";
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
