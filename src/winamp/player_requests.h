// The requests Tunelore makes of the player, named for what they ask.
#pragma once

#include <windows.h>

#include "winamp/dispatchable.h"

// Every request goes to the player's main window, named once at start-up.
void connectToPlayer(HWND mainWindow);
HWND playerWindow();

int currentListPosition();
// Both texts belong to the player and are valid only until the next request; null when the
// entry has none.
const char* playlistFilePath(int index);
const char* playlistDisplayTitle(int index);
// The player's own reading of `file`'s metadata for `key` ("title", "artist", "album",
// "streamtitle") into `value` (`size` bytes, always terminated); false, with `value` empty,
// when the player does not know it.
bool askFileInfo(const char* file, const char* key, char* value, size_t size);
// The player's settings folder, e.g. "%APPDATA%\Winamp", or null; the player's text.
const char* playerSettingsFolder();
// The playlist editor's window, wherever the skin hosts it; null from players that do not say.
HWND playlistEditorWindow();
// 0x50yx for version 5.yx.
unsigned playerVersion();
// The player's main pop-up menu, or null.
HMENU playerMainMenu();
// A command id of the player's own range for a menu item; 0 or 1 when the player has none.
UINT registerMenuCommand();
// The player's service API, through which its components are found; null from players without
// one.
Dispatchable* playerServiceApi();
// Hands `address` to the user's web browser (players from 5.22 on).
void openInWebBrowser(const char* address);
void bringUpMiniBrowser();
void openInMiniBrowser(const char* address);
void blockMiniBrowser(bool blocked);
