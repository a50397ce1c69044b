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
using namespace samplemp3;

using Seeds = std::vector<std::pair<std::string, std::string>>;  // file name, bytes

static Seeds tagSeeds() {
  const std::string audio = silentAudio(800);
  auto tagged = [&](char version, char flags, const std::string& body) {
    return id3v2Header(version, flags, body.size()) + body + audio;
  };
  const TextFrames full = {{"TIT2", "Song"}, {"TPE1", "Band"}, {"TALB", "Disc"}};
  const std::string compressed = std::string("\0", 1) + "Compressed Song";
  const TextFrames lyrics = {
      {"IND", "11"}, {"ETT", "Lyric Song"}, {"EAR", "Lyric Band"}, {"LYR", "[00:01]La la"}};
  return {
      {"v23_full.mp3", id3v2Tag(full) + audio},
      {"v23_album_only.mp3", id3v2Tag({{"TALB", "Disc"}}) + audio},
      {"v23_title_spaces.mp3", id3v2Tag({{"TIT2", "   "}}) + audio},
      {"v23_long_title.mp3",
       id3v2Tag({{"TIT2", std::string(1100, 'x')}, {"TPE1", std::string(1030, '#')}}) + audio},
      {"v23_utf16.mp3",
       id3v2Tag({{"TIT2", utf16Text("Song")}, {"TPE1", utf16Text("Band")}}, 1) + audio},
      {"v23_utf16_no_bom.mp3", id3v2Tag({{"TIT2", encodedText("Song", 1).substr(2)}}, 1)},
      {"v23_two_strings.mp3",
       id3v2Tag({{"TIT2", std::string("One\0Two", 7)}, {"TIT2", "Second frame"}})},
      {"v23_other_frames.mp3",
       tagged(3, 0,
              id3v2Frame("TXXX", std::string("\0desc\0value", 11)) +
                  id3v2Frame("COMM", std::string("\0eng\0comment", 12)) +
                  id3v2Frame("TPE1", std::string("\0Band", 5)) +
                  id3v2Frame("TIT2", std::string("\0", 1)) + id3v2Frame("TALB", ""))},
      {"v23_compressed.mp3",
       tagged(3, 0,
              id3v2Frame("TIT2", bigEndian(compressed.size()) + zlibbed(compressed, 0), 3, 0x0080) +
                  id3v2Frame("TPE1", std::string("\0Band", 5)))},
      {"v23_unsync.mp3",
       tagged(3, '\x80',
              unsynchronised(id3v2Frame("TIT2", std::string("\0\xFF\xFESong\xFF", 8)) +
                             id3v2Frame("TPE1", std::string("\0Band", 5))))},
      {"v23_extended_padding.mp3",
       tagged(3, '\x40',
              bigEndian(6) + std::string(2, '\0') + bigEndian(0) +  // the extended header
                  id3v2Frame("TIT2", std::string("\0Song", 5)) +
                  std::string(16, '\0'))},  // padding
      {"v24_encodings.mp3", tagged(4, 0,
                                   id3v2Frame("TIT2", "\x03Sõng", 4) +
                                       id3v2Frame("TPE1", "\x02" + encodedText("Band", 2), 4) +
                                       id3v2Frame("TALB", "\x01" + utf16Text("Disc"), 4))},
      {"v22.mp3", tagged(2, 0,
                         id3v2Frame("TT2", std::string("\0Song", 5), 2) +
                             id3v2Frame("TP1", std::string("\0Band", 5), 2) +
                             id3v2Frame("TAL", std::string("\0Disc", 5), 2))},
      {"v1.mp3", audio + id3v1Tag("Old Song", "Old Band", "Old Disc")},
      // ID3v1.1: track 7 at the comment's end.
      {"v11.mp3", id3v1Tag("Track", "Band", "Disc", "2026", std::string(29, '\0') + '\7')},
      {"v23_and_v1.mp3", id3v2Tag(full) + audio + id3v1Tag("V1 Song", "V1 Band", "")},
      {"lyrics3.mp3", audio + lyrics3v2(lyrics) + id3v1Tag("Song", "Band", "Disc")},
      {"header_only.mp3", "ID3\x03"},
      {"header_past_end.mp3",
       id3v2Header(3, 0, 0x7FFFFFF) + id3v2Frame("TIT2", std::string("\0Song", 5))},
      {"frame_past_end.mp3",
       id3v2Header(3, 0, 20) + "TIT2" + bigEndian(0x7FFFFFFF) + std::string("\0\0\0So", 5)},
      {"frame_size_zero.mp3", id3v2Header(3, 0, 11) + id3v2Frame("TIT2", "") + '\0'},
      {"audio_only.mp3", audio},
      {"empty.mp3", ""},
  };
}

static Seeds titleSeeds() {
  return {
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
}

static Seeds addressSeeds() {
  return {
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
}

static Seeds settingsSeeds() {
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

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_seeds <folder>\n";
    return 2;
  }
  fs::path root = argv[1];
  const std::pair<const char*, Seeds> targets[] = {{"fuzz_tag_reading", tagSeeds()},
                                                   {"fuzz_title_split", titleSeeds()},
                                                   {"fuzz_page_address", addressSeeds()},
                                                   {"fuzz_settings", settingsSeeds()}};
  for (const auto& [target, seeds] : targets) {
    fs::create_directories(root / target);
    for (const auto& [name, bytes] : seeds) kit::writeFile((root / target / name).string(), bytes);
  }
  return 0;
}
