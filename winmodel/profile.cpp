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

#include <windows.h>
#include <windows_model.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

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

std::string withoutLeadingBlanks(const char* text) {
  while (isBlank(*text)) ++text;
  return text;
}

std::string trimmed(const char* text) {
  std::string kept = withoutLeadingBlanks(text);
  while (!kept.empty() && isBlank(kept.back())) kept.pop_back();
  return kept;
}

// Names and values end at a NUL character, as C strings do.
std::string upToNul(const char* begin, const char* end) {
  return std::string(begin, std::find(begin, end, '\0'));
}

// An empty file has no sections at all; any other starts with the unnamed one.
void parse(const std::string& text, Profile& profile) {
  profile.clear();
  if (text.empty()) return;
  profile.emplace_back();
  const char* next = text.data();
  const char* end = next + text.size();
  const Line* previous = nullptr;
  while (next < end) {
    const char* start = next;
    while (next < end && *next != '\n' && *next != '\r') ++next;
    while (next < end && (*next == '\n' || *next == '\r')) ++next;
    const char* stop = next;
    while (start < stop && isBlank(*start)) ++start;
    while (stop > start && isBlank(stop[-1])) --stop;
    if (start == stop) continue;  // empty lines are dropped

    if (*start == '[') {
      const char* close = stop;
      while (close > start && close[-1] != ']') --close;
      if (close > start) {  // "[name]" up to the last ']'; a line without one is a plain line
        const char* nameStart = start + 1;
        const char* nameEnd = close - 1;
        while (nameStart < nameEnd && isBlank(*nameStart)) ++nameStart;
        while (nameEnd > nameStart && isBlank(nameEnd[-1])) --nameEnd;
        profile.push_back({upToNul(nameStart, nameEnd), {}});  // trimmed before the cut
        previous = nullptr;
        continue;
      }
    }

    Line line;
    const char* nameEnd = stop;
    const char* equals = std::find(start, stop, '=');
    if (equals < stop) {
      nameEnd = equals;
      while (nameEnd > start && isBlank(nameEnd[-1])) --nameEnd;
      const char* valueStart = equals + 1;
      while (valueStart < stop && isBlank(*valueStart)) ++valueStart;
      line.hasValue = true;
      line.value = upToNul(valueStart, stop);
    }
    line.name = upToNul(start, nameEnd);
    // Of several nameless "=value" lines in a row only the first is kept.
    if (nameEnd > start || previous == nullptr || !previous->name.empty()) {
      profile.back().lines.push_back(line);
      previous = &profile.back().lines.back();
    }
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
  profile.clear();
  if (fileName == nullptr) return Opened::Failed;
  path = winmodel::hostPath(fileName);
  FILE* file = fopen(path.c_str(), "rb");
  struct stat info;
  if (file == nullptr) {
    size_t slash = path.find_last_of('/');
    std::string folder =
        slash == std::string::npos ? "." : path.substr(0, std::max<size_t>(slash, 1));
    bool inFolder = stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
    return errno == ENOENT && inFolder ? Opened::Missing : Opened::Failed;
  }
  std::string bytes;
  bool readable = fstat(fileno(file), &info) == 0 && S_ISREG(info.st_mode);
  char chunk[65536];
  for (size_t got; readable && (got = fread(chunk, 1, sizeof chunk, file)) > 0;) {
    bytes.append(chunk, got);
  }
  readable = readable && !ferror(file);
  fclose(file);
  if (!readable) return Opened::Failed;
  parse(bytes, profile);
  return Opened::Loaded;
}

bool store(const std::string& path, const Profile& profile) {
  std::string bytes = render(profile);
  FILE* file = fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  bool written = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return fclose(file) == 0 && written;
}

bool sameName(const std::string& a, const std::string& b) {
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c + 'a' - 'A') : c; };
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [&](char x, char y) { return lower(x) == lower(y); });
}

// The key in the first section of that name, if that section has it. With `create`, a missing
// key goes to the end of that section and a missing section to the end of the file; the new
// names keep their trailing blanks, as Wine writes them.
Line* findKey(Profile& profile, LPCSTR sectionName, LPCSTR keyName, bool create) {
  std::string wantedSection = trimmed(sectionName), wantedKey = trimmed(keyName);
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
  section->lines.emplace_back();
  section->lines.back().name = withoutLeadingBlanks(keyName);
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
