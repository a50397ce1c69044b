// The three switches and their INI file: "Plugins\gen_tunelore.ini" beside the player, or,
// where that cannot be written, the same file below the player's settings folder. The file
// also keeps the lyrics window's place (settings/window_place.h).
#pragma once

extern bool bDisabledPlugin;
extern bool bDisabledStartUp;
extern bool bDisabledAutoOpen;

#define SETTINGS_PATH_SIZE 260

// The file beside the player: a new SETTINGS_PATH_SIZE-byte text the caller frees with
// delete[], or null when there is no path (no memory, no readable player path, or no room for
// the file name).
char* settingsFilePath();
// The file below the player's settings folder `folder` (the player's text, read no further
// than SETTINGS_PATH_SIZE bytes), freed the same way; null when `folder` is null, empty, not
// terminated within SETTINGS_PATH_SIZE bytes or too long for the file name.
char* settingsFolderFilePath(const char* folder);

// Both take the settings folder as the player names it; null means it names none. Loading
// prefers the settings folder's file when it exists: it is only ever written when the file
// beside the player could not be.
void loadSettings(const char* section, const char* settingsFolder = nullptr);
// Writes the switches, and the window's place once known, beside the player; if any write
// there fails, writes them all to the settings folder's file instead (creating its Plugins
// folder). After a save beside the player succeeded, an earlier settings folder's file is
// deleted so the two never disagree.
void saveSettings(const char* section, const char* settingsFolder = nullptr);
