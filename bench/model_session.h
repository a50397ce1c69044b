// The model of Windows and the model player, set up as the player sets itself up before it
// starts a general-purpose plug-in, for the benchmarks and the long session.
#pragma once

#include <string>
#include <vector>

#include "model/player/model_player.h"
#include "model/player/sample_mp3.h"

namespace benchsession {

// A new empty folder below the system's temporary folder.
std::string makeScratchFolder(const std::string& name);
void removeFolder(const std::string& folder);

// Starts from a fresh model (so the window list holds only the player's two windows and
// every message costs the same), roots "C:\" at `folder`, starts the model player built as
// `player` says and fills in the plug-in's record. The plug-in's state is put back as it is
// right after loading.
bool startPlayer(const std::string& folder,
                 const modelplayer::Options& player = modelplayer::Options());
// Takes the hooks out and stops the model player.
void stopPlayer();

// A tagged track with `audioBytes` bytes of silent audio behind the tag, written to `path`.
bool writeTrack(const std::string& path, const samplemp3::TextFrames& frames, size_t audioBytes);
// The frames of a typical tag: title, artist, album, year, track number, genre.
samplemp3::TextFrames typicalFrames(const std::string& title, const std::string& artist,
                                    const std::string& album);
// An attached picture (APIC): a front cover, JPEG by its type and first bytes, `bytes` long.
samplemp3::TextFrames::value_type coverPicture(size_t bytes);

}  // namespace benchsession
