// Any title, artist and album (the input split at its zero bytes) through the page address.
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "fuzz/fuzz_check.h"
#include "tracking/lyrics_page.h"
#include "tracking/track_metadata.h"

static const std::string START = LYRICS_BASE_ADDRESS "plugin.php?";

static std::string escapedHashes(const std::string& text) {
  std::string escaped;
  for (char c : text) escaped += c == '#' ? std::string("%23") : std::string(1, c);
  return escaped;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The pieces as a gathered TrackInfo holds them: at most 1023 characters each.
  std::string input(reinterpret_cast<const char*>(data), size);
  auto info = std::make_unique<TrackInfo>();
  const char* at = input.c_str();
  for (char* field : {info->title, info->artist, info->album}) {
    if (at > input.c_str() + input.size()) break;
    snprintf(field, TRACK_FIELD_SIZE, "%s", at);
    at += strlen(at) + 1;
  }

  // Exactly the documented size, so that a write past it is caught.
  auto buffer = std::make_unique<char[]>(PAGE_ADDRESS_SIZE);
  memset(buffer.get(), 'X', PAGE_ADDRESS_SIZE);
  composePageAddress(*info, buffer.get());
  std::string address = fuzzcheck::terminated("address", buffer.get(), PAGE_ADDRESS_SIZE);
  FUZZ_CHECK(address.size() <= PAGE_ADDRESS_SIZE - 1, std::to_string(address.size()));
  FUZZ_CHECK(address.compare(0, START.size(), START) == 0, address);

  // What follows is the non-empty fields' parts in order, each whole and with '#' escaped;
  // a part is left out only when it would not fit, and then so is every part after it.
  const std::pair<const char*, const char*> parts[] = {
      {"title=", info->title}, {"&&artist=", info->artist}, {"&&album=", info->album}};
  size_t pos = START.size();
  bool dropped = false;
  for (const auto& part : parts) {
    if (part.second[0] == '\0') continue;
    std::string text = part.first + escapedHashes(part.second);
    if (dropped) continue;
    if (address.compare(pos, text.size(), text) == 0) {
      pos += text.size();
      continue;
    }
    FUZZ_CHECK(pos + text.size() > PAGE_ADDRESS_SIZE - 1,
               std::string(part.first) + " part left out though it fits: " + address);
    dropped = true;
  }
  FUZZ_CHECK(pos == address.size(), "unexpected text after the fields: " + address.substr(pos));
  return 0;
}

// The starting corpus.
fuzzcheck::Seeds fuzzcheck::seeds() {
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
