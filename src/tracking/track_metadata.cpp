#include "tracking/track_metadata.h"

#include <id3.h>
#include <windows.h>

#include <cstring>

#include "tracking/tracking_state.h"
#include "winamp/player_requests.h"

static bool hasTitleOrArtist(const TrackInfo& info) {
  return info.title[0] != '\0' || info.artist[0] != '\0';
}

static void readTextFrame(const ID3Tag* tag, ID3_FrameID frameId, char* field) {
  ID3Frame* frame = ID3Tag_FindFrameWithID(tag, frameId);
  if (frame == nullptr) return;
  ID3Field* text = ID3Frame_GetField(frame, ID3FN_TEXT);
  if (text == nullptr) return;
  ID3Field_GetASCII(text, field, TRACK_FIELD_SIZE - 1);
  field[TRACK_FIELD_SIZE - 1] = '\0';
}

static void readTrackTags(const char* path, TrackInfo& info) {
  ID3Tag* tag = ID3Tag_New();
  if (tag == nullptr) return;
  // Only the frames read below: a cover picture is stepped over, not read.
  static const ID3_FrameID frames[] = {ID3FID_TITLE, ID3FID_LEADARTIST, ID3FID_ALBUM};
  if (path != nullptr) ID3Tag_LinkWithFrames(tag, path, frames, sizeof frames / sizeof frames[0]);
  readTextFrame(tag, ID3FID_TITLE, info.title);
  readTextFrame(tag, ID3FID_LEADARTIST, info.artist);
  readTextFrame(tag, ID3FID_ALBUM, info.album);
  ID3Tag_Delete(tag);
}

// The player's text lives only until its next request, so the name is copied before any other
// is sent. A name that does not fit whole would name another file: it counts as none.
static bool copyFileName(const char* path, char* file) {
  file[0] = '\0';
  if (path == nullptr) return false;
  size_t length = strnlen(path, FILE_NAME_SIZE);
  if (length == 0 || length == FILE_NAME_SIZE) return false;
  memcpy(file, path, length + 1);
  return true;
}

// What the player's own decoders read: any format, any tag encoding. The album completes the
// tag's fields only where the tag had none.
static void askPlayerForFields(const char* file, TrackInfo& info) {
  TrackInfo answer;
  askFileInfo(file, "title", answer.title, TRACK_FIELD_SIZE);
  askFileInfo(file, "artist", answer.artist, TRACK_FIELD_SIZE);
  if (!hasTitleOrArtist(answer)) return;
  memcpy(info.title, answer.title, TRACK_FIELD_SIZE);
  memcpy(info.artist, answer.artist, TRACK_FIELD_SIZE);
  if (info.album[0] == '\0') askFileInfo(file, "album", info.album, TRACK_FIELD_SIZE);
}

static bool isStream(const char* file) { return strstr(file, "://") != nullptr; }

// The song a station sent last, "Artist - Title", without the station's name that the
// display title carries.
static void askStreamTitle(const char* file, TrackInfo& info) {
  char streamTitle[TRACK_FIELD_SIZE];
  if (askFileInfo(file, "streamtitle", streamTitle, TRACK_FIELD_SIZE)) {
    splitDisplayTitle(streamTitle, info);
  }
}

// Asked only where the tag gave neither title nor artist; reading the tag sends no request, so
// the player's text is still valid here.
static void askPlayer(const char* path, TrackInfo& info) {
  char file[FILE_NAME_SIZE];
  if (!copyFileName(path, file)) return;
  askPlayerForFields(file, info);
  if (!hasTitleOrArtist(info) && isStream(file)) askStreamTitle(file, info);
}

// Size and last-write time, asked of the file system: no file is opened for them.
static bool readFileStamp(const char* path, WIN32_FILE_ATTRIBUTE_DATA& stamp) {
  return path != nullptr && GetFileAttributesExA(path, GetFileExInfoStandard, &stamp) != FALSE;
}

static bool isLastReading(const char* path, const WIN32_FILE_ATTRIBUTE_DATA& stamp) {
  const TagReading& last = tracking.lastTagReading;
  return last.file[0] != '\0' && strcmp(last.file, path) == 0 &&
         last.sizeHigh == stamp.nFileSizeHigh && last.sizeLow == stamp.nFileSizeLow &&
         last.written.dwLowDateTime == stamp.ftLastWriteTime.dwLowDateTime &&
         last.written.dwHighDateTime == stamp.ftLastWriteTime.dwHighDateTime;
}

// The tag's fields, read from the file only when it is not the one read last, unchanged: one
// track change reaches the update several times. A file the file system cannot describe is
// read every time.
static void readTagFields(const char* path, TrackInfo& info) {
  WIN32_FILE_ATTRIBUTE_DATA stamp;
  bool stamped = readFileStamp(path, stamp);
  TagReading& last = tracking.lastTagReading;
  if (stamped && isLastReading(path, stamp)) {
    memcpy(&info, &last.fields, sizeof info);
    return;
  }
  readTrackTags(path, info);
  if (!stamped || !copyFileName(path, last.file)) {
    last.file[0] = '\0';
    return;
  }
  last.sizeHigh = stamp.nFileSizeHigh;
  last.sizeLow = stamp.nFileSizeLow;
  last.written = stamp.ftLastWriteTime;
  memcpy(&last.fields, &info, sizeof info);
}

void gatherTrackInfo(int index, TrackInfo& info) {
  ZeroMemory(&info, sizeof info);
  const char* path = playlistFilePath(index);
  readTagFields(path, info);
  if (!hasTitleOrArtist(info)) askPlayer(path, info);
  if (!hasTitleOrArtist(info)) splitPlaylistTitle(index, info);
}

// The player shows "Artist - Title"; a hyphen inside a name ("A-ha") is no separator, so
// the spaced form wins whenever it is there.
static const char* findTitleSeparator(const char* displayTitle, int* separatorLength) {
  const char* spaced = strstr(displayTitle, " - ");
  if (spaced != nullptr) {
    *separatorLength = 3;
    return spaced;
  }
  *separatorLength = 1;
  return strchr(displayTitle, '-');
}

static void copyCut(char* field, const char* text, size_t length) {
  size_t kept = length < TRACK_FIELD_SIZE - 1 ? length : TRACK_FIELD_SIZE - 1;
  lstrcpynA(field, text, (int)kept + 1);
}

void splitDisplayTitle(const char* displayTitle, TrackInfo& info) {
  int separatorLength = 0;
  const char* separator = findTitleSeparator(displayTitle, &separatorLength);
  if (separator == nullptr) return;
  copyCut(info.artist, displayTitle, (size_t)(separator - displayTitle));
  const char* title = separator + separatorLength;
  copyCut(info.title, title, strlen(title));
  trimSpaces(info.title);
  trimSpaces(info.artist);
}

void splitPlaylistTitle(int index, TrackInfo& info) {
  const char* displayTitle = playlistDisplayTitle(index);
  if (displayTitle != nullptr) splitDisplayTitle(displayTitle, info);
}

void trimSpaces(char* text) {
  size_t length = strlen(text);
  while (length > 0 && text[length - 1] == ' ') text[--length] = '\0';
  size_t leading = 0;
  while (text[leading] == ' ') ++leading;
  if (leading > 0) memmove(text, text + leading, length - leading + 1);
}
