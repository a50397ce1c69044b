// What every fuzz target shares: a folder of the process's own, a fresh model player with
// the plug-in's state as it is right after loading, and a way to report a broken property.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzzmodel {

// The process's own folder below $TMPDIR (made on first use, removed at exit), so that
// several fuzzers can run side by side.
const std::string& folder();

// Forgets the previous input: resets the Windows model and the plug-in's state, prepares
// the player's folder, starts the model player and fills in the plug-in's record.
void startPlayer();
void stopPlayer();

// The settings file as the plug-in names it, its section, and where it lies on disk (once
// startPlayer has set the drive root).
extern const char SETTINGS_FILE[];
extern const char PLUGIN_FILE_NAME[];
std::string settingsFileOnDisk();

bool writeFile(const std::string& path, const uint8_t* data, size_t size);

// Prints the broken property and aborts, so that libFuzzer keeps the input as a crash file.
[[noreturn]] void fail(const char* property, const std::string& detail);

}  // namespace fuzzmodel

#define FUZZ_CHECK(condition, detail)                                   \
  do {                                                                  \
    if (!(condition)) fuzzmodel::fail(#condition, std::string(detail)); \
  } while (0)
