// Any bytes as a track's file: the tag is read through id3lib, the display title is the
// fallback, and the update sends the page address to the model player's mini-browser. The
// plug-in's ID3Tag_LinkWithFrames must give the three frames' texts that a whole
// ID3Tag_Link gives.
#include <id3.h>

#include <cstring>
#include <memory>
#include <string>

#include "fuzz/fuzz_check.h"
#include "kit/model_player.h"
#include "kit/player_numbers.h"
#include "tracking/lyrics_page.h"
#include "tracking/track_metadata.h"

static void checkField(const char* name, const char* field) {
  FUZZ_CHECK(memchr(field, '\0', TRACK_FIELD_SIZE) != nullptr,
             std::string(name) + " is not terminated within its buffer");
}

static const ID3_FrameID FIELD_FRAMES[] = {ID3FID_TITLE, ID3FID_LEADARTIST, ID3FID_ALBUM};
static const size_t FIELD_FRAME_COUNT = sizeof FIELD_FRAMES / sizeof FIELD_FRAMES[0];

// The three frames' texts, as the plug-in takes them, from a tag linked one way or the other.
static std::string linkedTexts(const std::string& track, bool onlyTheFrames) {
  ID3Tag* tag = ID3Tag_New();
  if (onlyTheFrames) {
    ID3Tag_LinkWithFrames(tag, track.c_str(), FIELD_FRAMES, FIELD_FRAME_COUNT);
  } else {
    ID3Tag_Link(tag, track.c_str());
  }
  std::string texts;
  for (ID3_FrameID id : FIELD_FRAMES) {
    char text[TRACK_FIELD_SIZE] = "";
    ID3Frame* frame = ID3Tag_FindFrameWithID(tag, id);
    ID3Field* field = frame != nullptr ? ID3Frame_GetField(frame, ID3FN_TEXT) : nullptr;
    if (field != nullptr) ID3Field_GetASCII(field, text, TRACK_FIELD_SIZE - 1);
    text[TRACK_FIELD_SIZE - 1] = '\0';
    texts += std::string(text) + '\n';
  }
  ID3Tag_Delete(tag);
  return texts;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzcheck::startPlayer();
  std::string track = fuzzcheck::folder() + "/track.mp3";
  FUZZ_CHECK(kit::writeFile(track, std::string((const char*)data, size)), track);
  modelplayer::setPlaylist({{track, "Fallback Band - Fallback Song"}});
  modelplayer::setPosition(0);

  std::string whole = linkedTexts(track, false);
  std::string walked = linkedTexts(track, true);
  FUZZ_CHECK(walked == whole, "only the frames:\n" + walked + "the whole tag:\n" + whole);

  // On the heap and alone, so that a write past the last field is caught.
  auto info = std::make_unique<TrackInfo>();
  gatherTrackInfo(0, *info);
  checkField("title", info->title);
  checkField("artist", info->artist);
  checkField("album", info->album);
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
