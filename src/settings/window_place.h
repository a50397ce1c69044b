// Where the lyrics window was last: its frame in screen coordinates, kept in the settings file
// beside the switches, since the player's browser component remembers no place of its own.
#pragma once

struct WindowPlace {
  bool known;  // false until a window was seen, or while the file holds no whole place
  int x, y, width, height;
};

extern WindowPlace lyricsWindowPlace;

// Reads the place from `section` of the settings file `path`; any key missing or not a number
// leaves it unknown.
void readWindowPlace(const char* section, const char* path);
// Writes a known place; true when every write succeeded (or there was nothing to write).
bool writeWindowPlace(const char* section, const char* path);
