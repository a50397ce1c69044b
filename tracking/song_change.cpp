#include "tracking/song_change.h"

#include "host/player_menu.h"
#include "host/player_requests.h"
#include "host/plugin.h"
#include "settings/settings.h"
#include "tracking/lyrics_page.h"

int mainWindowTriggered;
int playlistMessageCount;

// Only the counts 0, 1 and 2 lead anywhere; beyond that it need not grow (nor overflow).
static const int PLAYLIST_COUNT_CEILING = 3;

// A Unicode window is read, replaced, forwarded to and restored through the W forms: the A
// forms would turn it into an ANSI window, and every text passing through it (the title bar,
// the taskbar entry) would lose the characters outside the ANSI code page.
struct HookedWindow {
  HWND window;
  WNDPROC savedProcedure;
  bool unicode;
  HWND leftInChain;  // the window whose chain still holds the hook after a quit
};

static HookedWindow mainWindow;
static HookedWindow playlistWindow;
static bool hooksRetired;

static LONG_PTR currentProcedure(const HookedWindow& hooked) {
  return hooked.unicode ? GetWindowLongPtrW(hooked.window, GWLP_WNDPROC)
                        : GetWindowLongPtrA(hooked.window, GWLP_WNDPROC);
}

static LONG_PTR replaceProcedure(const HookedWindow& hooked, WNDPROC procedure) {
  return hooked.unicode ? SetWindowLongPtrW(hooked.window, GWLP_WNDPROC, (LONG_PTR)procedure)
                        : SetWindowLongPtrA(hooked.window, GWLP_WNDPROC, (LONG_PTR)procedure);
}

static LRESULT forward(const HookedWindow& hooked, HWND window, UINT message, WPARAM wParam,
                       LPARAM lParam) {
  return hooked.unicode ? CallWindowProcW(hooked.savedProcedure, window, message, wParam, lParam)
                        : CallWindowProcA(hooked.savedProcedure, window, message, wParam, lParam);
}

static void hook(HookedWindow& hooked, HWND window, WNDPROC procedure) {
  if (window == nullptr) return;
  hooked.window = window;
  // A start-up after a quit that had to leave the hook in this window's chain: it resumes
  // there. Hooking again would make the hook its own saved procedure, two links apart.
  if (window == hooked.leftInChain) return;
  hooked.unicode = IsWindowUnicode(window) != FALSE;
  hooked.savedProcedure = (WNDPROC)currentProcedure(hooked);
  replaceProcedure(hooked, procedure);
}

// Under a modern skin the editor is a child of the skin's window, which the class search
// (top-level windows only) never finds; players that do not name it still have it on top.
static HWND findPlaylistEditor() {
  HWND editor = playlistEditorWindow();
  return editor != nullptr ? editor : FindWindowA(WINAMP_PLAYLIST_CLASS, nullptr);
}

void installHooks() {
  hooksRetired = false;
  hook(mainWindow, plugin.hwndParent, mainWindowHook);
  hook(playlistWindow, findPlaylistEditor(), playlistWindowHook);
}

static void pinThisModule() {
  HMODULE self = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                     (LPCSTR)&mainWindowHook, &self);
}

static void unhook(HookedWindow& hooked, WNDPROC procedure) {
  if (hooked.window == nullptr || !IsWindow(hooked.window)) return;
  if (currentProcedure(hooked) == (LONG_PTR)procedure) {
    replaceProcedure(hooked, hooked.savedProcedure);
    hooked.leftInChain = nullptr;
  } else {
    pinThisModule();
    hooked.leftInChain = hooked.window;
  }
  hooked.window = nullptr;  // handled once; the saved procedure stays for a hook left in a chain
}

void removeHooks() {
  hooksRetired = true;
  unhook(mainWindow, mainWindowHook);
  unhook(playlistWindow, playlistWindowHook);
}

static bool watching() { return !bDisabledPlugin && !hooksRetired; }

static bool isTrackChangeCommand(WPARAM wParam) {
  return wParam == WINAMP_BUTTON1 || wParam == WINAMP_BUTTON4 || wParam == WINAMP_BUTTON5;
}

// The "playing file" notice reaches the main window on every start of a track, whichever way
// it was started (keys, playlist, media library, Explorer), where the commands do not.
static bool isTrackChange(UINT message, WPARAM wParam, LPARAM lParam) {
  return message == WINAMP_TRACK_MESSAGE ||
         (message == WM_COMMAND && isTrackChangeCommand(wParam)) ||
         (message == WM_WA_IPC && lParam == IPC_PLAYING_FILE);
}

LRESULT CALLBACK mainWindowHook(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (isLyricsMenuPick(message, wParam)) {
    openLyricsForThisSong();
    return 0;  // the player does not know this command
  }
  LRESULT result = forward(mainWindow, window, message, wParam, lParam);
  if (!watching()) return result;
  if (isTrackChange(message, wParam, lParam)) {
    mainWindowTriggered = 1;
    updateLyricsPage();
  }
  return result;
}

static void countPlaylistMessage() {
  if (playlistMessageCount < PLAYLIST_COUNT_CEILING) ++playlistMessageCount;
}

LRESULT CALLBACK playlistWindowHook(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = forward(playlistWindow, window, message, wParam, lParam);
  if (!watching()) return result;
  if (message == PLAYLIST_FIRST_MESSAGE) {
    if (playlistMessageCount == 2) {
      updateLyricsPage();
      playlistMessageCount = 0;
    } else {
      countPlaylistMessage();
    }
  } else if (message == PLAYLIST_SECOND_MESSAGE) {
    if (playlistMessageCount == 1) {
      if (mainWindowTriggered) {
        mainWindowTriggered = 0;
      } else {
        updateLyricsPage();
      }
      playlistMessageCount = 0;
    } else {
      countPlaylistMessage();
    }
  }
  return result;
}
