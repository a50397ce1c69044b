// The lyrics window: a popup of the player's browser component that shows the playing track's
// page, on the players that have the component (5.56 and later, where it is installed). It
// takes the mini-browser's place there.
#pragma once

enum class LyricsWindowShow {
  IfOpen,       // only a window already open follows; a closed one stays closed
  OpenQuietly,  // a closed window is opened and shown, without taking the focus
  OpenInFront,  // opened if closed, and brought to the front
};

// Shows `address` (ANSI) in the lyrics window as `how` says. False when the player has no
// browser component, or the component could not make the window: the caller then goes the way
// of players without one.
bool showInLyricsWindow(const char* address, LyricsWindowShow how);
// At quit: remembers the window's place and hands back to the component everything of the
// plug-in's (the window, the browser object, the event handler). Where the component still
// holds an object of ours afterwards, the module is pinned.
void closeLyricsWindow();
