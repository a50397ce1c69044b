// What every fuzz target shares: a folder of the process's own below $TMPDIR (made on first
// use, removed at exit), so that several fuzzers can run side by side, a fresh model player
// with the plug-in's state as it is right after loading, and a way to report a broken property.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "kit/files.h"
#include "kit/linked_plugin.h"

namespace fuzzcheck {

// A target's starting corpus, file names with their bytes: small, well-formed and deliberately
// broken inputs of its kind, so that the fuzzer starts from the layouts that matter instead of
// having to find them by chance. Each target defines it; fuzz/make_seeds.cpp writes it.
using Seeds = std::vector<std::pair<std::string, std::string>>;
Seeds seeds();

// Prints the broken property and aborts, so that libFuzzer keeps the input as a crash file.
[[noreturn]] inline void fail(const char* property, const std::string& detail) {
  std::fprintf(stderr, "\n*** broken property: %s\n%s\n", property, detail.c_str());
  std::fflush(stderr);
  std::abort();
}

// Never destroyed: the removal at exit still reads it.
inline const std::string& folder() {
  static const std::string* made = [] {
    auto* name = new std::string(kit::scratchFolder("tunelore-fuzz-" + std::to_string(getpid())));
    std::atexit([] { kit::removeFolder(folder()); });
    return name;
  }();
  return *made;
}

// Forgets the previous input: the model of Windows, the player and the plug-in's state; then
// plays the given playlist, if any, from its first entry.
inline void startPlayer(const std::vector<modelplayer::Entry>& playlist = {}) {
  if (!kit::loadPlugin(folder())) fail("kit::loadPlugin", folder());
  if (playlist.empty()) return;
  modelplayer::setPlaylist(playlist);
  modelplayer::setPosition(0);
}

// The text in a buffer of `size` bytes, which must hold its terminator.
inline std::string terminated(const std::string& name, const char* buffer, size_t size) {
  const char* end = (const char*)std::memchr(buffer, '\0', size);
  if (end == nullptr) fail("terminated within its buffer", name);
  return std::string(buffer, end);
}

}  // namespace fuzzcheck

#define FUZZ_CHECK(condition, detail)                                   \
  do {                                                                  \
    if (!(condition)) fuzzcheck::fail(#condition, std::string(detail)); \
  } while (0)
