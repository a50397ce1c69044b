// Writes generated and damaged tagged files and prints the title, artist and album that id3lib
// gives for each, the way the plug-in reads them:
//
//   tag_fields COUNT SEED FOLDER   one line a file: its number and the three fields
//
// Built twice (CMakeLists.txt): linked to the shipped id3lib and reading through
// ID3Tag_LinkWithFrames, and linked to the same sources with id3lib's own std::ifstream reader
// and reading through ID3Tag_Link. Both write the same files from the same seed; the test
// compares their output.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "kit/files.h"
#include "kit/id3_fields.h"
#include "kit/sample_mp3.h"

namespace {

using namespace samplemp3;

typedef std::string Bytes;

struct Random {
  uint64_t state;
  uint32_t next() {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    return (uint32_t)(state >> 16);
  }
  uint32_t below(uint32_t n) { return n == 0 ? 0 : next() % n; }
  bool chance(uint32_t percent) { return below(100) < percent; }
};

// Latin-1 words, with now and then a character past ASCII.
Bytes word(Random& random) {
  static const char* const words[] = {"Caf\xe9", "Bj\xf6rk", "D\351but", "Song", "Band",
                                      "Disc",    "A-ha",     "Title",    "Live", "\xff\xfe"};
  Bytes out;
  int count = 1 + random.below(3);
  for (int i = 0; i < count; ++i) {
    if (i > 0) out += ' ';
    out += words[random.below(sizeof words / sizeof words[0])];
  }
  if (random.chance(3)) out.append(300 + random.below(1200), 'x');  // past the field
  return out;
}

// The text in one of the four encodings (any other number: UTF-8), with or without its terminator.
Bytes encoded(Random& random, int encoding, const Bytes& text, bool terminated) {
  Bytes out = encodedText(text, std::min(encoding, 3));
  if (terminated) out.append(encoding == 1 || encoding == 2 ? 2 : 1, '\0');
  if (random.chance(2)) out.resize(random.below(out.size() + 1));  // cut short
  return out;
}

Bytes randomBytes(Random& random, size_t size) {
  Bytes out(size, '\0');
  for (char& c : out) c = (char)random.next();
  // Bytes that look like frame starts and sync bytes, to mislead a walk that loses its place.
  if (size > 8 && random.chance(30)) out.replace(random.below(size - 8), 4, "TIT2");
  if (size > 8 && random.chance(30)) out.replace(random.below(size - 8), 2, "\xff\x00", 2);
  return out;
}

// The kinds of frame, each one's id in ID3v2.2 and in 2.3 and 2.4: the plug-in's three text
// frames and others like them, then the rest.
enum Kind { PICTURE = 6, COMMENT, USERTEXT, OBJECT, PRIVATE, UNKNOWN, KINDS };
const char* const FRAME_IDS[KINDS][2] = {{"TT2", "TIT2"}, {"TP1", "TPE1"}, {"TAL", "TALB"},
                                         {"TP2", "TPE2"}, {"TCM", "TCOM"}, {"TP3", "TPE3"},
                                         {"PIC", "APIC"}, {"COM", "COMM"}, {"TXX", "TXXX"},
                                         {"GEO", "GEOB"}, {"XPV", "PRIV"}, {"ZZZ", "ZZZZ"}};

Bytes frameBody(Random& random, int version, Kind kind) {
  int encoding = (int)random.below(version == 4 ? 4 : 2);
  if (random.chance(3)) encoding = (int)random.below(256);  // no such encoding
  bool terminated = !random.chance(10);
  Bytes body(1, (char)encoding);
  switch (kind) {
    case PICTURE:
      body += version == 2 ? "JPG" : "image/jpeg";
      if (version != 2 && terminated) body += '\0';
      body += (char)random.below(21);
      body += encoded(random, encoding, word(random), terminated);
      body +=
          randomBytes(random, random.chance(5) ? 40000 + random.below(40000) : random.below(3000));
      return body;
    case COMMENT:
      body += "eng";
      [[fallthrough]];
    case USERTEXT:
      body += encoded(random, encoding, word(random), terminated);
      return body + encoded(random, encoding, word(random), random.chance(50));
    case OBJECT:
      body += "application/x-test";
      if (terminated) body += '\0';
      body += encoded(random, encoding, word(random), terminated);
      body += encoded(random, encoding, word(random), terminated);
      return body + randomBytes(random, random.below(2000));
    case PRIVATE:
      return "owner@example" + Bytes(terminated ? 1 : 0, '\0') +
             randomBytes(random, random.below(500));
    case UNKNOWN:
      return randomBytes(random, random.below(300));
    default:
      return body + encoded(random, encoding, word(random), random.chance(30));
  }
}

Bytes frame(Random& random, int version, const char* id, Bytes body) {
  uint16_t flags = 0;
  if (version == 3 && random.chance(8)) {
    flags |= 0x0080;
    body = bigEndian((uint32_t)body.size(), 4) + zlibbed(body);
  } else if (version == 4 && random.chance(8)) {
    flags |= 0x0008 | 0x0001;
    body = syncSafe((uint32_t)body.size()) + zlibbed(body);
  }
  if (version == 3 && random.chance(3)) flags |= random.chance(50) ? 0x0040 : 0x0020;
  if (version == 3 && (flags & 0x0060)) body.insert(0, 1, (char)random.below(256));
  uint32_t size = (uint32_t)body.size();
  if (random.chance(4)) size += (uint32_t)random.below(64) - 32;  // a wrong size
  if (random.chance(1)) size = random.next();
  return id3v2Frame(Bytes(id, version == 2 ? 3 : 4), body, (char)version, flags, size);
}

Bytes frames(Random& random, int version) {
  Bytes out;
  int count = (int)random.below(9);
  for (int i = 0; i < count; ++i) {
    Kind kind = (Kind)random.below(KINDS);
    out += frame(random, version, FRAME_IDS[kind][version != 2], frameBody(random, version, kind));
  }
  // ID3v2.2's meta-compression: frames inside one compressed frame.
  if (version == 2 && random.chance(15)) {
    Bytes inner = frames(random, version);
    Bytes body = "z" + bigEndian((uint32_t)inner.size(), 4) + zlibbed(inner);
    out.insert(random.chance(50) ? 0 : out.size(), id3v2Frame("CDM", body, 2));
  }
  return out;
}

Bytes id3v2Tag(Random& random) {
  int version = 2 + (int)random.below(3);
  uint8_t flags = 0;
  Bytes data;
  if (version > 2 && random.chance(15)) {
    flags |= 0x40;
    data = version == 3 ? bigEndian(6, 4) + Bytes(2, '\0') + bigEndian(random.below(100), 4)
                        : syncSafe(6) + "\x01" + Bytes(1, (char)(random.below(2) << 4));
  }
  data += frames(random, version);
  if (random.chance(40)) data.append(random.below(2000), '\0');  // padding
  if (random.chance(15)) {
    flags |= 0x80;
    data = unsynchronised(data);
  }
  uint32_t size = (uint32_t)data.size();
  if (random.chance(5)) size += (uint32_t)random.below(200) - 100;
  return id3v2Header((char)version, (char)flags, size) + data;
}

Bytes field(Random& random, size_t length) {
  Bytes text = random.chance(80) ? word(random) : Bytes();
  text.resize(length, random.chance(50) ? ' ' : '\0');
  return text;
}

Bytes file(Random& random) {
  Bytes out;
  int tags = random.chance(90) ? 1 + (int)random.chance(5) : 0;
  for (int i = 0; i < tags; ++i) out += id3v2Tag(random);
  if (random.chance(10)) out.append(random.below(40), '\0');  // padding outside the tag
  out += "\xff\xfb\x90\x00" + randomBytes(random, 200 + random.below(3000));
  if (random.chance(8)) {
    Bytes title = word(random), artist = word(random), album = word(random);
    out += lyrics3v2({{"IND", "10"}, {"ETT", title}, {"EAR", artist}, {"EAL", album}});
  }
  if (random.chance(40)) {
    // Drawn last field first, so that each seed still gives the files it always has.
    char genre = (char)random.below(150), track = (char)random.below(20);
    Bytes comment = field(random, 28) + '\0' + track;
    Bytes album = field(random, 30), artist = field(random, 30), title = field(random, 30);
    out += id3v1Tag(title, artist, album, "1999", comment, genre);
  }
  // Damage: bytes changed at random, or the file cut short.
  if (random.chance(30)) {
    int changes = 1 + (int)random.below(5);
    for (int i = 0; i < changes && !out.empty(); ++i)
      out[random.below(out.size())] = (char)random.next();
  }
  if (random.chance(8)) out.resize(random.below(out.size() + 1));
  return out;
}

// After a tab, with bytes outside printable ASCII, and '\\', as \xx.
void printField(const std::string& text) {
  putchar('\t');
  for (unsigned char byte : text) {
    if (byte < 0x20 || byte >= 0x7F || byte == '\\') {
      printf("\\%02x", byte);
    } else {
      putchar(byte);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    fprintf(stderr, "usage: tag_fields COUNT SEED FOLDER\n");
    return 2;
  }
  long count = strtol(argv[1], nullptr, 10);
  Random random = {strtoull(argv[2], nullptr, 10) * 2654435761u + 1};
  std::string path = std::string(argv[3]) + "/tag_fields." + TAG_FIELDS_NAME + ".mp3";
  for (long i = 0; i < count; ++i) {
    Bytes bytes = file(random);
    // A new file each time: rewriting one in place makes some file systems write it through.
    remove(path.c_str());
    if (!kit::writeFile(path, bytes)) {
      fprintf(stderr, "tag_fields: cannot write %s\n", path.c_str());
      return 1;
    }
    printf("%ld", i);
    for (const std::string& text : id3fields::read(path, !TAG_FIELDS_REFERENCE)) printField(text);
    putchar('\n');
  }
  remove(path.c_str());
  return 0;
}
