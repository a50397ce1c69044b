// What the player's decoders read from a file, as the player hands it out through
// IPC_GET_EXTENDED_FILE_INFO: title, artist and album from any tag TagLib reads (ID3v1,
// ID3v2.2 to 2.4 in any encoding, FLAC and Ogg Vorbis comments, ...), in the ANSI code page.
#pragma once

#include "kit/model_player.h"

namespace session {

// Fills entry.info from the file at entry.path with the fields its tag has; a file without
// a tag, or one TagLib cannot read, leaves it empty, and the player answers 0.
void readPlayerMetadata(modelplayer::Entry& entry);

}  // namespace session
