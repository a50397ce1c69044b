// The settings dialog, reached through the player's plug-in preferences.
#pragma once

#include <windows.h>

// What OK does once the switches are stored: the plug-in's save.
typedef void (*SaveSwitches)();

// Runs dialog 101 from `module` modally, owned by `owner`; OK stores the switches and calls
// `save`.
void showSettingsDialog(HINSTANCE module, HWND owner, SaveSwitches save);
INT_PTR CALLBACK settingsDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
