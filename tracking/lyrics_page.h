// The lyrics page update: steer the player's mini-browser to the page of the playing track.
#pragma once

#include "tracking/track_metadata.h"

#define LYRICS_BASE_ADDRESS "http://tunelore.test/"
#define PAGE_ADDRESS_SIZE 2056  // at most 2055 characters and a terminator

extern char lastPageAddress[PAGE_ADDRESS_SIZE];

// Writes base address, "plugin.php?" and the non-empty fields into `address`
// (PAGE_ADDRESS_SIZE bytes). A field that does not fit whole is left out, and so is every
// field after it.
void composePageAddress(const TrackInfo& info, char* address);

void updateLyricsPage();
