// Any bytes as a track's file: the tag is read through id3lib, the display title is the
// fallback, and the update sends the page address to the model player's mini-browser.
#include <cstring>
#include <memory>

#include "fuzz/fuzz_check.h"
#include "kit/model_player.h"
#include "kit/player_numbers.h"
#include "tracking/lyrics_page.h"
#include "tracking/track_metadata.h"

static void checkField(const char* name, const char* field) {
  FUZZ_CHECK(memchr(field, '\0', TRACK_FIELD_SIZE) != nullptr,
             std::string(name) + " is not terminated within its buffer");
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzcheck::startPlayer();
  std::string track = fuzzcheck::folder() + "/track.mp3";
  FUZZ_CHECK(kit::writeFile(track, std::string((const char*)data, size)), track);
  modelplayer::setPlaylist({{track, "Fallback Band - Fallback Song"}});
  modelplayer::setPosition(0);

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
