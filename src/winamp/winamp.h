// The Winamp 5 general-purpose plug-in interface, as far as Tunelore uses it.
#pragma once

#include <windows.h>

#include <cstddef>

#define GPPHDR_VER 0x10

// The record the player reads through winampGetGeneralPurposePlugin(); field order and
// widths are the player's, so nothing may be added, removed or reordered here.
struct winampGeneralPurposePlugin {
  int version;
  char* description;
  int (*init)();
  void (*config)();
  void (*quit)();
  HWND hwndParent;
  HINSTANCE hDllInstance;
};

// The player reads the record by these offsets: 4-byte fields on 32-bit Windows,
// pointer-sized ones on 64-bit.
#define GPP_FIELD_SIZE (sizeof(void*))
static_assert(sizeof(int) == 4, "version is a 32-bit field");
static_assert(offsetof(winampGeneralPurposePlugin, description) == GPP_FIELD_SIZE, "record layout");
static_assert(offsetof(winampGeneralPurposePlugin, init) == 2 * GPP_FIELD_SIZE, "record layout");
static_assert(offsetof(winampGeneralPurposePlugin, config) == 3 * GPP_FIELD_SIZE, "record layout");
static_assert(offsetof(winampGeneralPurposePlugin, quit) == 4 * GPP_FIELD_SIZE, "record layout");
static_assert(offsetof(winampGeneralPurposePlugin, hwndParent) == 5 * GPP_FIELD_SIZE,
              "record layout");
static_assert(offsetof(winampGeneralPurposePlugin, hDllInstance) == 6 * GPP_FIELD_SIZE,
              "record layout");
static_assert(sizeof(winampGeneralPurposePlugin) == 7 * GPP_FIELD_SIZE, "record layout");

// Requests: SendMessageA(hwndParent, WM_WA_IPC, argument, request number).
#define WM_WA_IPC WM_USER
#define IPC_GETVERSION 0
#define IPC_GETLISTPOS 125
#define IPC_GETPLAYLISTFILE 211
#define IPC_GETPLAYLISTTITLE 212
#define IPC_MBOPEN 241
#define IPC_MBBLOCK 248
#define IPC_GETWND 260
#define IPC_GETWND_PE 1  // IPC_GETWND's argument: the playlist editor
#define IPC_GET_HMENU 281
#define IPC_GET_EXTENDED_FILE_INFO 290
#define IPC_GETINIDIRECTORY 335
#define IPC_CB_MISC 603        // posted by the player to its main window; wParam says what
#define IPC_CB_MISC_TITLE 0    // IPC_CB_MISC: the player's title changed (track, stream title)
#define IPC_PLAYING_FILE 3003  // sent by the player to its main window as each track starts
#define IPC_REGISTER_LOWORD_COMMAND 3019
#define IPC_GET_API_SERVICE \
  3025  // the service API (players from 5.12 on); older ones answer 0 or 1
#define IPC_OPEN_URL 3032

// IPC_GET_EXTENDED_FILE_INFO's argument: the player writes the file's value for the key
// `metadata` into `ret` (at most `retlen` bytes, ANSI code page) and answers nonzero when its
// decoder knew it.
struct extendedFileInfoStruct {
  const char* filename;
  const char* metadata;
  char* ret;
  size_t retlen;
};
static_assert(sizeof(extendedFileInfoStruct) == 4 * sizeof(void*), "four pointer-sized fields");

// IPC_GETVERSION answers 0x50yx for 5.yx; from 5.22 on there is no mini-browser, and
// IPC_OPEN_URL hands an address to the user's web browser instead.
#define FIRST_VERSION_WITHOUT_MINI_BROWSER 0x5022

// Main-window messages around a track change.
#define WINAMP_TRACK_MESSAGE (WM_USER + 2)
#define WINAMP_EXIT 40001     // the Exit item of the main menu
#define WINAMP_BUTTON1 40044  // previous track
#define WINAMP_BUTTON4 40047  // stop
#define WINAMP_BUTTON5 40048  // next track

// Playlist-editor window (the class name finds it only where it is a top-level window) and
// its messages around a track change.
#define WINAMP_PLAYLIST_CLASS "Winamp PE"
#define PLAYLIST_FIRST_MESSAGE WM_USER
#define PLAYLIST_SECOND_MESSAGE (WM_USER + 1)
