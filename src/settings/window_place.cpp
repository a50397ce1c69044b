#include "settings/window_place.h"

#include <shlwapi.h>
#include <windows.h>

WindowPlace lyricsWindowPlace;

// Room for any int in decimal, with its sign and terminator.
static const int NUMBER_SIZE = 16;
// Windows keeps window coordinates within 16 bits; a file edited to hold more is no place, and
// the frame's sums stay far from overflowing.
static const int COORDINATE_LIMIT = 32767;

static bool readNumber(const char* text, int* number) {
  return StrToIntExA(text, STIF_DEFAULT, number) && *number >= -COORDINATE_LIMIT &&
         *number <= COORDINATE_LIMIT;
}

struct PlaceKey {
  const char* key;
  int WindowPlace::*value;
};

static const PlaceKey placeKeys[] = {
    {"LyricsWindowX", &WindowPlace::x},
    {"LyricsWindowY", &WindowPlace::y},
    {"LyricsWindowWidth", &WindowPlace::width},
    {"LyricsWindowHeight", &WindowPlace::height},
};

void readWindowPlace(const char* section, const char* path) {
  WindowPlace place = {};
  place.known = true;
  for (const PlaceKey& entry : placeKeys) {
    char text[NUMBER_SIZE] = {};
    GetPrivateProfileStringA(section, entry.key, "", text, NUMBER_SIZE, path);
    int number = 0;
    if (!readNumber(text, &number)) place.known = false;
    place.*entry.value = number;
  }
  lyricsWindowPlace = place.known ? place : WindowPlace{};
}

bool writeWindowPlace(const char* section, const char* path) {
  if (!lyricsWindowPlace.known) return true;
  bool written = true;
  for (const PlaceKey& entry : placeKeys) {
    char text[NUMBER_SIZE];
    wnsprintfA(text, NUMBER_SIZE, "%d", lyricsWindowPlace.*entry.value);
    if (!WritePrivateProfileStringA(section, entry.key, text, path)) written = false;
  }
  return written;
}
