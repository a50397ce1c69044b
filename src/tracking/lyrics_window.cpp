#include "tracking/lyrics_window.h"

#include <windows.h>

#include "settings/window_place.h"
#include "tracking/lyrics_page.h"
#include "tracking/lyrics_service.h"
#include "tracking/module_pin.h"
#include "tracking/tracking_state.h"
#include "winamp/browser_component.h"
#include "winamp/player_requests.h"

// The first window's size, before the user has placed one.
static const int FIRST_WIDTH = 480;
static const int FIRST_HEIGHT = 640;

static LyricsWindowState& lyrics = tracking.lyricsWindow;

// The frame, in screen coordinates: under a modern skin the popup is a child of the skin's frame.
static void rememberPlace(HWND window) {
  RECT frame;
  if (!GetWindowRect(GetAncestor(window, GA_ROOT), &frame)) return;
  lyricsWindowPlace = {true, (int)frame.left, (int)frame.top, (int)(frame.right - frame.left),
                       (int)(frame.bottom - frame.top)};
}

// The component destroys a window the user closes and tells nobody but its handlers.
static void onWindowClosed(HWND window) {
  if (window != lyrics.popup) return;
  rememberPlace(window);
  lyrics.popup = nullptr;
}

static void listenForClose() {
  lyrics.eventManager = queryInterface(lyrics.browser, IFC_OmBrowserEventManager);
  if (lyrics.eventManager == nullptr) return;
  if (FAILED(registerEventHandler(lyrics.eventManager, lyricsWindowEvents(onWindowClosed)))) {
    releaseObject(lyrics.eventManager);
    lyrics.eventManager = nullptr;
  }
}

static void stopListening() {
  if (lyrics.eventManager == nullptr) return;
  unregisterEventHandler(lyrics.eventManager, lyricsWindowEvents(nullptr));
  releaseObject(lyrics.eventManager);
  lyrics.eventManager = nullptr;
}

static bool findComponent() {
  if (lyrics.browser != nullptr) return true;
  if (lyrics.componentMissing) return false;
  lyrics.serviceApi = playerServiceApi();
  Dispatchable* factory =
      lyrics.serviceApi != nullptr ? findBrowserFactory(lyrics.serviceApi) : nullptr;
  lyrics.browser = factory != nullptr ? createBrowserObject(factory) : nullptr;
  lyrics.componentMissing = lyrics.browser == nullptr;
  if (lyrics.componentMissing) return false;
  openLyricsService();
  listenForClose();
  return true;
}

// Without a word from the component, a window is known closed when it is gone.
static bool windowOpen() {
  if (lyrics.popup != nullptr && !IsWindow(lyrics.popup)) lyrics.popup = nullptr;
  return lyrics.popup != nullptr;
}

static int fitSize(int wanted, int room, int smallest) {
  int size = wanted < room ? wanted : room;
  return size > smallest ? size : smallest;
}

// Centred in the work area, no larger than it and no smaller than the component allows.
static RECT firstFrame() {
  RECT work = {0, 0, FIRST_WIDTH, FIRST_HEIGHT};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  int width = fitSize(FIRST_WIDTH, (int)(work.right - work.left), POPUP_MIN_WIDTH);
  int height = fitSize(FIRST_HEIGHT, (int)(work.bottom - work.top), POPUP_MIN_HEIGHT);
  int x = (int)work.left + ((int)(work.right - work.left) - width) / 2;
  int y = (int)work.top + ((int)(work.bottom - work.top) - height) / 2;
  return {x, y, x + width, y + height};
}

// The remembered place while it is on a screen of today's and no smaller than the minimum.
static RECT lyricsWindowFrame() {
  const WindowPlace& place = lyricsWindowPlace;
  if (!place.known || place.width < POPUP_MIN_WIDTH || place.height < POPUP_MIN_HEIGHT) {
    return firstFrame();
  }
  RECT frame = {place.x, place.y, place.x + place.width, place.y + place.height};
  return MonitorFromRect(&frame, MONITOR_DEFAULTTONULL) != nullptr ? frame : firstFrame();
}

static bool openWindow() {
  if (FAILED(initializeBrowser(lyrics.browser, playerWindow()))) return false;
  HWND created = nullptr;
  HRESULT result = createBrowserPopup(lyrics.browser, lyricsService(), lyricsWindowFrame(),
                                      playerWindow(), NBCS_BLOCKPOPUP, &created);
  if (SUCCEEDED(result) && created != nullptr && IsWindow(created)) {
    lyrics.popup = created;
    return true;
  }
  if (created != nullptr && IsWindow(created)) DestroyWindow(created);  // no half-made window
  return false;
}

bool showInLyricsWindow(const char* address, LyricsWindowShow how) {
  if (!findComponent()) return false;
  wchar_t page[PAGE_ADDRESS_SIZE];
  if (MultiByteToWideChar(CP_ACP, 0, address, -1, page, PAGE_ADDRESS_SIZE) == 0) return false;
  // The home page first: a new window loads it once its browser is ready.
  setLyricsHomePage(page);
  bool opened = false;
  if (!windowOpen()) {
    if (how == LyricsWindowShow::IfOpen) return true;
    if (!openWindow()) return false;
    opened = true;
  }
  HWND window = lyrics.popup;
  // Kept until the browser is ready: a new window's browser is not yet.
  SendMessageW(window, NBCM_NAVIGATE, TRUE, (LPARAM)page);
  bool inFront = how == LyricsWindowShow::OpenInFront;
  if (opened) ShowWindow(window, inFront ? SW_SHOWNORMAL : SW_SHOWNOACTIVATE);
  if (inFront) SendMessageW(window, NBPM_ACTIVATEFRAME, 0, 0);
  // Also where the component cannot tell us of the window's closing.
  if (IsWindow(window)) rememberPlace(window);
  return true;
}

void closeLyricsWindow() {
  if (lyrics.browser != nullptr) {
    if (windowOpen()) rememberPlace(lyrics.popup);
    stopListening();
    finishBrowser(lyrics.browser);  // destroys the window where the player has not already
    lyrics.popup = nullptr;
    Dispatchable* factory = findBrowserFactory(lyrics.serviceApi);
    if (factory != nullptr) {
      releaseBrowserObject(factory, lyrics.browser);
    } else {
      releaseObject(lyrics.browser);
    }
    lyrics.browser = nullptr;
  }
  if (!closeLyricsService()) pinThisModule();
  lyrics.serviceApi = nullptr;
  lyrics.componentMissing = false;
}
