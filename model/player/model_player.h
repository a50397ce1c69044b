// A model of the player, written against the Win32 API so that it runs on the Linux model
// of Windows and on Windows itself: a main window that answers the plug-in's requests from
// a playlist and records every mini-browser request, and a playlist-editor window.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace modelplayer {

struct Entry {
  std::string path;   // file path handed out for the entry
  std::string title;  // display title
  bool hasPath = true;
  bool hasTitle = true;
};

struct BrowserRequest {
  int request;          // IPC_MBOPEN or IPC_MBBLOCK
  WPARAM argument;      // 0 or 1, or the address for IPC_MBOPEN
  std::string address;  // copied during the call, empty when argument is not an address
};

// Registers the classes and creates the two windows; false when that failed.
bool start();
// Destroys both windows and unregisters the classes.
void stop();
HWND mainWindow();
HWND playlistWindow();

void setPlaylist(const std::vector<Entry>& entries);
// Moves to `position` and sends what the player sends on a track change: the next-track
// command to the main window, then the playlist editor's two messages.
void changeTrack(int position);
// The folder of the player's executable, ending in a backslash.
std::string playerFolder();
void setPosition(int position);
int position();

const std::vector<BrowserRequest>& browserRequests();
void clearBrowserRequests();
// One line per request: "block 0", "bring up", "open <address>", "block 1".
std::string describe(const BrowserRequest& request);
std::vector<std::string> describedRequests();

// What the player's own window procedures return for a message that is not a request, so a
// test can tell the player's answer from anything else.
LRESULT mainWindowAnswer(UINT message);
LRESULT playlistWindowAnswer(UINT message);
// Messages each of the player's own procedures has received, in order.
const std::vector<UINT>& mainWindowMessages();
const std::vector<UINT>& playlistWindowMessages();

// Called after each mini-browser request has been recorded, still inside the request.
void onBrowserRequest(std::function<void(const BrowserRequest&)> handler);
// Called when a modal dialog owned by the main window is idle (WM_ENTERIDLE).
void onDialogIdle(std::function<void(HWND dialog)> handler);

// Text the player hands out is overwritten at the next message: this marks what a plug-in
// that kept an old text pointer would read.
extern const char STALE_TEXT[];

}  // namespace modelplayer
