// The plug-in's code loaded into the model player, as the player sets a general-purpose
// plug-in up before start-up: for the tests, the benchmarks and the fuzz targets.
#pragma once

#include <string>

#include "model/player/model_player.h"

namespace harness {

// Prepares the player's folder (using `folder` where the platform lets it), starts the model
// player, fills in the record's main window and module handle, and puts the plug-in's state
// back as it is right after loading. False when the player could not be started.
bool loadPlugin(const std::string& folder,
                const modelplayer::Options& player = modelplayer::Options());
// Takes the hooks out and stops the model player.
void unloadPlugin();

}  // namespace harness
