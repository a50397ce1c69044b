// What every fuzz target shares: a folder of the process's own below $TMPDIR (made on first
// use, removed at exit), so that several fuzzers can run side by side, a fresh model player
// with the plug-in's state as it is right after loading, and a way to report a broken property.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "kit/files.h"
#include "kit/linked_plugin.h"

namespace fuzzcheck {

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

// Forgets the previous input: the model of Windows, the player and the plug-in's state.
inline void startPlayer() {
  if (!kit::loadPlugin(folder())) fail("kit::loadPlugin", folder());
}

}  // namespace fuzzcheck

#define FUZZ_CHECK(condition, detail)                                   \
  do {                                                                  \
    if (!(condition)) fuzzcheck::fail(#condition, std::string(detail)); \
  } while (0)
