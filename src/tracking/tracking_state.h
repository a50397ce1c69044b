// What the hooks and the update remember from one player message to the next.
#pragma once

#include <windows.h>

#include "tracking/lyrics_page.h"
#include "winamp/dispatchable.h"

// A file's tag fields as last read, with what names that reading: the file's name, size and
// last-write time. A tag rewritten since has another size or time.
struct TagReading {
  char file[FILE_NAME_SIZE];  // empty: nothing kept
  DWORD sizeHigh;
  DWORD sizeLow;
  FILETIME written;
  TrackInfo fields;
};

// The lyrics window, and the browser component it is made through.
struct LyricsWindowState {
  Dispatchable* serviceApi;
  Dispatchable* browser;       // one per session: each request of the factory makes another
  Dispatchable* eventManager;  // held while our handler is registered with it
  HWND popup;
  bool componentMissing;  // looked for and not there: the session goes on without
};

struct TrackingState {
  // Set by a main-window trigger, so the editor's messages for the same change run no second
  // update; cleared by the editor when it skips that update.
  int mainWindowTriggered;
  // The editor's watched messages since its last trigger point.
  int playlistMessageCount;
  // The page last sent; an address equal to it is not sent again.
  char lastPageAddress[PAGE_ADDRESS_SIZE];
  // The tag read last, for the updates after the first of one track change.
  TagReading lastTagReading;
  LyricsWindowState lyricsWindow;
};

extern TrackingState tracking;

// Back to the state at load: nothing seen, nothing sent.
void resetTracking();
