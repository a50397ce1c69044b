// "Lyrics for this song" in the player's main pop-up menu, just before Exit.
#pragma once

#include <windows.h>

#define LYRICS_MENU_TEXT "Lyrics for this song"

// At the end of start-up: adds the item when the player has a main menu and a command id to
// spare, greyed while the plug-in is switched off.
void addLyricsMenuItem();
// Greys the item or brings it back to match bDisabledPlugin; start-up and the dialog's OK,
// the only places the switch changes, call it.
void showLyricsMenuItemState();
// At quit, before the hooks are taken out.
void removeLyricsMenuItem();
// Whether a main-window message is the pick of the item: WM_COMMAND with its command in the
// low word (menus shown by the player or a skin), or WM_SYSCOMMAND with exactly its command
// (the same menu inside the window's system menu).
bool isLyricsMenuPick(UINT message, WPARAM wParam);
