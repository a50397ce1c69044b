// Writes the fuzz targets' starting corpora: make_seeds <folder> fills <folder>/<target>/.
// Small, well-formed and deliberately broken inputs of each kind, so that the fuzzers
// start from the file layouts that matter instead of having to find them by chance.
#include <filesystem>
#include <iostream>
#include <string>
#include <utility>
#include <vector>

#include "kit/files.h"
#include "kit/sample_mp3.h"

namespace fs = std::filesystem;
using samplemp3::bigEndian;
using samplemp3::id3v2Frame;
using samplemp3::id3v2Header;
using samplemp3::TextFrames;

static std::string utf16le(const std::string& ascii, bool bom = true) {
  return samplemp3::utf16Text(ascii).substr(bom ? 0 : 2);
}

static std::string utf16be(const std::string& ascii) {
  std::string out;
  for (char c : ascii) out += std::string(1, '\0') + c;
  return out;
}

static unsigned adler32(const std::string& data) {
  unsigned a = 1, b = 0;
  for (unsigned char c : data) {
    a = (a + c) % 65521;
    b = (b + a) % 65521;
  }
  return (b << 16) | a;
}

// A zlib stream holding `data` in one stored (uncompressed) deflate block.
static std::string zlibStored(const std::string& data) {
  std::string out("\x78\x01\x01", 3);
  out += (char)(data.size() & 0xFF);
  out += (char)(data.size() >> 8);
  out += (char)(~data.size() & 0xFF);
  out += (char)((~data.size() >> 8) & 0xFF);
  return out + data + bigEndian(adler32(data), 4);
}

// Inserts a zero after every 0xFF, as the unsynchronisation scheme does.
static std::string unsynchronised(const std::string& data) {
  std::string out;
  for (char c : data) {
    out += c;
    if ((unsigned char)c == 0xFF) out += '\0';
  }
  return out;
}

static std::string lyrics3v2(const std::string& title, const std::string& artist) {
  auto field = [](const std::string& id, const std::string& text) {
    char size[6];
    snprintf(size, sizeof size, "%05zu", text.size());
    return id + size + text;
  };
  std::string body = "LYRICSBEGIN" + field("IND", "11") + field("ETT", title) +
                     field("EAR", artist) + field("LYR", "[00:01]La la");
  char size[7];
  snprintf(size, sizeof size, "%06zu", body.size());
  return body + size + "LYRICS200";
}

static void put(const fs::path& folder, const std::string& name, const std::string& bytes) {
  fs::create_directories(folder);
  kit::writeFile((folder / name).string(), bytes);
}

