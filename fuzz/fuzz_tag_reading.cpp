// Any bytes as a track's file: the tag is read through id3lib, the display title is the
// fallback, and the update sends the page address to the model player's mini-browser. The
// plug-in's ID3Tag_LinkWithFrames must give the three frames' texts that a whole
// ID3Tag_Link gives.
#include <memory>
#include <string>

#include "fuzz/fuzz_check.h"
#include "kit/id3_fields.h"
#include "kit/model_player.h"
#include "kit/player_numbers.h"
#include "kit/sample_mp3.h"
#include "tracking/lyrics_page.h"
#include "tracking/track_metadata.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string track = fuzzcheck::folder() + "/track.mp3";
  fuzzcheck::startPlayer({{track, "Fallback Band - Fallback Song"}});
  FUZZ_CHECK(kit::writeFile(track, std::string((const char*)data, size)), track);

  auto whole = id3fields::read(track, false), walked = id3fields::read(track, true);
  FUZZ_CHECK(walked == whole, "only the frames:\n" + walked[0] + "\n" + walked[1] + "\n" +
                                  walked[2] + "\nthe whole tag:\n" + whole[0] + "\n" + whole[1] +
                                  "\n" + whole[2]);

  // On the heap and alone, so that a write past the last field is caught.
  auto info = std::make_unique<TrackInfo>();
  gatherTrackInfo(0, *info);
  fuzzcheck::terminated("title", info->title, TRACK_FIELD_SIZE);
  fuzzcheck::terminated("artist", info->artist, TRACK_FIELD_SIZE);
  fuzzcheck::terminated("album", info->album, TRACK_FIELD_SIZE);
  // Whatever the tag holds, the fallback's display title has both halves.
  FUZZ_CHECK(info->title[0] != '\0' || info->artist[0] != '\0', "no title and no artist");

  auto expected = std::make_unique<char[]>(PAGE_ADDRESS_SIZE);
  composePageAddress(*info, expected.get());

  updateLyricsPage();
  int opened = 0;
  for (const modelplayer::BrowserRequest& request : modelplayer::browserRequests()) {
    if (request.request != playernumbers::request::MBOPEN || request.argument == 0) continue;
    ++opened;
    FUZZ_CHECK(request.address.size() <= PAGE_ADDRESS_SIZE - 1,
               "sent address of " + std::to_string(request.address.size()) + " characters");
    FUZZ_CHECK(request.address.rfind(LYRICS_BASE_ADDRESS "plugin.php?", 0) == 0, request.address);
    // The same file read twice gives the same fields, so the update sends what they compose.
    FUZZ_CHECK(request.address == expected.get(),
               request.address + "\nexpected\n" + expected.get());
  }
  // The first update after loading always sends, and only one address.
  FUZZ_CHECK(opened == 1, std::to_string(opened) + " addresses opened");

  kit::unloadPlugin();
  return 0;
}

// The starting corpus.
fuzzcheck::Seeds fuzzcheck::seeds() {
  using namespace samplemp3;
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
