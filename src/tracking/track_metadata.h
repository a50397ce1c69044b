// The playing track's title, artist and album: from its ID3 tag, else from the player's
// display title "Artist - Title".
#pragma once

#define TRACK_FIELD_SIZE 1024  // at most 1023 characters and a terminator

struct TrackInfo {
  char artist[TRACK_FIELD_SIZE];
  char title[TRACK_FIELD_SIZE];
  char album[TRACK_FIELD_SIZE];
};

// Clears `info`, reads the tag of playlist entry `index` and falls back to its display
// title when the tag gives neither title nor artist.
void gatherTrackInfo(int index, TrackInfo& info);

void readTrackTags(int index, TrackInfo& info);
void splitPlaylistTitle(int index, TrackInfo& info);
void trimSpaces(char* text);
