// Private profile (INI) files over real files. The behaviour follows Wine's kernel32, measured
// call by call against wine64 8.0, because the Windows builds of the tests run there:
//  - the file is parsed into sections and lines, and a change rewrites the whole file from that
//    parse: "name=value" lines without the blanks around names and values, "\r\n" endings, and
//    no empty lines. Writing the value a key already has leaves the file untouched.
//  - names match without regard to ASCII case, after trimming blanks; the first section and
//    the first key of a name win.
//  - text is handled as UTF-16 in between, as Wine does: ANSI files and the callers' texts in
//    code page 1252, files with a UTF-8 or UTF-16 byte-order mark in that encoding.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <windows.h>
#include <windows_model.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

namespace {

typedef std::u16string Text;

enum class Encoding { Ansi, Utf8, Utf16Le, Utf16Be };

struct Line {
  Text name;
  bool hasValue = false;  // "junk" and comment lines without '=' have none
  Text value;
};

struct Section {
  Text name;  // empty for the lines before the first header
  std::vector<Line> lines;
};

struct Profile {
  Encoding encoding = Encoding::Ansi;
  std::vector<Section> sections;
};

enum class Opened { Loaded, Missing, Failed };

// ---- Code page 1252 <-> UTF-16 (the five unassigned bytes map to the C1 controls, as Wine does)

const char16_t kHighHalf1252[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t fromAnsi(unsigned char byte) {
  return byte >= 0x80 && byte < 0xA0 ? kHighHalf1252[byte - 0x80] : char16_t(byte);
}

// Characters outside the code page become '?'. Wine picks a "best fit" letter for some of
// them (U+0100 gives 'A'); the model does not carry that table.
char toAnsi(char16_t unit) {
  if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) return char(unit);
  for (int i = 0; i < 32; ++i) {
    if (kHighHalf1252[i] == unit) return char(0x80 + i);
  }
  return '?';
}

Text widen(const char* text) {
  Text wide;
  for (; *text != '\0'; ++text) wide += fromAnsi((unsigned char)*text);
  return wide;
}

// ---- UTF-8, decoded the way Wine's MultiByteToWideChar does it: an ill-formed sequence gives
// one U+FFFD for its lead byte and the continuation bytes that were still plausible, and a
// sequence cut off by the end of the file swallows the rest of the file.

void appendUtf8(const std::string& bytes, size_t at, Text& out) {
  static const unsigned char kMask[4] = {0x7F, 0x1F, 0x0F, 0x07};
  while (at < bytes.size()) {
    unsigned char lead = (unsigned char)bytes[at++];
    if (lead < 0x80) {
      out += char16_t(lead);
      continue;
    }
    size_t more = lead >= 0xC2 && lead <= 0xDF   ? 1
                  : lead >= 0xE0 && lead <= 0xEF ? 2
                  : lead >= 0xF0 && lead <= 0xF4 ? 3
                                                 : 0;
    if (at + more > bytes.size()) {
      out += u'\xFFFD';
      return;
    }
    unsigned long code = lead & kMask[more];
    bool valid = more > 0;
    for (size_t i = 0; valid && i < more; ++i) {
      unsigned char next = (unsigned char)bytes[at] ^ 0x80;
      if (next >= 0x40) {
        valid = false;
        break;
      }
      code = (code << 6) | next;
      size_t left = more - 1 - i;                   // continuation bytes still to come
      if (left == 2 && code < 0x10) valid = false;  // overlong four-byte form
      if (left == 1 && code >= (0x110000 >> 6)) {
        valid = false;  // beyond U+10FFFF: this byte is not taken
        break;
      }
      ++at;
      if (left == 1 && (code < 0x20 || (code >= (0xD800 >> 6) && code <= (0xDFFF >> 6)))) {
        valid = false;  // overlong three-byte form or a surrogate
      }
      if (left == 0 && code < 0x80) valid = false;
    }
    if (!valid) {
      out += u'\xFFFD';
    } else if (code >= 0x10000) {
      out += char16_t(0xD800 + ((code - 0x10000) >> 10));
      out += char16_t(0xDC00 + ((code - 0x10000) & 0x3FF));
    } else {
      out += char16_t(code);
    }
  }
}

void appendUtf8Bytes(unsigned long code, std::string& out) {
  if (code < 0x80) {
    out += char(code);
  } else if (code < 0x800) {
    out += char(0xC0 | (code >> 6));
    out += char(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += char(0xE0 | (code >> 12));
    out += char(0x80 | ((code >> 6) & 0x3F));
    out += char(0x80 | (code & 0x3F));
  } else {
    out += char(0xF0 | (code >> 18));
    out += char(0x80 | ((code >> 12) & 0x3F));
    out += char(0x80 | ((code >> 6) & 0x3F));
    out += char(0x80 | (code & 0x3F));
  }
}

std::string toUtf8(const Text& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    unsigned long code = text[i];
    if (code >= 0xD800 && code <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      code = 0x10000 + ((code - 0xD800) << 10) + (text[++i] - 0xDC00);
    } else if (code >= 0xD800 && code <= 0xDFFF) {
      code = 0xFFFD;
    }
    appendUtf8Bytes(code, out);
  }
  return out;
}

// ---- File bytes <-> text

Text decode(const std::string& bytes, Encoding& encoding) {
  Text text;
  if (bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
    encoding = Encoding::Utf8;
    appendUtf8(bytes, 3, text);
  } else if (bytes.size() >= 2 &&
             (bytes.compare(0, 2, "\xFF\xFE") == 0 || bytes.compare(0, 2, "\xFE\xFF") == 0)) {
    encoding = bytes[0] == '\xFF' ? Encoding::Utf16Le : Encoding::Utf16Be;
    bool little = encoding == Encoding::Utf16Le;
    for (size_t at = 2; at < bytes.size(); at += 2) {
      unsigned char first = (unsigned char)bytes[at];
      // An odd last byte is read as a character of its own, as Wine does.
      unsigned char second = at + 1 < bytes.size() ? (unsigned char)bytes[at + 1] : 0;
      bool whole = at + 1 < bytes.size();
      text += char16_t(little || !whole ? first | (second << 8) : (first << 8) | second);
    }
  } else {
    encoding = Encoding::Ansi;
    for (char byte : bytes) text += fromAnsi((unsigned char)byte);
  }
  return text;
}

std::string encode(const Text& text, Encoding encoding) {
  std::string bytes;
  switch (encoding) {
    case Encoding::Ansi:
      for (char16_t unit : text) bytes += toAnsi(unit);
      break;
    case Encoding::Utf8:
      bytes = "\xEF\xBB\xBF" + toUtf8(text);
      break;
    case Encoding::Utf16Le:
    case Encoding::Utf16Be: {
      bool little = encoding == Encoding::Utf16Le;
      bytes = little ? "\xFF\xFE" : "\xFE\xFF";
      for (char16_t unit : text) {
        bytes += char(little ? unit & 0xFF : unit >> 8);
        bytes += char(little ? unit >> 8 : unit & 0xFF);
      }
      break;
    }
  }
  return bytes;
}

// ---- Parsing and writing out

// Control-Z counts as a blank: old files carry it as an end-of-file mark.
bool isBlank(char16_t c) { return (c >= 0x09 && c <= 0x0D) || c == 0x1A || c == 0x20; }

Text trimmed(const Text& text) {
  size_t begin = 0, end = text.size();
  while (begin < end && isBlank(text[begin])) ++begin;
  while (end > begin && isBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

Text withoutLeadingBlanks(const Text& text) {
  size_t begin = 0;
  while (begin < text.size() && isBlank(text[begin])) ++begin;
  return text.substr(begin);
}

// Names and values end at a NUL character, as C strings do.
Text upToNul(const char16_t* begin, const char16_t* end) {
  const char16_t* stop = begin;
  while (stop < end && *stop != 0) ++stop;
  return Text(begin, stop);
}

// An empty file has no sections at all; any other starts with the unnamed one.
void parse(const Text& text, bool emptyFile, Profile& profile) {
  profile.sections.clear();
  if (emptyFile) return;
  profile.sections.emplace_back();
  const char16_t* next = text.data();
  const char16_t* end = next + text.size();
  const Line* previous = nullptr;
  while (next < end) {
    const char16_t* start = next;
    while (next < end && *next != '\n' && *next != '\r') ++next;
    while (next < end && (*next == '\n' || *next == '\r')) ++next;
    const char16_t* stop = next;
    while (start < stop && isBlank(*start)) ++start;
    while (stop > start && isBlank(stop[-1])) --stop;
    if (start == stop) continue;  // empty lines are dropped

    if (*start == '[') {
      const char16_t* close = stop;
      while (close > start && close[-1] != ']') --close;
      if (close > start) {  // "[name]" up to the last ']'; a line without one is a plain line
        const char16_t* nameStart = start + 1;
        const char16_t* nameEnd = close - 1;
        while (nameStart < nameEnd && isBlank(*nameStart)) ++nameStart;
        while (nameEnd > nameStart && isBlank(nameEnd[-1])) --nameEnd;
        Section section;
        section.name = upToNul(nameStart, nameEnd);  // trimmed before the cut, as Wine does
        profile.sections.push_back(section);
        previous = nullptr;
        continue;
      }
    }

    Line line;
    const char16_t* nameEnd = stop;
    const char16_t* equals = start;
    while (equals < stop && *equals != '=') ++equals;
    if (equals < stop) {
      nameEnd = equals;
      while (nameEnd > start && isBlank(nameEnd[-1])) --nameEnd;
      const char16_t* valueStart = equals + 1;
      while (valueStart < stop && isBlank(*valueStart)) ++valueStart;
      line.hasValue = true;
      line.value = upToNul(valueStart, stop);
    }
    line.name = upToNul(start, nameEnd);
    // Of several nameless "=value" lines in a row only the first is kept.
    if (nameEnd > start || previous == nullptr || !previous->name.empty()) {
      profile.sections.back().lines.push_back(line);
      previous = &profile.sections.back().lines.back();
    }
  }
}

Text render(const Profile& profile) {
  Text text;
  for (const Section& section : profile.sections) {
    if (!section.name.empty()) text += u"[" + section.name + u"]\r\n";
    for (const Line& line : section.lines) {
      text += line.name;
      if (line.hasValue) text += u"=" + line.value;
      text += u"\r\n";
    }
  }
  return text;
}

// ---- Files

bool parentFolderExists(const std::string& path) {
  size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return true;
  struct stat info;
  return stat(slash == 0 ? "/" : path.substr(0, slash).c_str(), &info) == 0 &&
         S_ISDIR(info.st_mode);
}

// A missing file in an existing folder reads as empty and may be created by a write; a missing
// folder, a folder in place of the file or an unreadable file is a failure.
Opened load(LPCSTR fileName, std::string& path, Profile& profile) {
  profile = Profile();
  if (fileName == nullptr) return Opened::Failed;
  path = winmodel::hostPath(fileName);
  int descriptor = open(path.c_str(), O_RDONLY);
  if (descriptor < 0) {
    return errno == ENOENT && parentFolderExists(path) ? Opened::Missing : Opened::Failed;
  }
  struct stat info;
  std::string bytes;
  bool readable = fstat(descriptor, &info) == 0 && S_ISREG(info.st_mode);
  char chunk[65536];
  while (readable) {
    ssize_t got = read(descriptor, chunk, sizeof chunk);
    if (got < 0) readable = false;
    if (got <= 0) break;
    bytes.append(chunk, (size_t)got);
  }
  close(descriptor);
  if (!readable) return Opened::Failed;
  Text text = decode(bytes, profile.encoding);
  parse(text, bytes.empty(), profile);
  return Opened::Loaded;
}

bool store(const std::string& path, const Profile& profile) {
  std::string bytes = encode(render(profile), profile.encoding);
  FILE* file = fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  bool written = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return fclose(file) == 0 && written;
}

// ---- Lookups

bool sameName(const Text& a, const Text& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char16_t x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x += 'a' - 'A';
    if (y >= 'A' && y <= 'Z') y += 'a' - 'A';
    if (x != y) return false;
  }
  return true;
}

// The key in the first section of that name, if that section has it. With `create`, a missing
// key goes to the end of that section and a missing section to the end of the file; the new
// names keep their trailing blanks, as Wine writes them.
Line* findKey(Profile& profile, const Text& sectionName, const Text& keyName, bool create) {
  Text wantedSection = trimmed(sectionName), wantedKey = trimmed(keyName);
  for (Section& section : profile.sections) {
    if (!sameName(section.name, wantedSection)) continue;
    for (Line& line : section.lines) {
      if (sameName(line.name, wantedKey)) return &line;
    }
    if (!create) return nullptr;
    section.lines.emplace_back();
    section.lines.back().name = withoutLeadingBlanks(keyName);
    return &section.lines.back();
  }
  if (!create) return nullptr;
  profile.sections.emplace_back();
  profile.sections.back().name = withoutLeadingBlanks(sectionName);
  profile.sections.back().lines.emplace_back();
  profile.sections.back().lines.back().name = withoutLeadingBlanks(keyName);
  return &profile.sections.back().lines.back();
}

// Deleting compares the names as given, untrimmed.
bool deleteKey(Profile& profile, const Text& sectionName, const Text& keyName) {
  for (Section& section : profile.sections) {
    if (!sameName(section.name, sectionName)) continue;
    for (size_t i = 0; i < section.lines.size(); ++i) {
      if (sameName(section.lines[i].name, keyName)) {
        section.lines.erase(section.lines.begin() + (std::ptrdiff_t)i);
        return true;
      }
    }
  }
  return false;
}

// ---- The caller's buffer, as UTF-16 units of which `capacity` exist. Only what the
// algorithms write is stored; unwritten units read as NUL.

struct Buffer {
  size_t capacity;
  Text units;
  void put(size_t at, char16_t unit) {
    if (at >= capacity) return;  // never past the caller's buffer
    if (units.size() <= at) units.resize(at + 1, 0);
    units[at] = unit;
  }
  char16_t at(size_t index) const { return index < units.size() ? units[index] : 0; }
  size_t length(size_t from = 0) const {
    size_t end = from;
    while (end < capacity && at(end) != 0) ++end;
    return end - from;
  }
  // lstrcpyn: at most count - 1 units and a terminator.
  size_t copy(size_t to, const Text& text, size_t count) {
    if (count == 0) return 0;
    size_t n = std::min(text.size(), count - 1);
    for (size_t i = 0; i < n; ++i) put(to + i, text[i]);
    put(to + n, 0);
    return n;
  }
};

// A value in matching quotes loses them. The closing quote is removed by cutting the last
// copied character, so when the value is cut short the last character goes instead.
void copyEntry(Buffer& buffer, const Text& value) {
  Text text = value;
  bool quoted = text.size() > 1 && (text[0] == '\'' || text[0] == '"') && text.back() == text[0];
  if (quoted) text.erase(0, 1);
  buffer.copy(0, text, buffer.capacity);
  size_t copied = buffer.length();
  if (quoted && buffer.capacity >= text.size() && copied > 0) buffer.put(copied - 1, 0);
}

// All section names, each followed by a NUL, and a final NUL. Cut short, the list ends in a cut
// name and two NULs, and the count is capacity - 2.
size_t sectionNames(const Profile& profile, Buffer& buffer) {
  size_t size = buffer.capacity;
  if (size == 1) {
    buffer.put(0, 0);
    return 0;
  }
  size_t room = size - 1, at = 0;
  for (const Section& section : profile.sections) {
    if (section.name.empty()) continue;
    size_t needed = section.name.size() + 1;
    if (needed >= room) {
      for (size_t i = 0; i + 1 < room; ++i) buffer.put(at++, section.name[i]);
      if (room > 0) buffer.put(at++, 0);
      buffer.put(at, 0);
      return size - 2;
    }
    for (char16_t unit : section.name) buffer.put(at++, unit);
    buffer.put(at++, 0);
    room -= needed;
  }
  buffer.put(at, 0);
  return at;
}

// The names of the keys that have a value, in the first section of that name; comments (';')
// are left out. Returns 0 with an empty first string when there are none.
size_t keyNames(const Profile& profile, const Text& sectionName, Buffer& buffer) {
  for (const Section& section : profile.sections) {
    if (!sameName(section.name, sectionName)) continue;
    size_t left = buffer.capacity, at = 0;
    for (const Line& line : section.lines) {
      if (left <= 2) break;
      if (!line.hasValue || (!line.name.empty() && line.name[0] == ';')) continue;
      size_t copied = buffer.copy(at, line.name, left - 1);
      left -= copied + 1;
      at += copied + 1;
      if (left < 2) break;
    }
    buffer.put(at, 0);
    if (left <= 1) {
      if (at > 0) buffer.put(at - 1, 0);
      return buffer.capacity >= 2 ? buffer.capacity - 2 : 0;
    }
    return buffer.capacity - left;
  }
  buffer.put(0, 0);
  buffer.put(1, 0);
  return 0;
}

size_t readProfile(LPCSTR section, LPCSTR key, LPCSTR defaultValue, Buffer& buffer,
                   LPCSTR fileName) {
  Text fallback = defaultValue != nullptr ? widen(defaultValue) : Text();
  Profile profile;
  std::string path;
  Opened opened = load(fileName, path, profile);
  if (section == nullptr) return opened == Opened::Failed ? 0 : sectionNames(profile, buffer);
  if (key == nullptr) {
    size_t count = 0;
    if (opened == Opened::Failed) {
      buffer.put(0, 0);
    } else {
      count = keyNames(profile, widen(section), buffer);
    }
    if (buffer.at(0) == 0) {
      copyEntry(buffer, fallback);
      count = buffer.length();
    }
    return count;
  }
  // Trailing spaces (not tabs) of the default go, but never its first character.
  size_t kept = fallback.size();
  while (kept > 1 && fallback[kept - 1] == ' ') --kept;
  fallback.resize(kept);
  if (opened == Opened::Failed) {
    buffer.copy(0, fallback, buffer.capacity);  // as given: no quotes are removed here
    return buffer.length();
  }
  const Line* line = findKey(profile, widen(section), widen(key), false);
  copyEntry(buffer, line != nullptr && line->hasValue ? line->value : fallback);
  return buffer.length();
}

}  // namespace

DWORD WINAPI GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue,
                                      LPSTR returned, DWORD capacity, LPCSTR fileName) {
  if (returned == nullptr || capacity == 0) return 0;
  Buffer buffer{capacity, Text()};
  size_t count =
      std::min<size_t>(readProfile(section, key, defaultValue, buffer, fileName), capacity - 1);
  // One byte per unit in code page 1252; lists keep their inner NULs.
  for (size_t i = 0; i < count; ++i) returned[i] = toAnsi(buffer.at(i));
  returned[count] = '\0';
  return (DWORD)count;
}

