// Private profile (INI) files over real files, as far as the plug-in uses them: one value read
// by section and key, one value written. The behaviour follows Wine's kernel32, measured call
// by call against wine64 8.0, because the Windows builds of the tests run there:
//  - the file is parsed into sections and lines, and a change rewrites the whole file from that
//    parse: "name=value" lines without the blanks around names and values, "\r\n" endings, and
//    no empty lines. Writing the value a key already has leaves the file untouched.
//  - names match without regard to ASCII case, after trimming blanks; the first section and
//    the first key of a name win.
//  - bytes pass through unchanged: Wine's round trip through UTF-16 in code page 1252 gives
//    every byte back. Files with a byte-order mark, lists (a NULL section or key) and deleting
//    (a NULL key or value) are not modelled: nothing calls them.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "model_state.h"

namespace {

struct Line {
  std::string name;
  bool hasValue = false;  // "junk" and comment lines without '=' have none
  std::string value;
};

struct Section {
  std::string name;  // empty for the lines before the first header
  std::vector<Line> lines;
};

using Profile = std::vector<Section>;

enum class Opened { Loaded, Missing, Failed };

// Control-Z counts as a blank: old files carry it as an end-of-file mark.
bool isBlank(char c) { return (c >= 0x09 && c <= 0x0D) || c == 0x1A || c == 0x20; }

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::string withoutLeadingBlanks(const char* text) {
  while (isBlank(*text)) ++text;
  return text;
}

// Names and values end at a NUL character, as C strings do.
std::string upToNul(std::string_view text) { return std::string(text.substr(0, text.find('\0'))); }

// An empty file has no sections at all; any other starts with the unnamed one. Lines end at
// CR or LF; empty lines are dropped.
void parse(std::string_view text, Profile& profile) {
  if (!text.empty()) profile.emplace_back();
  bool afterNameless = false;
  for (size_t at = 0; at < text.size();) {
    size_t end = std::min(text.find_first_of("\r\n", at), text.size());
    std::string_view line = trimmed(text.substr(at, end - at));
    at = end + 1;
    if (line.empty()) continue;
    // "[name]" up to the last ']'; a line without one is a plain line.
    size_t close = line.rfind(']');
    if (line[0] == '[' && close != std::string_view::npos) {
      profile.push_back({upToNul(trimmed(line.substr(1, close - 1))), {}});
      afterNameless = false;
      continue;
    }
    size_t equals = line.find('=');
    std::string_view name = trimmed(line.substr(0, equals));
    // Of several nameless "=value" lines in a row only the first is kept.
    if (name.empty() && afterNameless) continue;
    Line entry{upToNul(name), equals != std::string_view::npos, ""};
    if (entry.hasValue) entry.value = upToNul(trimmed(line.substr(equals + 1)));
    afterNameless = entry.name.empty();
    profile.back().lines.push_back(entry);
  }
}

std::string render(const Profile& profile) {
  std::string text;
  for (const Section& section : profile) {
    if (!section.name.empty()) text += "[" + section.name + "]\r\n";
    for (const Line& line : section.lines) {
      text += line.name;
      if (line.hasValue) text += "=" + line.value;
      text += "\r\n";
    }
  }
  return text;
}

// A missing file in an existing folder reads as empty and may be created by a write; a missing
// folder, a folder in place of the file or an unreadable file is a failure.
Opened load(LPCSTR fileName, std::string& path, Profile& profile) {
  if (fileName == nullptr) return Opened::Failed;
  path = winmodel::hostPath(fileName);
  struct stat info;
  if (stat(path.c_str(), &info) != 0) {
    return errno == ENOENT && winmodel::folderOfExists(path) ? Opened::Missing : Opened::Failed;
  }
  std::ifstream file(path, std::ios::binary);
  if (!S_ISREG(info.st_mode) || !file) return Opened::Failed;
  parse(std::string(std::istreambuf_iterator<char>(file), {}), profile);
  return file.bad() ? Opened::Failed : Opened::Loaded;
}

bool store(const std::string& path, const Profile& profile) {
  std::ofstream file(path, std::ios::binary);
  file << render(profile);
  file.close();
  return file.good();
}

bool sameName(std::string_view a, std::string_view b) {
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c + 'a' - 'A') : c; };
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [&](char x, char y) { return lower(x) == lower(y); });
}

// The key in the first section of that name, if that section has it. With `create`, a missing
// key goes to the end of that section and a missing section to the end of the file; the new
// names keep their trailing blanks, as Wine writes them.
Line* findKey(Profile& profile, LPCSTR sectionName, LPCSTR keyName, bool create) {
  std::string_view wantedSection = trimmed(sectionName), wantedKey = trimmed(keyName);
  auto section = std::find_if(profile.begin(), profile.end(),
                              [&](const Section& s) { return sameName(s.name, wantedSection); });
  if (section == profile.end()) {
    if (!create) return nullptr;
    profile.push_back({withoutLeadingBlanks(sectionName), {}});
    section = profile.end() - 1;
  }
  for (Line& line : section->lines) {
    if (sameName(line.name, wantedKey)) return &line;
  }
  if (!create) return nullptr;
  section->lines.push_back({withoutLeadingBlanks(keyName)});
  return &section->lines.back();
}

}  // namespace

DWORD WINAPI GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue,
                                      LPSTR returned, DWORD capacity, LPCSTR fileName) {
  if (returned == nullptr || capacity == 0) return 0;
  returned[0] = '\0';
  if (section == nullptr || key == nullptr) return 0;
  Profile profile;
  std::string path;
  const Line* line = nullptr;
  if (load(fileName, path, profile) != Opened::Failed) line = findKey(profile, section, key, false);
  std::string text = line != nullptr && line->hasValue ? line->value
                     : defaultValue != nullptr         ? defaultValue
                                                       : "";
  // A value in matching quotes loses them. The closing quote goes by cutting the last copied
  // character, so when the value is cut short the last character goes instead.
  bool quoted = text.size() > 1 && (text[0] == '\'' || text[0] == '"') && text.back() == text[0];
  if (quoted) text.erase(0, 1);
  size_t count = std::min<size_t>(text.size(), capacity - 1);
  if (quoted && capacity >= text.size() && count > 0) --count;
  std::copy_n(text.begin(), count, returned);
  returned[count] = '\0';
  return (DWORD)strlen(returned);
}

BOOL WINAPI WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR fileName) {
  if (section == nullptr || key == nullptr || value == nullptr) return FALSE;
  Profile profile;
  std::string path;
  Opened opened = load(fileName, path, profile);
  // Wine opens the file for writing before it looks at the arguments.
  if (opened == Opened::Failed || (opened == Opened::Loaded && access(path.c_str(), W_OK) != 0)) {
    return FALSE;
  }
  Line* line = findKey(profile, section, key, true);
  std::string text = withoutLeadingBlanks(value);
  if (line->hasValue && line->value == text) return TRUE;  // the file is not touched
  line->hasValue = true;
  line->value = text;
  return store(path, profile) ? TRUE : FALSE;
}
