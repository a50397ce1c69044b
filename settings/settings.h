// The three switches and their INI file, "Plugins\gen_tunelore.ini" beside the player.
#pragma once

extern bool bDisabledPlugin;
extern bool bDisabledStartUp;
extern bool bDisabledAutoOpen;

#define SETTINGS_PATH_SIZE 260

// A new SETTINGS_PATH_SIZE-byte text the caller frees with delete[], or null when there is
// no path (no memory, no readable player path, or no room for the file name).
char* settingsFilePath();
void loadSettings(const char* section);
void saveSettings(const char* section);
// The save that quit and the dialog's OK share: renames the plug-in in the player's list
// and writes the switches under the plug-in's file name.
void saveAndRename();
