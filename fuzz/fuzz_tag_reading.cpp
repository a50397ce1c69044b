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
