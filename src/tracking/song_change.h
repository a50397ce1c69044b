// Track changes inferred from the player's own window messages, through two window
// procedures placed in front of the main window's and the playlist editor's.
#pragma once

#include <windows.h>

// A main-window message the plug-in answers itself instead of the player (its menu item):
// true when it was one. Such a message is not forwarded.
typedef bool (*OwnMessageHandler)(UINT message, WPARAM wParam);

// Hooks the player's main window (the one the requests go to) and its playlist editor.
// `ownMessages` may be null.
void installHooks(OwnMessageHandler ownMessages);
// Hands each window its saved procedure back, or leaves the hook in a chain that has grown
// in front of it; either way the hooks only forward from then on.
void removeHooks();

LRESULT CALLBACK mainWindowHook(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK playlistWindowHook(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
