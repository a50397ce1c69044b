// The settings dialog, reached through the player's plug-in preferences.
#pragma once

#include <windows.h>

void showSettingsDialog();
INT_PTR CALLBACK settingsDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
