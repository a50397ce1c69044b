// The requests Tunelore makes of the player, named for what they ask.
#pragma once

#include <windows.h>

int currentListPosition();
// Both texts belong to the player and are valid only until the next request; null when the
// entry has none.
const char* playlistFilePath(int index);
const char* playlistDisplayTitle(int index);
// The player's settings folder, e.g. "%APPDATA%\Winamp", or null; the player's text.
const char* playerSettingsFolder();
// The playlist editor's window, wherever the skin hosts it; null from players that do not say.
HWND playlistEditorWindow();
void bringUpMiniBrowser();
void openInMiniBrowser(const char* address);
void blockMiniBrowser(bool blocked);
