// The session's playlist: the built-in sample tracks, or audio files and .m3u lists named on
// the command line, each entry with what the player reads from its file.
#pragma once

#include <string>
#include <vector>

#include "kit/model_player.h"

namespace session {

// Writes the sample tracks into `folder` and returns their entries.
std::vector<modelplayer::Entry> samplePlaylist(const std::string& folder);

// Entries for the named audio files and .m3u playlists. False, with `error` set, when a
// playlist cannot be read; a file that cannot be read is still an entry, as in the player.
bool playlistFromArguments(const std::vector<std::string>& names,
                           std::vector<modelplayer::Entry>& entries, std::string& error);

}  // namespace session
