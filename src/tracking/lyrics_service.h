// Tunelore's objects that the player's browser component calls: the service that names the
// lyrics window and gives its home page, and the handler that hears the window close. They
// are static; their reference counts only say whether the component still holds them. The
// component's browser thread calls the service too.
#pragma once

#include <windows.h>

#include "winamp/dispatchable.h"

// The title the lyrics window shows (the component's buffer holds 128 characters).
#define LYRICS_WINDOW_NAME L"Tunelore Lyrics"

// Called on the player's thread as a window made through the browser object is destroyed.
typedef void (*WindowClosed)(HWND window);

// Prepares the service before it is first handed to the component.
void openLyricsService();
Dispatchable* lyricsService();
Dispatchable* lyricsWindowEvents(WindowClosed onClose);
// The page the service gives as the window's home page (copied).
void setLyricsHomePage(const wchar_t* page);
// Frees what openLyricsService made, unless the component still holds one of the objects:
// then false, and everything stays for the calls still to come.
bool closeLyricsService();
