// The popup window: created hidden on the calling thread, it holds the browser object and the
// service while it lives, runs a browser thread of its own, raises the window events to the
// browser object's handlers and records what it is asked.
#include <algorithm>
#include <cstring>
#include <cwchar>

#include "kit/browser_state.h"

namespace browsercomponent {

using namespace browsernumbers;

// Posted by CreatePopup: the browser has loaded its blank start page.
static const UINT BROWSER_READY = WM_USER + 1;
// The longest address a navigation copies.
static const size_t ADDRESS_LIMIT = 65536;

// What CreatePopup hands the window as it is created.
struct Creation {
  int browser;
  void* service;
  RECT rect;
};

static std::wstring popupClass() {
  return std::wstring(POPUP_CLASS, POPUP_CLASS + strlen(POPUP_CLASS));
}

static PopupState* livePopup(HWND window) {
  for (PopupState& popup : state().popups)
    if (popup.record.window == window && !popup.record.destroyed) return &popup;
  return nullptr;
}

// ---- Creation and destruction

static void startBrowserThread(PopupState& popup) {
  std::promise<void> started;
  popup.browserThread = std::thread(runBrowserThread, popup.record.service, &popup.record, &started,
                                    popup.exit.get_future());
  started.get_future().wait();
}

static LRESULT created(HWND window, const CREATESTRUCTW* create) {
  const Creation& creation = *(const Creation*)create->lpCreateParams;
  state().popups.emplace_back();
  PopupState& popup = state().popups.back();
  popup.browser = creation.browser;
  popup.uiThread = std::this_thread::get_id();
  Popup& record = popup.record;
  record.window = window;
  record.created = creation.rect;
  record.style = (DWORD)create->style;
  record.owner = create->hwndParent;
  record.service = creation.service;
  addBrowserReference(creation.browser);
  if (record.service != nullptr) {
    holdService(record.service);
    checkRefused(record.service, IFC_OM_SERVICE_EVENT_MNGR, "IFC_OmServiceEventMngr");
    checkRefused(record.service, IFC_OM_SERVICE_COMMAND, "IFC_OmServiceCommand");
  }
  record.title = record.service != nullptr ? serviceTitle(record.service) : DEFAULT_TITLE;
  SetWindowTextW(window, record.title.c_str());
  startBrowserThread(popup);
  raiseEvent(creation.browser, event::WINDOW_CREATE, window);
  return 0;
}

static void destroyed(PopupState& popup) {
  Popup& record = popup.record;
  raiseEvent(popup.browser, event::WINDOW_CLOSE, record.window);
  record.destroyed = true;
  if (record.service != nullptr) releaseService(record.service);
  std::vector<HWND>& windows = state().browsers[popup.browser].windows;
  windows.erase(std::remove(windows.begin(), windows.end(), record.window), windows.end());
  releaseBrowserReference(popup.browser);
  popup.exit.set_value();
  popup.browserThread.join();
}

void joinBrowserThreads() {
  for (PopupState& popup : state().popups) {
    if (!popup.browserThread.joinable()) continue;
    popup.exit.set_value();
    popup.browserThread.join();
  }
}

HRESULT createPopup(int browserIndex, void* service, RECT rect, HWND owner, const wchar_t*,
                    UINT viewStyle, HWND* out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  BrowserObject& browser = state().browsers[browserIndex];
  if (state().failure == Failure::CreatePopupFails || browser.finishing) return E_FAIL;
  if (state().failure == Failure::CreatePopupGivesNoWindow) return S_OK;
  if (!browser.initialised) {
    fault("CreatePopup on a browser object that was not initialised");
    if (owner == nullptr) return E_INVALIDARG;
  }
  if (owner == nullptr) owner = browser.owner != nullptr ? browser.owner : state().mainWindow;
  Creation creation = {browserIndex, service, rect};
  DWORD style = POPUP_STYLE | (viewStyle & VIEW_STYLE_MASK);
  HWND window = CreateWindowExW(0, popupClass().c_str(), DEFAULT_TITLE, style, rect.left, rect.top,
                                rect.right - rect.left, rect.bottom - rect.top, owner, nullptr,
                                GetModuleHandleA(nullptr), &creation);
  if (window == nullptr) return E_FAIL;
  browser.windows.push_back(window);
  // The real popup navigates to forceUrl or home now, unscheduled, before its browser is
  // ready: that navigation is lost, so none is made here.
  PostMessageA(window, BROWSER_READY, 0, 0);
  *out = window;
  return S_OK;
}

// ---- Navigation

static bool goesHome(const Popup& record) {
  return record.service != nullptr && !(record.style & NBCS_NOSERVICECOMMANDS);
}

static void load(Popup& record, const Navigation& navigation) {
  if (navigation.command < 0) {
    record.pages.push_back(navigation.url);
  } else if (navigation.command == NAVIGATE_HOME && goesHome(record)) {
    std::wstring home = readText(record.service, service::GET_URL, URL_CAPACITY, "GetUrl");
    if (!home.empty()) record.pages.push_back(home);
  } else if (navigation.command == NAVIGATE_BLANK) {
    record.pages.push_back(L"about:blank");
  }
}

static std::wstring copiedAddress(const wchar_t* address) {
  size_t length = wcsnlen(address, ADDRESS_LIMIT);
  if (length == ADDRESS_LIMIT) fault("NBCM_NAVIGATE given an address without an end");
  return std::wstring(address, length);
}

static LRESULT navigate(PopupState& popup, WPARAM schedule, LPARAM target) {
  bool isCommand = (ULONG_PTR)target < (ULONG_PTR)NAVIGATE_COMMAND_LIMIT;
  Navigation navigation = {schedule, isCommand ? target : -1, L""};
  if (!isCommand) navigation.url = copiedAddress((const wchar_t*)target);
  popup.record.navigations.push_back(navigation);
  if (popup.record.ready) {
    load(popup.record, navigation);
    return TRUE;
  }
  if (!schedule) return FALSE;
  popup.stored = navigation;
  popup.hasStored = true;
  return TRUE;
}

static void becomeReady(PopupState& popup) {
  Popup& record = popup.record;
  record.ready = true;
  if (record.service != nullptr)
    record.homeUrl = readText(record.service, service::GET_URL, URL_CAPACITY, "GetUrl");
  if (popup.hasStored)
    load(record, popup.stored);
  else if (goesHome(record) && !record.homeUrl.empty())
    record.pages.push_back(record.homeUrl);
}

// ---- The window

static LRESULT CALLBACK popupProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_GETMINMAXINFO) {
    ((MINMAXINFO*)lParam)->ptMinTrackSize = {MINIMUM_WIDTH, MINIMUM_HEIGHT};
    return 0;
  }
  if (message == WM_CREATE) return created(window, (const CREATESTRUCTW*)lParam);
  PopupState* popup = livePopup(window);
  if (popup == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  Popup& record = popup->record;
  switch (message) {
    case WM_DESTROY:
      destroyed(*popup);
      return 0;
    case WM_SHOWWINDOW:
      record.shown = record.shown || wParam != FALSE;
      break;
    case WM_ACTIVATE:
      record.activated = record.activated || LOWORD(wParam) != WA_INACTIVE;
      break;
    case WM_SETFOCUS:
      record.focused = true;
      break;
    case NBCM_NAVIGATE:
      return navigate(*popup, wParam, lParam);
    case NBPM_ACTIVATEFRAME:
      ++record.framesActivated;
      SetForegroundWindow(window);
      return TRUE;
    case BROWSER_READY:
      becomeReady(*popup);
      return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void registerPopupClass() {
  std::wstring name = popupClass();
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = popupProcedure;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = name.c_str();
  RegisterClassW(&windowClass);
}

void unregisterPopupClass() { UnregisterClassW(popupClass().c_str(), GetModuleHandleA(nullptr)); }

}  // namespace browsercomponent
