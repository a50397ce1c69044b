// Keeping the plug-in's code loaded for as long as the process runs.
#pragma once

// Pins the plug-in's module: for code of ours that something outside the plug-in can still
// reach after quit (a window procedure left in a chain, an object the browser component still
// holds), so that the player's unloading can never leave it pointing into freed memory.
void pinThisModule();
