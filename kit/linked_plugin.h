// The plug-in's code linked into this program and loaded into the model player, as the player
// sets a general-purpose plug-in up before start-up: for the tests, the benchmarks, the fuzz
// targets and the session on the model.
#pragma once

#include <string>

#include "kit/model_player.h"
#include "kit/player_place.h"

namespace kit {

// The linked plug-in's record and module: on the model a module
// C:\Winamp\Plugins\gen_tunelore.dll carrying dialog 101, on Windows this program itself.
Plugin linkedPlugin();
// Prepares the player's folder in `folder`, starts the model player, hands it the linked
// plug-in and puts the plug-in's state back as it is right after loading. False when the
// player could not be started.
bool loadPlugin(const std::string& folder,
                const modelplayer::Options& player = modelplayer::Options());
// Takes the hooks out and stops the model player.
void unloadPlugin();
// The plug-in's file name: the section of the settings file.
std::string pluginFileName();
// Whether the plug-in's module has been pinned in memory, where that can be seen.
bool canObservePinning();
bool pluginModulePinned();

}  // namespace kit
