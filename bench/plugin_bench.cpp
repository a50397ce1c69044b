// What the plug-in costs the player, measured side by side with the floor it stands on:
//   hook/...    an unwatched message through the main-window hook against the player's own
//               procedure, sent and called directly, on today's Unicode windows and on ANSI
//               ones (ansi-);
//   update/...  the update for a new track and for the track already shown, from the tag or
//               from the player's reading of an untagged file (player-info);
//   change/...  one press of the next button on today's player and the message loop after
//               it: every update the change brings about;
//   bare/...    id3lib alone on the same file, reading the three frames as the plug-in does
//               (bench/id3_reading.h);
// each on a small track, on the same tag in front of 5 MB and 100 MB of audio, and with a
// 3 MB cover picture in the tag.
// bench/ratios.py turns the JSON output into the table of ratios in docs/benchmarks.md.
#include <benchmark/benchmark.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "bench/id3_reading.h"
#include "kit/files.h"
#include "kit/linked_plugin.h"
#include "kit/player_numbers.h"
#include "kit/sample_mp3.h"
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

// A track written into the scratch folder by writeTracks.
static std::string track(const char* name) { return scratch + "/" + name + ".mp3"; }

// Today's player: Unicode windows (as by default), no mini-browser.
static modelplayer::Options todaysPlayer() {
  modelplayer::Options options;
  options.version = playernumbers::TODAYS_VERSION;
  options.miniBrowser = false;
  return options;
}

// One model player per benchmark run, playing `playlist`, with the plug-in's hooks unless
// told, taken down again when the run ends.
class Player {
 public:
  explicit Player(benchmark::State& state, const std::vector<modelplayer::Entry>& playlist = {},
                  const modelplayer::Options& options = modelplayer::Options(), bool hooked = true)
      : state_(state), started_(kit::loadPlugin(scratch, options)) {
    if (!started_) state.SkipWithError("the model player did not start");
    if (started_ && hooked) installHooks(nullptr);
    modelplayer::setPlaylist(playlist);
  }
  ~Player() {
    if (wrongPages_ != 0) state_.SkipWithError("an update did not send what it should");
    kit::unloadPlugin();
  }
  bool started() const { return started_; }

  // A new page: its four requests, and an album in its address, which the display title (the
  // last resort) cannot give.
  void checkNewPage() {
    const std::vector<modelplayer::BrowserRequest>& sent = modelplayer::browserRequests();
    if (sent.size() != 4 || sent[2].address.find("&&album=Disc ") == std::string::npos) {
      ++wrongPages_;
    }
    modelplayer::clearBrowserRequests();  // or the model's record would grow with the run
  }

 private:
  benchmark::State& state_;
  bool started_;
  int64_t wrongPages_ = 0;
};

// ---- a. pass-through of a message the hooks do not watch -------------------------------

// Sent in the window's own character set, as the player's message loop dispatches it.
static void sendUnwatched(benchmark::State& state, HWND (*window)(), bool hooked,
                          modelplayer::Options options) {
  Player player(state, {}, options, hooked);
  if (!player.started()) return;
  HWND target = window();
  auto send = options.unicodeWindows ? SendMessageW : SendMessageA;
  for (auto _ : state) benchmark::DoNotOptimize(send(target, UNWATCHED_MESSAGE, 0, 0));
}

static void callUnwatched(benchmark::State& state, HWND (*window)(), WNDPROC hook,
                          modelplayer::Options options) {
  Player player(state, {}, options, false);
  if (!player.started()) return;
  HWND target = window();
  // The player's own, read in the window's character set so that it is callable.
  WNDPROC procedure = (WNDPROC)modelplayer::currentProcedure(target);
  if (hook != nullptr) {
    installHooks(nullptr);
    procedure = hook;
  }
  for (auto _ : state) benchmark::DoNotOptimize(procedure(target, UNWATCHED_MESSAGE, 0, 0));
}

// ---- b, c, d. the update and the bare id3lib reading ------------------------------------

// The two tracks as the player lists them, with what its decoder reads from each file, which
// the plug-in asks for only where the tag gives neither title nor artist.
static std::vector<modelplayer::Entry> playlistOf(const std::string& first,
                                                  const std::string& second) {
  namespace key = playernumbers::infokey;
  auto entry = [](const std::string& path, const std::string& letter) {
    modelplayer::Entry listed{path, "Band " + letter + " - Song " + letter};
    listed.info = {{key::TITLE, "Song " + letter},
                   {key::ARTIST, "Band " + letter},
                   {key::ALBUM, "Disc " + letter}};
    return listed;
  };
  return {entry(first, "A"), entry(second, "B")};
}

// A new track each time: the playlist alternates between two tracks.
static void updateAlternating(benchmark::State& state, const std::string& first,
                              const std::string& second) {
  Player player(state, playlistOf(first, second));
  if (!player.started()) return;
  int next = 0;
  for (auto _ : state) {
    modelplayer::setPosition(next);
    next ^= 1;
    updateLyricsPage();
    player.checkNewPage();
  }
}

