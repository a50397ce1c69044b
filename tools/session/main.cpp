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
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "model/player/model_player.h"
#include "tools/session/playlist_files.h"
#include "tools/session/session_platform.h"

namespace fs = std::filesystem;

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
    } else if ((argument == "--changes" || argument == "--io") && i + 1 < argc) {
      if (argument == "--changes") {
        options.changes = strtol(argv[++i], nullptr, 10);
      } else {
        options.ioFile = argv[++i];
      }
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

// The switches for this run go into the settings file that start-up reads.
static void writeSwitches(const Options& options) {
  std::ofstream ini(session::settingsFileOnDisk(), std::ios::binary | std::ios::trunc);
  auto value = [](bool set) { return set ? "TRUE" : "FALSE"; };
  ini << "[gen_tunelore.dll]\r\n"
      << "bDisabledPlugin=" << value(options.disablePlugin) << "\r\n"
      << "bDisabledStartUp=" << value(options.disableStartUp) << "\r\n"
      << "bDisabledAutoOpen=" << value(options.disableAutoOpen) << "\r\n";
}

static void appendUtf8(std::string& out, unsigned code) {
  if (code < 0x80) {
    out += (char)code;
  } else if (code < 0x800) {
    out += (char)(0xC0 | code >> 6);
    out += (char)(0x80 | (code & 0x3F));
  } else {
    out += (char)(0xE0 | code >> 12);
    out += (char)(0x80 | (code >> 6 & 0x3F));
    out += (char)(0x80 | (code & 0x3F));
  }
}

// An ANSI text in UTF-8. The code page is single-byte: every character is in the BMP.
static std::string inTerminal(const std::string& ansi) {
  if (ansi.empty()) return ansi;
  std::wstring wide(ansi.size() + 1, L'\0');
  int length = MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, &wide[0], (int)wide.size());
  std::string utf8;
  for (int i = 0; i + 1 < length; ++i) appendUtf8(utf8, (unsigned)wide[(size_t)i] & 0xFFFF);
  return utf8;
}

static std::string fileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
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

// "rchar" of a /proc/<pid>/io file: every byte the process has had read() return; -1 if none.
static long long bytesRead(const std::string& ioFile) {
  if (ioFile.empty()) return -1;
  std::ifstream io(ioFile);
  std::string key;
  long long value = -1;
  while (io >> key >> value) {
    if (key == "rchar:") return value;
  }
  return -1;
}

// Next-button presses over the playlist, each with the message loop after it, as the
// benchmarks' change/next does on the model: the time and bytes of a whole track change.
static void timeChanges(const Options& options) {
  modelplayer::changeTrack(0);
  modelplayer::deliverPostedMessages();
  modelplayer::clearBrowserRequests();
  long long bytesBefore = bytesRead(options.ioFile);
  double processorBefore = session::processorMilliseconds();
  auto start = std::chrono::steady_clock::now();
  for (long n = 0; n < options.changes; ++n) {
    modelplayer::pressNext();
    modelplayer::deliverPostedMessages();
  }
  std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - start;
  double processor = session::processorMilliseconds() - processorBefore;
  long long bytesAfter = bytesRead(options.ioFile);
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
  HINSTANCE module = nullptr;
  playernumbers::PluginRecord* record = nullptr;
  if (!session::setUpPlayer(workFolder, error) || !modelplayer::start() ||
      (record = session::loadPlugin(module, error)) == nullptr) {
    std::cerr << "tunelore-session: " << (error.empty() ? "cannot start the player" : error)
              << "\n";
    return 1;
  }
  std::cout << "# Tunelore in the model player, on " << session::platformName() << "\n";
  if (options.changes == 0) {
    modelplayer::onBrowserRequest([](const modelplayer::BrowserRequest& request) {
      std::cout << "  " << inTerminal(modelplayer::describe(request)) << "\n";
    });
  }
  writeSwitches(options);
  record->hwndParent = modelplayer::mainWindow();
  record->hDllInstance = module;
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
  std::cout << "settings file " << session::settingsFileOnDisk() << ":\n"
            << fileText(session::settingsFileOnDisk());
  session::unloadPlugin();
  modelplayer::stop();
  return 0;
}

int main(int argc, char** argv) {
  Options options;
  if (!parseOptions(argc, argv, options)) return 2;
  auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  fs::path workFolder = fs::temp_directory_path() / ("tunelore-session-" + std::to_string(stamp));
  fs::create_directories(workFolder);
  int status = playSession(options, workFolder.string());
  std::error_code ignored;
  fs::remove_all(workFolder, ignored);
  return status;
}
