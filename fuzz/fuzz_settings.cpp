// Any bytes as the settings file: load, save and load again must give the same switches,
// and everything in the file that is not one of the plug-in's switches must read the same
// after the save as before.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "settings/settings.h"

static const char* const SWITCH_KEYS[] = {"bDisabledPlugin", "bDisabledStartUp",
                                          "bDisabledAutoOpen"};
static bool* const SWITCHES[] = {&bDisabledPlugin, &bDisabledStartUp, &bDisabledAutoOpen};
static const int READ_SIZE = 4096;
static const size_t MOST_NAMES = 64;  // each lookup parses the whole file again
static const char MISSING[] = "\x01missing";
static const char NEUTRAL_SECTION[] = "tunelore fuzz neutral write";

// Names as the profile calls match them: up to a NUL, blanks around them dropped (Control-Z
// counts as one), ASCII letters in either case.
static std::string matchForm(std::string text) {
  text.resize(strlen(text.c_str()));
  auto blank = [](char c) { return (c >= 0x09 && c <= 0x0D) || c == 0x1A || c == ' '; };
  size_t begin = 0, end = text.size();
  while (begin < end && blank(text[begin])) ++begin;
  while (end > begin && blank(text[end - 1])) --end;
  text = text.substr(begin, end - begin);
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = (char)(c - 'A' + 'a');
  }
  return text;
}

// Whether a lookup of this section and key could reach one of the plug-in's own switches.
static bool isPluginSwitch(const std::string& section, const std::string& key) {
  if (matchForm(section) != matchForm(kit::pluginFileName().c_str())) return false;
  for (const char* name : SWITCH_KEYS) {
    if (matchForm(key) == matchForm(name)) return true;
  }
  return false;
}

using Name = std::pair<std::string, std::string>;  // section, key

// Section and key names as the file's lines spell them; the values are then asked of the
// profile calls, so that this reading need not agree with theirs on anything else.
static std::vector<Name> namesIn(const std::string& content) {
  std::set<Name> names;
  std::string section;  // lines before the first header belong to the nameless section
  size_t at = 0;
  while (at < content.size() && names.size() < MOST_NAMES) {
    size_t end = content.find_first_of("\r\n", at);
    if (end == std::string::npos) end = content.size();
    std::string line = content.substr(at, end - at);
    at = end + 1;
    size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos) continue;
    if (line[first] == '[') {
      size_t close = line.find(']', first);
      section =
          line.substr(first + 1, (close == std::string::npos ? line.size() : close) - first - 1);
      continue;
    }
    size_t equals = line.find('=');
    if (equals == std::string::npos || equals <= first) continue;
    std::string key = line.substr(first, equals - first);
    if (matchForm(key).empty() || isPluginSwitch(section, key)) continue;
    names.insert({section, key});
  }
  return std::vector<Name>(names.begin(), names.end());
}

static std::map<Name, std::string> valuesOf(const std::vector<Name>& names) {
  std::map<Name, std::string> values;
  std::vector<char> value(READ_SIZE);
  for (const Name& name : names) {
    GetPrivateProfileStringA(name.first.c_str(), name.second.c_str(), MISSING, value.data(),
                             READ_SIZE, kit::settingsFile().c_str());
    values[name] = value.data();
  }
  return values;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzcheck::startPlayer();
  std::string content(reinterpret_cast<const char*>(data), size);
  FUZZ_CHECK(kit::writeFile(kit::settingsFileOnDisk(), content), "settings file");
  std::vector<Name> names = namesIn(content);
  // The profile calls rewrite the whole file from their own reading of it, which by itself can
  // move lines between sections (a "[]" header is not written back). Unless the strict check
  // is asked for (TUNELORE_FUZZ_STRICT=1), a write into a section of no concern first puts the
  // file in that form, so that only what the plug-in's own writes change counts.
  static const char* const strict = getenv("TUNELORE_FUZZ_STRICT");
  if (strict == nullptr || strcmp(strict, "1") != 0) {
    WritePrivateProfileStringA(NEUTRAL_SECTION, "key", "value", kit::settingsFile().c_str());
  }
  auto before = valuesOf(names);

  loadSettings(kit::pluginFileName().c_str());
  bool loaded[3];
  for (int i = 0; i < 3; ++i) loaded[i] = *SWITCHES[i];
  saveSettings(kit::pluginFileName().c_str());
  // Scrambled, so that a load that leaves them alone cannot pass for one that read them.
  for (int i = 0; i < 3; ++i) *SWITCHES[i] = !loaded[i];
  loadSettings(kit::pluginFileName().c_str());

  char value[32];
  for (int i = 0; i < 3; ++i) {
    const char* expected = loaded[i] ? "TRUE" : "FALSE";
    FUZZ_CHECK(*SWITCHES[i] == loaded[i],
               std::string(SWITCH_KEYS[i]) + " loaded " + expected + ", not after the round trip");
    GetPrivateProfileStringA(kit::pluginFileName().c_str(), SWITCH_KEYS[i], MISSING, value,
                             sizeof value, kit::settingsFile().c_str());
    FUZZ_CHECK(strcmp(value, expected) == 0,
               std::string(SWITCH_KEYS[i]) + " reads back as [" + value + "]");
  }

  auto after = valuesOf(names);
  for (const auto& entry : before) {
    const std::string& now = after[entry.first];
    FUZZ_CHECK(now == entry.second, "[" + entry.first.first + "] " + entry.first.second + " was [" +
                                        entry.second + "], after the save [" + now + "]");
  }
  kit::unloadPlugin();
  return 0;
}

// The starting corpus.
fuzzcheck::Seeds fuzzcheck::seeds() {
  static const char BINARY[] = "[a]\nk=\0v\n[gen_tunelore.dll\x80]\n\xFF=\xFE\n";
  return {
      {"saved", kit::savedSwitches("gen_tunelore.dll", false, true, false)},
      {"bom", "\xEF\xBB\xBF[gen_tunelore.dll]\r\nbDisabledPlugin=TRUE\r\n"},
      {"other_sections",
       "[other.dll]\nkey=value\nbDisabledPlugin=keep\n[gen_tunelore.dll]\n"
       "bDisabledAutoOpen=yes\nmine=too\n[last]\nx = y \n"},
      {"duplicates",
       "[gen_tunelore.dll]\nbDisabledPlugin=FALSE\nbDisabledPlugin=TRUE\n"
       "[gen_tunelore.dll]\nbDisabledStartUp=TRUE\n"},
      {"case_and_spaces", "[ GEN_TUNELORE.DLL ]\n  BDISABLEDPLUGIN = false  \nbDisabledStartUp=\n"},
      {"junk",
       "no section line\n=value\n[unclosed\nkey\n;comment=1\n[gen_tunelore.dll]\n\n\n"
       "garbage without equals\nbDisabledAutoOpen=FALSE"},
      {"empty", ""},
      {"binary", std::string(BINARY, sizeof BINARY - 1)},
  };
}
