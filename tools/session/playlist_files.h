// The session's playlist: the built-in sample tracks, or MP3 files and .m3u lists named on
// the command line.
#pragma once

#include <string>
#include <vector>

#include "model/player/model_player.h"

namespace session {

// Writes the sample tracks into `folder` and returns their entries.
std::vector<modelplayer::Entry> samplePlaylist(const std::string& folder);

// Entries for the named MP3 files and .m3u playlists. False, with `error` set, when a
// playlist cannot be read; an MP3 that cannot be read is still an entry, as in the player.
bool playlistFromArguments(const std::vector<std::string>& names,
                           std::vector<modelplayer::Entry>& entries, std::string& error);

}  // namespace session
