#include "tracking/song_change.h"

#include "settings/settings.h"
#include "tracking/lyrics_page.h"
#include "tracking/tracking_state.h"
#include "tracking/window_hook.h"
#include "winamp/player_requests.h"
#include "winamp/winamp.h"

// The playlist editor's counter: the players of the 5.0 days announce a new entry to the
// editor with 0x400 three times, or 0x400/0x401 twice, and the counter recognises those
// sequences as earlier releases did. Once past 2 it leads nowhere again; it need not grow
// (nor overflow) beyond this.
static const int PLAYLIST_COUNT_CEILING = 3;

static HookedWindow mainWindow;
static HookedWindow playlistWindow;
static OwnMessageHandler ownMessageHandler;
static bool hooksRetired;

// Under a modern skin the editor is a child of the skin's window, which the class search
// (top-level windows only) never finds; players that do not name it still have it on top.
static HWND findPlaylistEditor() {
  HWND editor = playlistEditorWindow();
  return editor != nullptr ? editor : FindWindowA(WINAMP_PLAYLIST_CLASS, nullptr);
}

void installHooks(OwnMessageHandler ownMessages) {
  hooksRetired = false;
  ownMessageHandler = ownMessages;
  hookWindow(mainWindow, playerWindow(), mainWindowHook);
  hookWindow(playlistWindow, findPlaylistEditor(), playlistWindowHook);
}

void removeHooks() {
  hooksRetired = true;
  ownMessageHandler = nullptr;
  unhookWindow(mainWindow, mainWindowHook);
  unhookWindow(playlistWindow, playlistWindowHook);
}

static bool watching() { return !bDisabledPlugin && !hooksRetired; }

// The whole wParam, as earlier releases compared it: the buttons send a zero high word, and
// the accelerator form (high word 1) is covered by the "playing file" notice that follows.
static bool isTrackChangeCommand(WPARAM wParam) {
  return wParam == WINAMP_BUTTON1 || wParam == WINAMP_BUTTON4 || wParam == WINAMP_BUTTON5;
}

// The "playing file" notice reaches the main window on every start of a track, whichever way
// it was started (keys, playlist, media library, Explorer), where the commands do not. The
// title notice also comes whenever a stream's station moves on to its next song.
static bool isPlayerNotice(WPARAM wParam, LPARAM lParam) {
  return lParam == IPC_PLAYING_FILE || (lParam == IPC_CB_MISC && wParam == IPC_CB_MISC_TITLE);
}

static bool isTrackChange(UINT message, WPARAM wParam, LPARAM lParam) {
  return message == WINAMP_TRACK_MESSAGE ||
         (message == WM_COMMAND && isTrackChangeCommand(wParam)) ||
         (message == WM_WA_IPC && isPlayerNotice(wParam, lParam));
}

LRESULT CALLBACK mainWindowHook(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (ownMessageHandler != nullptr && ownMessageHandler(message, wParam)) {
    return 0;  // the player does not know the plug-in's own commands
  }
  LRESULT result = forwardToPlayer(mainWindow, window, message, wParam, lParam);
  if (!watching()) return result;
  if (isTrackChange(message, wParam, lParam)) {
    tracking.mainWindowTriggered = 1;
    updateLyricsPage();
  }
  return result;
}

static void countPlaylistMessage() {
  if (tracking.playlistMessageCount < PLAYLIST_COUNT_CEILING) ++tracking.playlistMessageCount;
}

// A 0x400 after two watched messages.
static void onPlaylistFirstMessage() {
  if (tracking.playlistMessageCount == 2) {
    updateLyricsPage();
    tracking.playlistMessageCount = 0;
  } else {
    countPlaylistMessage();
  }
}

// A 0x401 after one watched message; its update is skipped when the main window has already run the
// update for this change.
static void onPlaylistSecondMessage() {
  if (tracking.playlistMessageCount == 1) {
    if (tracking.mainWindowTriggered) {
      tracking.mainWindowTriggered = 0;
    } else {
      updateLyricsPage();
    }
    tracking.playlistMessageCount = 0;
  } else {
    countPlaylistMessage();
  }
}

LRESULT CALLBACK playlistWindowHook(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = forwardToPlayer(playlistWindow, window, message, wParam, lParam);
  if (!watching()) return result;
  if (message == PLAYLIST_FIRST_MESSAGE) {
    onPlaylistFirstMessage();
  } else if (message == PLAYLIST_SECOND_MESSAGE) {
    onPlaylistSecondMessage();
  }
  return result;
}
