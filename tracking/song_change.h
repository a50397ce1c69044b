// Track changes inferred from the player's own window messages, through two window
// procedures placed in front of the main window's and the playlist editor's.
#pragma once

#include <windows.h>

extern int mainWindowTriggered;
extern int playlistMessageCount;

void installHooks();
// Hands each window its saved procedure back where ours is still the current one; where
// something has been placed in front of ours since, pins the module instead so that chain
// stays valid. Either way the hooks only forward from then on.
void removeHooks();

LRESULT CALLBACK mainWindowHook(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK playlistWindowHook(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
