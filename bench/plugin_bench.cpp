// What the plug-in costs the player, measured side by side with the floor it stands on:
//   hook/...    an unwatched message through the main-window hook against the player's own
//               procedure, sent with SendMessageA and called directly;
//   update/...  the update for a new track and for the track already shown;
//   bare/...    id3lib alone on the same file: ID3Tag_New, ID3Tag_Link, three frames, Delete;
//   bare-v1v2/, bare-memory/  two other ways of having id3lib read the same frames, for
//               comparison only (bench/id3_reading.h);
// each on a small track and on the same tag in front of 5 MB and 100 MB of audio.
// bench/ratios.py turns the JSON output into the table of ratios in docs/benchmarks.md.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "bench/id3_reading.h"
#include "bench/model_session.h"
#include "tracking/lyrics_page.h"
#include "tracking/song_change.h"
#include "tracking/track_metadata.h"
#include "tracking/tracking_state.h"

static const UINT UNWATCHED_MESSAGE = WM_USER + 77;
// The model player logs every message it receives, and its logs keep their room when it
// stops. A fixed count of messages per run, with the logs grown to it once beforehand, keeps
// the logs' growth (reallocation, fresh pages) out of the nanoseconds measured.
static const int64_t HOOK_ITERATIONS = 20000000;

static std::string scratch;
static std::string smallTrackA, smallTrackB;  // two tracks so that every update is a new one
static std::string track5MB, track100MB;

// One model player per benchmark run, taken down again when the run ends.
class Player {
 public:
  explicit Player(benchmark::State& state) : started_(benchsession::startPlayer(scratch)) {
    if (!started_) state.SkipWithError("the model player did not start");
  }
  ~Player() { benchsession::stopPlayer(); }
  bool started() const { return started_; }

 private:
  bool started_;
};

// ---- a. pass-through of a message the hooks do not watch -------------------------------

static void sendUnwatched(benchmark::State& state, HWND (*window)(), bool hooked) {
  Player player(state);
  if (!player.started()) return;
  if (hooked) installHooks(nullptr);
  HWND target = window();
  for (auto _ : state) benchmark::DoNotOptimize(SendMessageA(target, UNWATCHED_MESSAGE, 0, 0));
}

static void callUnwatched(benchmark::State& state, HWND (*window)(), WNDPROC hook) {
  Player player(state);
  if (!player.started()) return;
  HWND target = window();
  WNDPROC procedure = (WNDPROC)GetWindowLongPtrW(target, GWLP_WNDPROC);  // the player's own
  if (hook != nullptr) {
    installHooks(nullptr);
    procedure = hook;
  }
  for (auto _ : state) benchmark::DoNotOptimize(procedure(target, UNWATCHED_MESSAGE, 0, 0));
}

// ---- b, c, d. the update and the bare id3lib reading ------------------------------------

static void countUnexpectedRequests(size_t expected, int64_t& wrong) {
  if (modelplayer::browserRequests().size() != expected) ++wrong;
  modelplayer::clearBrowserRequests();  // or the model's record would grow with the run
}

static void reportWrong(benchmark::State& state, int64_t wrong) {
  if (wrong != 0) state.SkipWithError("an update did not send what it should");
}

// A new track each time: the playlist alternates between two tracks.
static void updateAlternating(benchmark::State& state) {
  Player player(state);
  if (!player.started()) return;
  installHooks(nullptr);
  modelplayer::setPlaylist({{smallTrackA, "Band A - Song A"}, {smallTrackB, "Band B - Song B"}});
  int next = 0;
  int64_t wrong = 0;
  for (auto _ : state) {
    modelplayer::setPosition(next);
    next ^= 1;
    updateLyricsPage();
    countUnexpectedRequests(4, wrong);
  }
  reportWrong(state, wrong);
}

// A new track each time on one file: the last address is forgotten before each update.
static void updateForgetting(benchmark::State& state, const std::string* track) {
  Player player(state);
  if (!player.started()) return;
  installHooks(nullptr);
  modelplayer::setPlaylist({{*track, "Band - Song"}});
  int64_t wrong = 0;
  for (auto _ : state) {
    tracking.lastPageAddress[0] = '\0';
    updateLyricsPage();
    countUnexpectedRequests(4, wrong);
  }
  reportWrong(state, wrong);
}

// The track already shown: the update reads and composes, compares, and sends nothing.
static void updateRepeat(benchmark::State& state, const std::string* track) {
  Player player(state);
  if (!player.started()) return;
  installHooks(nullptr);
  modelplayer::setPlaylist({{*track, "Band - Song"}});
  updateLyricsPage();
  modelplayer::clearBrowserRequests();
  for (auto _ : state) updateLyricsPage();
  if (!modelplayer::browserRequests().empty()) state.SkipWithError("a repeat sent requests");
}

// The two steps of the repeat path on their own.
static void gatherAlternating(benchmark::State& state) {
  Player player(state);
  if (!player.started()) return;
  installHooks(nullptr);
  modelplayer::setPlaylist({{smallTrackA, "Band A - Song A"}, {smallTrackB, "Band B - Song B"}});
  TrackInfo info;
  int next = 0;
  for (auto _ : state) {
    gatherTrackInfo(next, info);
    next ^= 1;
    benchmark::DoNotOptimize(info.title[0]);
  }
  if (info.album[0] == '\0') state.SkipWithError("the tag was not read");
}

