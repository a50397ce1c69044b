// The player's side of the plug-in interface, written out here once from the player's
// published numbers and kept apart from the plug-in's own header on purpose: the model
// player, the player programs and the tests use these, so a wrong number on the plug-in's
// side shows up as a failing test instead of agreeing with itself.
#pragma once

#include <windows.h>

namespace playernumbers {

// The record a general-purpose plug-in hands the player, as the player reads it.
struct PluginRecord {
  int version;
  char* description;
  int (*init)();
  void (*config)();
  void (*quit)();
  HWND hwndParent;
  HINSTANCE hDllInstance;
};
const int RECORD_VERSION = 0x10;
const char ENTRY_FUNCTION[] = "winampGetGeneralPurposePlugin";

// IPC_GETVERSION's answer of today's player (5.9.2); the players from 5.22 on have no
// mini-browser.
const unsigned TODAYS_VERSION = 0x5092;
const unsigned FIRST_WITHOUT_MINI_BROWSER = 0x5022;

// Requests: message WA_IPC to the main window, lParam the request number.
const UINT WA_IPC = 0x400;
namespace request {
const LPARAM GETVERSION = 0;
const LPARAM GETLISTPOS = 125;
const LPARAM GETPLAYLISTFILE = 211;
const LPARAM GETPLAYLISTTITLE = 212;
const LPARAM MBOPEN = 241;
const LPARAM MBBLOCK = 248;
const LPARAM GETWND = 260;
const LPARAM GET_HMENU = 281;
const LPARAM GET_EXTENDED_FILE_INFO = 290;
const LPARAM GETINIDIRECTORY = 335;
const LPARAM PLAYING_FILE = 3003;
const LPARAM REGISTER_LOWORD_COMMAND = 3019;
const LPARAM GET_API_SERVICE = 3025;  // the service API of 5.12 and later, or 0 or 1
const LPARAM OPEN_URL = 3032;
const LPARAM PLAYING_FILEW = 13003;
}  // namespace request
const WPARAM GETWND_PE = 1;  // IPC_GETWND's argument for the playlist editor

// IPC_GET_EXTENDED_FILE_INFO's argument: the file, the key ("title", "artist", "album",
// "streamtitle"), and the caller's buffer. The player writes the value there in the ANSI
// code page and answers nonzero when its decoder answered.
struct ExtendedFileInfo {
  const char* filename;
  const char* metadata;
  char* ret;
  size_t retlen;
};
static_assert(sizeof(ExtendedFileInfo) == 4 * sizeof(void*), "four pointer-sized fields");
namespace infokey {
const char TITLE[] = "title";
const char ARTIST[] = "artist";
const char ALBUM[] = "album";
const char STREAM_TITLE[] = "streamtitle";  // a stream's "Artist - Title", without the station
}  // namespace infokey

// The player's notices to its own main window: posted WA_IPC with lParam CB_MISC.
const LPARAM CB_MISC = 603;
namespace misc {
const WPARAM TITLE = 0;  // the playing entry's title changed: start, stop, pause, stream
const WPARAM STATUS = 2;
const WPARAM INFO = 4;
}  // namespace misc

// The main window: commands (WM_COMMAND) and the end-of-track message.
namespace command {
const WORD EXIT = 40001;
const WORD PREVIOUS = 40044;
const WORD PLAY = 40045;
const WORD PAUSE = 40046;
const WORD STOP = 40047;
const WORD NEXT = 40048;
}  // namespace command
const UINT END_OF_TRACK = 0x402;

// The playlist editor: its class, and the messages it gets around a track change.
const char PLAYLIST_CLASS[] = "Winamp PE";
const UINT PE_SHOW_ENTRY = 0x400;  // wParam SHOW_ENTRY_ARGUMENT
const WPARAM SHOW_ENTRY_ARGUMENT = 666;
const UINT PE_SECOND = 0x401;  // sent by the players of the 5.0 days only

}  // namespace playernumbers