static void tagSeeds(const fs::path& folder) {
  const std::string audio = samplemp3::silentAudio(800);
  const TextFrames full = {{"TIT2", "Song"}, {"TPE1", "Band"}, {"TALB", "Disc"}};
  put(folder, "v23_full.mp3", samplemp3::id3v2Tag(full) + audio);
  put(folder, "v23_album_only.mp3", samplemp3::id3v2Tag({{"TALB", "Disc"}}) + audio);
  put(folder, "v23_title_spaces.mp3", samplemp3::id3v2Tag({{"TIT2", "   "}}) + audio);
  put(folder, "v23_long_title.mp3",
      samplemp3::id3v2Tag({{"TIT2", std::string(1100, 'x')}, {"TPE1", std::string(1030, '#')}}) +
          audio);
  put(folder, "v23_utf16.mp3",
      samplemp3::id3v2Tag({{"TIT2", utf16le("Song")}, {"TPE1", utf16le("Band")}}, 1) + audio);
  put(folder, "v23_utf16_no_bom.mp3", samplemp3::id3v2Tag({{"TIT2", utf16le("Song", false)}}, 1));
  put(folder, "v23_two_strings.mp3",
      samplemp3::id3v2Tag({{"TIT2", std::string("One\0Two", 7)}, {"TIT2", "Second frame"}}));
  {
    std::string body = id3v2Frame("TXXX", std::string("\0desc\0value", 11)) +
                       id3v2Frame("COMM", std::string("\0eng\0comment", 12)) +
                       id3v2Frame("TPE1", std::string("\0Band", 5)) +
                       id3v2Frame("TIT2", std::string("\0", 1)) + id3v2Frame("TALB", "");
    put(folder, "v23_other_frames.mp3", id3v2Header(3, 0, body.size()) + body + audio);
  }
  {
    std::string text = std::string("\0", 1) + "Compressed Song";
    std::string body = id3v2Frame("TIT2", bigEndian(text.size(), 4) + zlibStored(text), 3, 0x0080) +
                       id3v2Frame("TPE1", std::string("\0Band", 5));
    put(folder, "v23_compressed.mp3", id3v2Header(3, 0, body.size()) + body + audio);
  }
  {
    std::string body = id3v2Frame("TIT2", std::string("\0\xFF\xFESong\xFF", 8)) +
                       id3v2Frame("TPE1", std::string("\0Band", 5));
    std::string sync = unsynchronised(body);
    put(folder, "v23_unsync.mp3", id3v2Header(3, '\x80', sync.size()) + sync + audio);
  }
  {
    std::string extended = bigEndian(6, 4) + std::string(2, '\0') + bigEndian(0, 4);
    std::string body =
        extended + id3v2Frame("TIT2", std::string("\0Song", 5)) + std::string(16, '\0');  // padding
    put(folder, "v23_extended_padding.mp3", id3v2Header(3, '\x40', body.size()) + body + audio);
  }
  {
    std::string body = id3v2Frame("TIT2", "\x03Sõng", 4) +
                       id3v2Frame("TPE1", "\x02" + utf16be("Band"), 4) +
                       id3v2Frame("TALB", "\x01" + utf16le("Disc"), 4);
    put(folder, "v24_encodings.mp3", id3v2Header(4, 0, body.size()) + body + audio);
  }
  {
    std::string body = id3v2Frame("TT2", std::string("\0Song", 5), 2) +
                       id3v2Frame("TP1", std::string("\0Band", 5), 2) +
                       id3v2Frame("TAL", std::string("\0Disc", 5), 2);
    put(folder, "v22.mp3", id3v2Header(2, 0, body.size()) + body + audio);
  }
  put(folder, "v1.mp3", audio + samplemp3::id3v1Tag("Old Song", "Old Band", "Old Disc"));
  {
    std::string v11 = samplemp3::id3v1Tag("Track", "Band", "Disc");
    v11[125] = '\0';
    v11[126] = 7;  // ID3v1.1 track number
    put(folder, "v11.mp3", v11);
  }
  put(folder, "v23_and_v1.mp3",
      samplemp3::id3v2Tag(full) + audio + samplemp3::id3v1Tag("V1 Song", "V1 Band", ""));
  put(folder, "lyrics3.mp3",
      audio + lyrics3v2("Lyric Song", "Lyric Band") + samplemp3::id3v1Tag("Song", "Band", "Disc"));
  put(folder, "header_only.mp3", "ID3\x03");
  put(folder, "header_past_end.mp3",
      id3v2Header(3, 0, 0x7FFFFFF) + id3v2Frame("TIT2", std::string("\0Song", 5)));
  put(folder, "frame_past_end.mp3",
      id3v2Header(3, 0, 20) + "TIT2" + bigEndian(0x7FFFFFFF, 4) + "\0\0\0So");
  put(folder, "frame_size_zero.mp3", id3v2Header(3, 0, 11) + id3v2Frame("TIT2", "") + "\0");
  put(folder, "audio_only.mp3", audio);
  put(folder, "empty.mp3", "");
}

static void titleSeeds(const fs::path& folder) {
  const std::pair<const char*, std::string> titles[] = {
      {"band_song", "Band - Song"},
      {"first_hyphen", "A-ha - Take On Me"},
      {"no_artist", " - Song"},
      {"no_title", "Band -"},
      {"no_hyphen", "Just a title"},
      {"spaces", "  two  words  -  x  "},
      {"hyphens", "---"},
      {"tabs", "\t-\t "},
      {"long", std::string(1200, 'a') + " - " + std::string(1100, 'b')},
      {"high_bytes", "\x83\x5C - \x81\x2D"},
  };
  for (const auto& title : titles) put(folder, title.first, title.second);
}

static void addressSeeds(const fs::path& folder) {
  const std::pair<const char*, std::string> fields[] = {
      {"all_three", std::string("Song\0Band\0Disc", 14)},
      {"artist_only", std::string("\0Band\0", 6)},
      {"hashes", std::string("a # b\0#\0##", 10)},
      {"full_fields",
       std::string(1023, 'x') + '\0' + std::string(1023, 'y') + '\0' + std::string(1023, 'z')},
      {"full_hashes",
       std::string(1023, '#') + '\0' + std::string(1023, '#') + '\0' + std::string(1023, '#')},
      {"near_limit",
       std::string(1000, 't') + '\0' + std::string(1000, 'a') + '\0' + std::string(20, 'b')},
      {"ampersands", std::string("a & b\0x=y\0&&album=", 18)},
  };
  for (const auto& field : fields) put(folder, field.first, field.second);
}

static void settingsSeeds(const fs::path& folder) {
  static const char BINARY[] = "[a]\nk=\0v\n[gen_tunelore.dll\x80]\n\xFF=\xFE\n";
  const std::pair<const char*, std::string> files[] = {
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
  for (const auto& file : files) put(folder, file.first, file.second);
}

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_seeds <folder>\n";
    return 2;
  }
  fs::path root = argv[1];
  tagSeeds(root / "fuzz_tag_reading");
  titleSeeds(root / "fuzz_title_split");
  addressSeeds(root / "fuzz_page_address");
  settingsSeeds(root / "fuzz_settings");
  return 0;
}
