#include "tracking/track_metadata.h"

#include <id3.h>
#include <windows.h>

#include "winamp/player_requests.h"

static void readTextFrame(const ID3Tag* tag, ID3_FrameID frameId, char* field) {
  ID3Frame* frame = ID3Tag_FindFrameWithID(tag, frameId);
  if (frame == nullptr) return;
  ID3Field* text = ID3Frame_GetField(frame, ID3FN_TEXT);
  if (text == nullptr) return;
  ID3Field_GetASCII(text, field, TRACK_FIELD_SIZE - 1);
  field[TRACK_FIELD_SIZE - 1] = '\0';
}

void readTrackTags(int index, TrackInfo& info) {
  const char* path = playlistFilePath(index);
  ID3Tag* tag = ID3Tag_New();
  if (tag == nullptr) return;
  if (path != nullptr) ID3Tag_Link(tag, path);
  readTextFrame(tag, ID3FID_TITLE, info.title);
  readTextFrame(tag, ID3FID_LEADARTIST, info.artist);
  readTextFrame(tag, ID3FID_ALBUM, info.album);
  ID3Tag_Delete(tag);
}

// The player shows "Artist - Title"; a hyphen inside a name ("A-ha") is no separator, so
// the spaced form wins whenever it is there.
static const char* findTitleSeparator(const char* displayTitle, int* separatorLength) {
  for (const char* at = displayTitle; *at != '\0'; ++at) {
    if (at[0] == ' ' && at[1] == '-' && at[2] == ' ') {
      *separatorLength = 3;
      return at;
    }
  }
  *separatorLength = 1;
  for (const char* at = displayTitle; *at != '\0'; ++at) {
    if (*at == '-') return at;
  }
  return nullptr;
}

static void copyCut(char* field, const char* text, size_t length) {
  size_t kept = length < TRACK_FIELD_SIZE - 1 ? length : TRACK_FIELD_SIZE - 1;
  lstrcpynA(field, text, (int)kept + 1);
}

void splitPlaylistTitle(int index, TrackInfo& info) {
  const char* displayTitle = playlistDisplayTitle(index);
  if (displayTitle == nullptr) return;
  int separatorLength = 0;
  const char* separator = findTitleSeparator(displayTitle, &separatorLength);
  if (separator == nullptr) return;
  copyCut(info.artist, displayTitle, (size_t)(separator - displayTitle));
  const char* title = separator + separatorLength;
  copyCut(info.title, title, strlen(title));
  trimSpaces(info.title);
  trimSpaces(info.artist);
}

void trimSpaces(char* text) {
  size_t length = strlen(text);
  while (length > 0 && text[length - 1] == ' ') text[--length] = '\0';
  size_t leading = 0;
  while (text[leading] == ' ') ++leading;
  if (leading > 0) memmove(text, text + leading, length - leading + 1);
}

void gatherTrackInfo(int index, TrackInfo& info) {
  ZeroMemory(&info, sizeof info);
  readTrackTags(index, info);
  if (info.title[0] == '\0' && info.artist[0] == '\0') splitPlaylistTitle(index, info);
}
