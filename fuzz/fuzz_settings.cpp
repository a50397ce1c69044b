// Any bytes as the settings file: load, save and load again must give the same switches,
// and everything in the file that is not one of the plug-in's switches must read the same
// after the save as before.
#include <windows.h>

#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "fuzz/fuzz_model.h"
#include "settings/settings.h"

static const char* const SWITCH_KEYS[] = {"bDisabledPlugin", "bDisabledStartUp",
                                          "bDisabledAutoOpen"};
static const int READ_SIZE = 4096;
static const char MISSING[] = "\x01missing";

static std::string lowerTrimmed(std::string text) {
  size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  text = text.substr(first, text.find_last_not_of(" \t") - first + 1);
  for (char& c : text) c = (char)tolower((unsigned char)c);
  return text;
}

static bool isSwitchKey(const std::string& key) {
  for (const char* name : SWITCH_KEYS) {
    if (lowerTrimmed(key) == lowerTrimmed(name)) return true;
  }
  return false;
}

using Names = std::vector<std::pair<std::string, std::string>>;  // section, key

// Section and key names as the file's lines spell them; the values are then asked of the
// profile calls, so that this reading need not agree with theirs on anything else.
static Names namesIn(const std::string& content) {
  Names names;
  std::string section;
  bool inSection = false;
  size_t at = 0;
  while (at < content.size()) {
    size_t end = content.find_first_of("\r\n", at);
    if (end == std::string::npos) end = content.size();
    std::string line = content.substr(at, end - at);
    at = end + 1;
    line.resize(strlen(line.c_str()));
    size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos) continue;
    if (line[first] == '[') {
      size_t close = line.find(']', first);
      section = line.substr(first + 1, (close == std::string::npos ? line.size() : close) - first - 1);
      inSection = true;
      continue;
    }
    size_t equals = line.find('=');
    if (!inSection || equals == std::string::npos || equals <= first) continue;
    std::string key = line.substr(first, equals - first);
    key.erase(key.find_last_not_of(" \t") + 1);
    if (key.empty()) continue;
    if (lowerTrimmed(section) == fuzzmodel::PLUGIN_FILE_NAME && isSwitchKey(key)) continue;
    names.emplace_back(section, key);
  }
  return names;
}

static std::map<std::pair<std::string, std::string>, std::string> valuesOf(const Names& names) {
  std::map<std::pair<std::string, std::string>, std::string> values;
  std::vector<char> value(READ_SIZE);
  for (const auto& name : names) {
    GetPrivateProfileStringA(name.first.c_str(), name.second.c_str(), MISSING, value.data(),
                             READ_SIZE, fuzzmodel::SETTINGS_FILE);
    values[name] = value.data();
  }
  return values;
}

struct Switches {
  bool plugin, startUp, autoOpen;
  bool operator==(const Switches& other) const {
    return plugin == other.plugin && startUp == other.startUp && autoOpen == other.autoOpen;
  }
};

static Switches current() { return {bDisabledPlugin, bDisabledStartUp, bDisabledAutoOpen}; }

static std::string describe(const Switches& switches) {
  auto word = [](bool set) { return set ? std::string("TRUE") : std::string("FALSE"); };
  return word(switches.plugin) + " " + word(switches.startUp) + " " + word(switches.autoOpen);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzmodel::startPlayer();
  std::string content(reinterpret_cast<const char*>(data), size);
  FUZZ_CHECK(fuzzmodel::writeFile(fuzzmodel::settingsFileOnDisk(), data, size), "settings file");
  Names names = namesIn(content);
  auto before = valuesOf(names);

  loadSettings(fuzzmodel::PLUGIN_FILE_NAME);
  Switches loaded = current();
  saveSettings(fuzzmodel::PLUGIN_FILE_NAME);
  // Scrambled, so that a load that leaves them alone cannot pass for one that read them.
  bDisabledPlugin = !loaded.plugin;
  bDisabledStartUp = !loaded.startUp;
  bDisabledAutoOpen = !loaded.autoOpen;
  loadSettings(fuzzmodel::PLUGIN_FILE_NAME);
  FUZZ_CHECK(current() == loaded, "loaded " + describe(loaded) + ", after the round trip " +
                                      describe(current()));

  char value[32];
  const bool* switches[] = {&loaded.plugin, &loaded.startUp, &loaded.autoOpen};
  for (int i = 0; i < 3; ++i) {
    GetPrivateProfileStringA(fuzzmodel::PLUGIN_FILE_NAME, SWITCH_KEYS[i], MISSING, value,
                             sizeof value, fuzzmodel::SETTINGS_FILE);
    FUZZ_CHECK(strcmp(value, *switches[i] ? "TRUE" : "FALSE") == 0,
               std::string(SWITCH_KEYS[i]) + " reads back as [" + value + "]");
  }

  auto after = valuesOf(names);
  for (const auto& entry : before) {
    const std::string& now = after[entry.first];
    FUZZ_CHECK(now == entry.second, "[" + entry.first.first + "] " + entry.first.second +
                                        " was [" + entry.second + "], after the save [" + now +
                                        "]");
  }
  fuzzmodel::stopPlayer();
  return 0;
}
