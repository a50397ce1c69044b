// The playing track's title, artist and album: from its ID3 tag; else from the player's own
// reading of the file (or of a stream's current song); else from the player's display title
// "Artist - Title".
#pragma once

#define TRACK_FIELD_SIZE 1024  // at most 1023 characters and a terminator
// The entry's file name as kept for the requests about it; a longer one is not asked about.
#define FILE_NAME_SIZE 2048

struct TrackInfo {
  char artist[TRACK_FIELD_SIZE];
  char title[TRACK_FIELD_SIZE];
  char album[TRACK_FIELD_SIZE];
};

// Clears `info` and fills it for playlist entry `index`, each source asked only while the
// ones before it gave neither title nor artist.
void gatherTrackInfo(int index, TrackInfo& info);

// Splits "Artist - Title" at its first " - " (else its first "-") into artist and title,
// each trimmed; leaves both empty when there is no hyphen.
void splitDisplayTitle(const char* displayTitle, TrackInfo& info);
void splitPlaylistTitle(int index, TrackInfo& info);
void trimSpaces(char* text);
