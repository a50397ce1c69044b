// Any display title through the fallback split, and any bytes through trimSpaces.
#include <cstring>
#include <memory>
#include <string>

#include "fuzz/fuzz_check.h"
#include "kit/model_player.h"
#include "tracking/track_metadata.h"

static const char ALBUM_MARK[] = "album left alone";

static std::string trimmedBothEnds(const std::string& text) {
  size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

static bool endsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

static std::string checkedField(const char* name, const char* field, const std::string& display) {
  std::string text = fuzzcheck::terminated(name, field, TRACK_FIELD_SIZE);
  FUZZ_CHECK(text.empty() || (text.front() != ' ' && text.back() != ' '),
             std::string(name) + " keeps a space at an end: [" + text + "] from [" + display + "]");
  return text;
}

static void checkSplit(const std::string& display) {
  fuzzcheck::startPlayer({{"", display, false}});

  auto info = std::make_unique<TrackInfo>();
  memcpy(info->album, ALBUM_MARK, sizeof ALBUM_MARK);
  splitPlaylistTitle(0, *info);
  std::string artist = checkedField("artist", info->artist, display);
  std::string title = checkedField("title", info->title, display);
  FUZZ_CHECK(strcmp(info->album, ALBUM_MARK) == 0, "the split wrote the album");

  if (display.find('-') == std::string::npos) {
    FUZZ_CHECK(artist.empty() && title.empty(), "split without a hyphen: [" + display + "]");
  } else {
    // The artist opens the title and the title closes it (unless it was cut), spaces aside,
    // with a hyphen somewhere between the two.
    std::string shown = trimmedBothEnds(display);
    FUZZ_CHECK(shown.compare(0, artist.size(), artist) == 0,
               "artist [" + artist + "] does not open [" + display + "]");
    if (display.size() < TRACK_FIELD_SIZE) {
      FUZZ_CHECK(endsWith(shown, title), "title [" + title + "] does not close [" + display + "]");
    }
    size_t titleAt = title.empty() ? shown.size() : shown.rfind(title);
    FUZZ_CHECK(titleAt != std::string::npos && titleAt >= artist.size() &&
                   shown.find('-', artist.size()) < titleAt,
               "no hyphen between [" + artist + "] and [" + title + "] in [" + display + "]");
  }
  kit::unloadPlugin();
}

static void checkTrim(const uint8_t* data, size_t size) {
  // Exactly as long as the text needs, so that a step past either end is caught.
  std::string text(reinterpret_cast<const char*>(data), size);
  text.resize(strlen(text.c_str()));
  auto buffer = std::make_unique<char[]>(text.size() + 1);
  memcpy(buffer.get(), text.c_str(), text.size() + 1);
  trimSpaces(buffer.get());
  FUZZ_CHECK(buffer.get() == trimmedBothEnds(text),
             "[" + text + "] trimmed to [" + std::string(buffer.get()) + "]");
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string display(reinterpret_cast<const char*>(data), size);
  display.resize(strlen(display.c_str()));  // the player's text ends at its first zero
  checkSplit(display);
  checkTrim(data, size);
  return 0;
}

// The starting corpus.
fuzzcheck::Seeds fuzzcheck::seeds() {
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