// A new track each time on one file: the last address and the last tag reading are
// forgotten before each update.
static void updateForgetting(benchmark::State& state, const std::string& path) {
  Player player(state, {{path, "Band - Song"}});
  if (!player.started()) return;
  for (auto _ : state) {
    tracking.lastPageAddress[0] = '\0';
    tracking.lastTagReading.file[0] = '\0';
    updateLyricsPage();
    player.checkNewPage();
  }
}

// Beside a change's time, what it costs in files: the bytes the process has read()
// (kit::bytesRead) and the opens of files in the scratch folder, counted from the IN_OPEN
// events inotify has queued so far; false when the queue overflowed.
static bool countOpens(int watch, int64_t& opens) {
  alignas(struct inotify_event) char events[65536];
  ssize_t length;
  while ((length = read(watch, events, sizeof events)) > 0) {
    for (char* at = events; at < events + length;) {
      const struct inotify_event* event = (const struct inotify_event*)at;
      if ((event->mask & IN_Q_OVERFLOW) != 0) return false;
      if ((event->mask & IN_OPEN) != 0) ++opens;
      at += sizeof *event + event->len;
    }
  }
  return true;
}

// One press of the next button on today's player, then its message loop, which delivers the
// title notice the player posted: every update the change brings about, counted by the
// position request each of them sends once, with the files opened and the bytes read.
static void nextTrack(benchmark::State& state, const std::string& first,
                      const std::string& second) {
  Player player(state, playlistOf(first, second), todaysPlayer());
  if (!player.started()) return;
  modelplayer::pressNext();  // playing from here on
  modelplayer::deliverPostedMessages();
  modelplayer::clearBrowserRequests();
  const LPARAM POSITION = playernumbers::request::GETLISTPOS;
  int before = modelplayer::countRequests(POSITION);
  int watch = inotify_init1(IN_NONBLOCK);
  // Closes too: inotify merges an event into an identical one still unread, such as two
  // opens of the same file with nothing between them.
  if (watch < 0 || inotify_add_watch(watch, scratch.c_str(), IN_OPEN | IN_CLOSE_NOWRITE) < 0) {
    state.SkipWithError("no inotify watch on the scratch folder");
    if (watch >= 0) close(watch);
    return;
  }
  int64_t opens = 0;
  bool counted = true;
  long long bytesBefore = kit::bytesRead();
  int64_t changes = 0;
  for (auto _ : state) {
    modelplayer::pressNext();
    modelplayer::deliverPostedMessages();
    player.checkNewPage();
    // The watch's queue holds 16,384 events by default: emptied long before that.
    if ((++changes & 1023) == 0) {
      state.PauseTiming();
      counted = countOpens(watch, opens) && counted;
      state.ResumeTiming();
    }
  }
  long long bytesAfter = kit::bytesRead();
  counted = countOpens(watch, opens) && counted;
  close(watch);
  state.counters["updates"] = benchmark::Counter(modelplayer::countRequests(POSITION) - before,
                                                 benchmark::Counter::kAvgIterations);
  state.counters["opens"] = benchmark::Counter((double)opens, benchmark::Counter::kAvgIterations);
  state.counters["bytesRead"] =
      benchmark::Counter((double)(bytesAfter - bytesBefore), benchmark::Counter::kAvgIterations);
  if (!counted || bytesBefore < 0) state.SkipWithError("the opens or bytes were not counted");
}

// The track already shown: the update reads and composes, compares, and sends nothing.
static void updateRepeat(benchmark::State& state, const std::string& path) {
  Player player(state, {{path, "Band - Song"}});
  if (!player.started()) return;
  updateLyricsPage();
  modelplayer::clearBrowserRequests();
  for (auto _ : state) updateLyricsPage();
  if (!modelplayer::browserRequests().empty()) state.SkipWithError("a repeat sent requests");
}

// The two steps of the repeat path on their own.
static void gatherAlternating(benchmark::State& state) {
  Player player(state, playlistOf(track("small-a"), track("small-b")));
  if (!player.started()) return;
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
  const TrackInfo info = {"Band A", "Song A", "Disc A"};  // artist, title, album
  char address[PAGE_ADDRESS_SIZE];
  for (auto _ : state) {
    composePageAddress(info, address);
    benchmark::DoNotOptimize(address[0]);
  }
}

// What the update cannot do without: id3lib's reading of the three frames.
static void bare(benchmark::State& state, const std::string& first, const std::string& second) {
  const char* paths[2] = {first.c_str(), second.c_str()};
  id3reading::Fields fields;
  int next = 0;
  int missing = 0;
  for (auto _ : state) {
    missing += 3 - id3reading::readFields(paths[next], fields);
    benchmark::DoNotOptimize(fields.text[0][0]);
    next ^= 1;
  }
  if (missing != 0) state.SkipWithError("a frame was missing");
}

