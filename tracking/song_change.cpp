#include "tracking/song_change.h"

#include "host/plugin.h"
#include "settings/settings.h"
#include "tracking/lyrics_page.h"

int mainWindowTriggered;
int playlistMessageCount;

// Only the counts 0, 1 and 2 lead anywhere; beyond that it need not grow (nor overflow).
static const int PLAYLIST_COUNT_CEILING = 3;

struct HookedWindow {
  HWND window;
  WNDPROC savedProcedure;
};

static HookedWindow mainWindow;
static HookedWindow playlistWindow;
static bool hooksRetired;

static void hook(HookedWindow& hooked, HWND window, WNDPROC procedure) {
  if (window == nullptr) return;
  hooked.window = window;
  hooked.savedProcedure = (WNDPROC)GetWindowLongPtrA(window, GWLP_WNDPROC);
  SetWindowLongPtrA(window, GWLP_WNDPROC, (LONG_PTR)procedure);
}

void installHooks() {
  hooksRetired = false;
  hook(mainWindow, plugin.hwndParent, mainWindowHook);
  hook(playlistWindow, FindWindowA(WINAMP_PLAYLIST_CLASS, nullptr), playlistWindowHook);
}

static void pinThisModule() {
  HMODULE self = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                     (LPCSTR)&mainWindowHook, &self);
}

static void unhook(HookedWindow& hooked, WNDPROC procedure) {
  if (hooked.window == nullptr || !IsWindow(hooked.window)) return;
  if (GetWindowLongPtrA(hooked.window, GWLP_WNDPROC) == (LONG_PTR)procedure) {
    SetWindowLongPtrA(hooked.window, GWLP_WNDPROC, (LONG_PTR)hooked.savedProcedure);
  } else {
    pinThisModule();
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

LRESULT CALLBACK mainWindowHook(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = CallWindowProcA(mainWindow.savedProcedure, window, message, wParam, lParam);
  if (!watching()) return result;
  if (message == WINAMP_TRACK_MESSAGE || (message == WM_COMMAND && isTrackChangeCommand(wParam))) {
    mainWindowTriggered = 1;
    updateLyricsPage();
  }
  return result;
}

static void countPlaylistMessage() {
  if (playlistMessageCount < PLAYLIST_COUNT_CEILING) ++playlistMessageCount;
}

LRESULT CALLBACK playlistWindowHook(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = CallWindowProcA(playlistWindow.savedProcedure, window, message, wParam, lParam);
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