BOOL WINAPI WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR fileName) {
  // All three NULL only flushes Wine's cache, which the model does not have; it reports FALSE.
  if (section == nullptr) return FALSE;
  Profile profile;
  std::string path;
  Opened opened = load(fileName, path, profile);
  // Wine opens the file for writing before it looks at the arguments.
  if (opened == Opened::Failed || (opened == Opened::Loaded && access(path.c_str(), W_OK) != 0)) {
    return FALSE;
  }

  if (key == nullptr) {  // remove the first section of that name
    Text name = widen(section);
    for (size_t i = 0; i < profile.sections.size(); ++i) {
      if (sameName(profile.sections[i].name, name)) {
        profile.sections.erase(profile.sections.begin() + (std::ptrdiff_t)i);
        store(path, profile);  // Wine reports success even when this write fails
        break;
      }
    }
    return TRUE;
  }

  bool changed;
  if (value == nullptr) {
    changed = deleteKey(profile, widen(section), widen(key));
  } else {
    Line* line = findKey(profile, widen(section), widen(key), true);
    Text text = withoutLeadingBlanks(widen(value));
    changed = !(line->hasValue && line->value == text);
    line->hasValue = true;
    line->value = text;
  }
  if (!changed) return TRUE;  // the file is not touched
  return store(path, profile) ? TRUE : FALSE;
}