static bool growMessageLogs() {
  if (!kit::loadPlugin(scratch)) return false;
  for (int64_t n = 0; n <= HOOK_ITERATIONS; ++n) {
    SendMessageA(modelplayer::mainWindow(), UNWATCHED_MESSAGE, 0, 0);
    SendMessageA(modelplayer::playlistWindow(), UNWATCHED_MESSAGE, 0, 0);
  }
  kit::unloadPlugin();
  return true;
}

static void registerAll() {
  using benchmark::RegisterBenchmark;
  using modelplayer::mainWindow;
  using modelplayer::playlistWindow;
  const modelplayer::Options today = todaysPlayer();
  modelplayer::Options ansi;  // a 5.0 player's ANSI windows
  ansi.unicodeWindows = false;
  // A fixed count each: the message logs were grown to it beforehand.
  benchmark::internal::Benchmark* hooks[] = {
      RegisterBenchmark("hook/send/player", sendUnwatched, mainWindow, false, today),
      RegisterBenchmark("hook/send/hooked", sendUnwatched, mainWindow, true, today),
      RegisterBenchmark("hook/call/player", callUnwatched, mainWindow, nullptr, today),
      RegisterBenchmark("hook/call/hook", callUnwatched, mainWindow, mainWindowHook, today),
      RegisterBenchmark("hook/send/playlist-player", sendUnwatched, playlistWindow, false, today),
      RegisterBenchmark("hook/send/playlist-hooked", sendUnwatched, playlistWindow, true, today),
      RegisterBenchmark("hook/send/ansi-player", sendUnwatched, mainWindow, false, ansi),
      RegisterBenchmark("hook/send/ansi-hooked", sendUnwatched, mainWindow, true, ansi),
      RegisterBenchmark("hook/call/ansi-player", callUnwatched, mainWindow, nullptr, ansi),
      RegisterBenchmark("hook/call/ansi-hook", callUnwatched, mainWindow, mainWindowHook, ansi),
  };
  for (benchmark::internal::Benchmark* hook : hooks) hook->Iterations(HOOK_ITERATIONS);

  const std::string small[] = {track("small-a"), track("small-b")};
  const std::string picture[] = {track("picture-a"), track("picture-b")};
  const std::string untagged[] = {track("untagged-a"), track("untagged-b")};
  const std::string mb5 = track("5MB"), mb100 = track("100MB");
  RegisterBenchmark("update/new/small", updateAlternating, small[0], small[1]);
  RegisterBenchmark("update/new/5MB", updateForgetting, mb5);
  RegisterBenchmark("update/new/100MB", updateForgetting, mb100);
  RegisterBenchmark("update/new/picture3MB", updateAlternating, picture[0], picture[1]);
  RegisterBenchmark("update/new/player-info", updateAlternating, untagged[0], untagged[1]);
  RegisterBenchmark("update/repeat/small", updateRepeat, small[0]);
  RegisterBenchmark("update/repeat/100MB", updateRepeat, mb100);
  RegisterBenchmark("update/gather/small", gatherAlternating);
  RegisterBenchmark("update/compose", composeAddress);
  RegisterBenchmark("change/next/small", nextTrack, small[0], small[1]);
  RegisterBenchmark("change/next/picture3MB", nextTrack, picture[0], picture[1]);
  RegisterBenchmark("bare/small", bare, small[0], small[1]);
  RegisterBenchmark("bare/5MB", bare, mb5, mb5);
  RegisterBenchmark("bare/100MB", bare, mb100, mb100);
  RegisterBenchmark("bare/picture3MB", bare, picture[0], picture[1]);
}

// Pairs of tracks, so that every update is a new one; the same tag in front of 5 MB and
// 100 MB of audio; a 3 MB cover picture in the tag; no tag at all.
static bool writeTracks() {
  auto tag = [](const std::string& letter, bool picture = false) {
    auto frames = samplemp3::typicalFrames("Song " + letter, "Band " + letter, "Disc " + letter);
    if (picture) frames.push_back(samplemp3::coverPicture(3000000));
    return frames;
  };
  // Eight audio frames, 3.3 KB, unless told.
  auto write = [](const char* name, const samplemp3::TextFrames& frames, size_t audio = 8 * 417) {
    return kit::writeFile(track(name), samplemp3::taggedTrack(frames, audio));
  };
  return write("small-a", tag("A")) && write("small-b", tag("B")) &&
         write("picture-a", tag("A", true)) && write("picture-b", tag("B", true)) &&
         write("untagged-a", {}) && write("untagged-b", {}) && write("5MB", tag("A"), 5000000) &&
         write("100MB", tag("A"), 100000000);
}

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  scratch = kit::scratchFolder("tunelore-bench-" + std::to_string(getpid()));
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
  kit::removeFolder(scratch);
  return status;
}