static void composeAddress(benchmark::State& state) {
  TrackInfo info = {};
  snprintf(info.title, sizeof info.title, "%s", "Song A");
  snprintf(info.artist, sizeof info.artist, "%s", "Band A");
  snprintf(info.album, sizeof info.album, "%s", "Disc A");
  char address[PAGE_ADDRESS_SIZE];
  for (auto _ : state) {
    composePageAddress(info, address);
    benchmark::DoNotOptimize(address[0]);
  }
}

using id3reading::Link;

// What the update cannot do without: id3lib's reading of the three frames.
static void bare(benchmark::State& state, const std::string* first, const std::string* second,
                 Link link) {
  const char* paths[2] = {first->c_str(), second->c_str()};
  id3reading::Fields fields;
  int next = 0;
  int missing = 0;
  for (auto _ : state) {
    missing += 3 - id3reading::readFields(paths[next], link, fields);
    benchmark::DoNotOptimize(fields.text[0][0]);
    next ^= 1;
  }
  if (missing != 0) state.SkipWithError("a frame was missing");
}

static bool growMessageLogs() {
  if (!benchsession::startPlayer(scratch)) return false;
  for (int64_t n = 0; n <= HOOK_ITERATIONS; ++n) {
    SendMessageA(modelplayer::mainWindow(), UNWATCHED_MESSAGE, 0, 0);
    SendMessageA(modelplayer::playlistWindow(), UNWATCHED_MESSAGE, 0, 0);
  }
  benchsession::stopPlayer();
  return true;
}

static void registerAll() {
  using benchmark::RegisterBenchmark;
  RegisterBenchmark("hook/send/player", sendUnwatched, modelplayer::mainWindow, false)
      ->Iterations(HOOK_ITERATIONS);
  RegisterBenchmark("hook/send/hooked", sendUnwatched, modelplayer::mainWindow, true)
      ->Iterations(HOOK_ITERATIONS);
  RegisterBenchmark("hook/call/player", callUnwatched, modelplayer::mainWindow, nullptr)
      ->Iterations(HOOK_ITERATIONS);
  RegisterBenchmark("hook/call/hook", callUnwatched, modelplayer::mainWindow, mainWindowHook)
      ->Iterations(HOOK_ITERATIONS);
  RegisterBenchmark("hook/send/playlist-player", sendUnwatched, modelplayer::playlistWindow, false)
      ->Iterations(HOOK_ITERATIONS);
  RegisterBenchmark("hook/send/playlist-hooked", sendUnwatched, modelplayer::playlistWindow, true)
      ->Iterations(HOOK_ITERATIONS);

  RegisterBenchmark("update/new/small", updateAlternating);
  RegisterBenchmark("update/new/5MB", updateForgetting, &track5MB);
  RegisterBenchmark("update/new/100MB", updateForgetting, &track100MB);
  RegisterBenchmark("update/repeat/small", updateRepeat, &smallTrackA);
  RegisterBenchmark("update/repeat/100MB", updateRepeat, &track100MB);
  RegisterBenchmark("update/gather/small", gatherAlternating);
  RegisterBenchmark("update/compose", composeAddress);

  const struct {
    const char* name;
    Link link;
  } links[] = {{"bare", Link::Default}, {"bare-v1v2", Link::V1V2}, {"bare-memory", Link::Memory}};
  for (const auto& link : links) {
    std::string name = link.name;
    RegisterBenchmark((name + "/small").c_str(), bare, &smallTrackA, &smallTrackB, link.link);
    RegisterBenchmark((name + "/5MB").c_str(), bare, &track5MB, &track5MB, link.link);
    RegisterBenchmark((name + "/100MB").c_str(), bare, &track100MB, &track100MB, link.link);
  }
}

static bool writeTracks() {
  using benchsession::typicalFrames;
  using benchsession::writeTrack;
  smallTrackA = scratch + "/small-a.mp3";
  smallTrackB = scratch + "/small-b.mp3";
  track5MB = scratch + "/5MB.mp3";
  track100MB = scratch + "/100MB.mp3";
  const size_t EIGHT_FRAMES = 8 * 417;
  return writeTrack(smallTrackA, typicalFrames("Song A", "Band A", "Disc A"), EIGHT_FRAMES) &&
         writeTrack(smallTrackB, typicalFrames("Song B", "Band B", "Disc B"), EIGHT_FRAMES) &&
         writeTrack(track5MB, typicalFrames("Song A", "Band A", "Disc A"), 5000000) &&
         writeTrack(track100MB, typicalFrames("Song A", "Band A", "Disc A"), 100000000);
}

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  scratch = benchsession::makeScratchFolder("tunelore-bench");
  int status = 0;
  if (!writeTracks()) {
    fprintf(stderr, "tunelore-bench: cannot write the tracks into %s\n", scratch.c_str());
    status = 1;
  } else if (!growMessageLogs()) {
    fprintf(stderr, "tunelore-bench: the model player did not start\n");
    status = 1;
  } else {
    registerAll();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
  }
  benchsession::removeFolder(scratch);
  return status;
}
