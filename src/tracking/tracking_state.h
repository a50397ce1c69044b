// What the hooks and the update remember from one player message to the next.
#pragma once

#include "tracking/lyrics_page.h"

struct TrackingState {
  // Set by a main-window trigger, so the editor's messages for the same change run no second
  // update; cleared by the editor when it skips that update.
  int mainWindowTriggered;
  // The editor's watched messages since its last trigger point.
  int playlistMessageCount;
  // The page last sent; an address equal to it is not sent again.
  char lastPageAddress[PAGE_ADDRESS_SIZE];
};

extern TrackingState tracking;

// Back to the state at load: nothing seen, nothing sent.
void resetTracking();
