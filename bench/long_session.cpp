// A long model session for valgrind and for heap samples: start-up, thousands of track
// changes driven through the hooks exactly as the player sends them, quit.
//
//   tunelore-long-session [--tracks N] [--files K] [--sample T,T,...]
//
// K tagged MP3 files (default 36) are written into a scratch folder and played in turn, so
// each change is a new page address; N changes (default 10000). Each change must send the
// four requests of a new page with the track's own address, or the run fails. At each track
// number T the heap in use (mallinfo2) is printed, with the model player's logs of messages
// and requests, which grow with every message by design, counted apart from the rest.
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "kit/files.h"
#include "kit/linked_plugin.h"
#include "kit/player_place.h"
#include "kit/sample_mp3.h"
#include "plugin/plugin.h"
#include "tracking/lyrics_page.h"

struct Options {
  long tracks = 10000;
  long files = 36;
  std::vector<long> samples;
};

static bool parseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    if (i + 1 >= argc) return false;
    std::string name = argv[i];
    const char* value = argv[++i];
    if (name == "--tracks") {
      options.tracks = strtol(value, nullptr, 10);
    } else if (name == "--files") {
      options.files = strtol(value, nullptr, 10);
    } else if (name == "--sample") {
      std::stringstream list(value);
      std::string item;
      while (std::getline(list, item, ','))
        options.samples.push_back(strtol(item.c_str(), nullptr, 10));
    } else {
      return false;
    }
  }
  return options.tracks >= 1 && options.files >= 2;
}

static std::string numbered(const char* what, long n) {
  return what + std::string(" ") + std::to_string(n);
}

static std::vector<modelplayer::Entry> writePlaylist(const std::string& folder, long files) {
  std::vector<modelplayer::Entry> playlist;
  for (long n = 0; n < files; ++n) {
    std::string path = folder + "/track-" + std::to_string(n) + ".mp3";
    auto frames =
        samplemp3::typicalFrames(numbered("Song", n), numbered("Band", n), numbered("Disc", n));
    if (!kit::writeFile(path, samplemp3::taggedTrack(frames, 64 * 417))) return {};
    playlist.push_back({path, numbered("Band", n) + " - " + numbered("Song", n)});
  }
  return playlist;
}

// The four requests of a new page, with track n's own address.
static bool sentNewPage(long n) {
  std::string address = std::string(LYRICS_BASE_ADDRESS) +
                        "plugin.php?title=" + numbered("Song", n) +
                        "&&artist=" + numbered("Band", n) + "&&album=" + numbered("Disc", n);
  bool sent = modelplayer::describedRequests() == modelplayer::pageRequests(address);
  modelplayer::clearBrowserRequests();
  return sent;
}

// The heap block of a log, its bookkeeping included (which, for a block mapped on its own,
// is most of a page).
static size_t blockBytes(const void* log) {
  return log == nullptr ? 0 : malloc_usable_size(const_cast<void*>(log)) + 2 * sizeof(size_t);
}

// The player's logs keep every message and request ever received: the model's, not the
// plug-in's.
static size_t playerLogBytes() {
  return blockBytes(modelplayer::mainWindowMessages().data()) +
         blockBytes(modelplayer::playlistWindowMessages().data()) +
         blockBytes(modelplayer::requestNumbers().data());
}

static void printHeap(long track) {
  struct mallinfo2 heap = mallinfo2();
  size_t inUse = heap.uordblks + heap.hblkhd;  // small blocks, and large ones mapped apart
  size_t logs = playerLogBytes();
  printf(
      "heap at track %ld: %zu bytes in use, %zu of them the model player's logs, "
      "%zu the rest\n",
      track, inUse, logs, inUse - logs);
}

// File by file rather than by a directory walk, whose buffers (32 KiB a level) would
// otherwise be the heap's peak of the whole run; a walk only for anything unforeseen.
static void removeScratch(const std::string& folder,
                          const std::vector<modelplayer::Entry>& playlist) {
  std::error_code ignored;
  for (const modelplayer::Entry& entry : playlist) std::filesystem::remove(entry.path, ignored);
  // The settings file, its Plugins folder and the player's folder.
  std::filesystem::path place = kit::settingsFileOnDisk();
  for (int level = 0; level < 3; ++level, place = place.parent_path()) {
    std::filesystem::remove(place, ignored);
  }
  if (!std::filesystem::remove(folder, ignored)) kit::removeFolder(folder);
}

static int playSession(const Options& options, const std::string& folder,
                       const std::vector<modelplayer::Entry>& playlist) {
  if (playlist.empty() || !kit::loadPlugin(folder)) {
    fprintf(stderr,
            "tunelore-long-session: the tracks were not written or the player did not start\n");
    return 1;
  }
  winampGeneralPurposePlugin* record = winampGetGeneralPurposePlugin();
  modelplayer::setPlaylist(playlist);
  record->init();
  modelplayer::clearBrowserRequests();  // the start-up page
  // Printed before the first heap sample, so that stdout's buffer is in every sample alike.
  printf("playing %ld track changes over %ld files\n", options.tracks, options.files);
  long wrong = 0;
  for (long track = 1; track <= options.tracks; ++track) {
    long position = (track - 1) % options.files;
    modelplayer::changeTrack((int)position);
    modelplayer::deliverPostedMessages();  // the player's message loop: its title notice
    if (!sentNewPage(position)) ++wrong;
    if (std::count(options.samples.begin(), options.samples.end(), track) > 0) printHeap(track);
  }
  record->quit();
  kit::unloadPlugin();
  printf("%ld track changes, %ld without the expected requests\n", options.tracks, wrong);
  return wrong == 0 ? 0 : 1;
}

int main(int argc, char** argv) {
  Options options;
  if (!parseOptions(argc, argv, options)) {
    fprintf(stderr, "usage: tunelore-long-session [--tracks N] [--files K] [--sample T,T,...]\n");
    return 2;
  }
  std::string folder = kit::scratchFolder("tunelore-long-session-" + std::to_string(getpid()));
  std::vector<modelplayer::Entry> playlist = writePlaylist(folder, options.files);
  int status = playSession(options, folder, playlist);
  removeScratch(folder, playlist);
  return status;
}
