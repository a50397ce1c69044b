// The lyrics page update: steer the lyrics window, or on players without one the mini-browser,
// to the page of the playing track.
#pragma once

#include "product.h"
#include "tracking/track_metadata.h"

// The site's root: the start-up page, and the start of every lyrics page's address.
#define LYRICS_BASE_ADDRESS LYRICS_SITE "/"
#define PAGE_ADDRESS_SIZE 2056  // at most 2055 characters and a terminator

// Writes base address, "plugin.php?" and the non-empty fields into `address`
// (PAGE_ADDRESS_SIZE bytes). A field that does not fit whole is left out, and so is every
// field after it.
void composePageAddress(const TrackInfo& info, char* address);

void updateLyricsPage();
// The pick of "Lyrics for this song": the playing track's page, composed as an update
// composes it, in the lyrics window brought to the front; on players without one, in the
// user's web browser on players without a mini-browser and in the mini-browser, brought up, on
// older ones. Leaves the last page sent alone; does nothing while
// the plug-in is switched off.
void openLyricsForThisSong();
