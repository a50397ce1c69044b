// Windows, window classes, window procedures and message sending.
#include <cctype>

#include "model_state.h"

namespace winmodel {

static State freshState() {
  State fresh;
  registerBuiltInClasses(fresh);
  return fresh;
}

State& state() {
  static State current = freshState();
  return current;
}

void reset() { state() = freshState(); }

std::string lowerCase(const char* text) {
  std::string lower(text);
  for (char& c : lower) c = (char)std::tolower((unsigned char)c);
  return lower;
}

bool isLiveWindow(HWND window) {
  if (window == nullptr) return false;
  for (const auto& known : state().windows) {
    if (known.get() == window) return known->alive;
  }
  return false;
}

HWND createWindow(const char* className, const char* title, HWND parent, int id) {
  auto registered = state().classes.find(lowerCase(className));
  if (registered == state().classes.end()) {
    SetLastError(1407);  // ERROR_CANNOT_FIND_WND_CLASS
    return nullptr;
  }
  auto window = std::make_unique<ModelWindow>();
  window->className = className;
  window->text = title != nullptr ? title : "";
  window->procedure = registered->second;
  window->parent = parent;
  window->id = id;
  HWND handle = window.get();
  state().windows.push_back(std::move(window));
  if (parent != nullptr) parent->children.push_back(handle);
  return handle;
}

}  // namespace winmodel

using winmodel::isLiveWindow;
using winmodel::state;

ATOM WINAPI RegisterClassA(const WNDCLASSA* windowClass) {
  std::string name = winmodel::lowerCase(windowClass->lpszClassName);
  if (state().classes.count(name) != 0) {
    SetLastError(1410);  // ERROR_CLASS_ALREADY_EXISTS
    return 0;
  }
  state().classes[name] = windowClass->lpfnWndProc;
  return (ATOM)(0xC000 + state().classes.size());
}

BOOL WINAPI UnregisterClassA(LPCSTR className, HINSTANCE) {
  return state().classes.erase(winmodel::lowerCase(className)) != 0;
}

HWND WINAPI CreateWindowExA(DWORD, LPCSTR className, LPCSTR title, DWORD, int, int, int, int,
                            HWND parent, HMENU menu, HINSTANCE, LPVOID) {
  if (parent == HWND_MESSAGE) parent = nullptr;
  return winmodel::createWindow(className, title, parent, (int)(INT_PTR)menu);
}

BOOL WINAPI DestroyWindow(HWND window) {
  if (!isLiveWindow(window)) return FALSE;
  for (HWND child : window->children) DestroyWindow(child);
  SendMessageA(window, WM_DESTROY, 0, 0);
  window->alive = false;
  return TRUE;
}

BOOL WINAPI IsWindow(HWND window) { return isLiveWindow(window); }

HWND WINAPI FindWindowA(LPCSTR className, LPCSTR windowName) {
  for (const auto& window : state().windows) {
    if (!window->alive || window->parent != nullptr) continue;
    if (className != nullptr &&
        winmodel::lowerCase(className) != winmodel::lowerCase(window->className.c_str()))
      continue;
    if (windowName != nullptr && window->text != windowName) continue;
    return window.get();
  }
  return nullptr;
}

LRESULT WINAPI SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!isLiveWindow(window)) {
    SetLastError(1400);  // ERROR_INVALID_WINDOW_HANDLE
    return 0;
  }
  return window->procedure(window, message, wParam, lParam);
}

BOOL WINAPI PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!isLiveWindow(window)) return FALSE;
  state().posted.push_back({window, message, wParam, lParam});
  return TRUE;
}

void winmodel::deliverPosted() {
  while (!state().posted.empty()) {
    PostedMessage next = state().posted.front();
    state().posted.pop_front();
    SendMessageA(next.window, next.message, next.wParam, next.lParam);
  }
}

LRESULT WINAPI CallWindowProcA(WNDPROC previous, HWND window, UINT message, WPARAM wParam,
                               LPARAM lParam) {
  return previous != nullptr ? previous(window, message, wParam, lParam) : 0;
}

LRESULT WINAPI DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETTEXT:
      window->text = lParam != 0 ? (const char*)lParam : "";
      return TRUE;
    case WM_GETTEXT: {
      if (wParam == 0) return 0;
      lstrcpynA((char*)lParam, window->text.c_str(), (int)wParam);
      return lstrlenA((const char*)lParam);
    }
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) SendMessageA(window, WM_CLOSE, 0, 0);
      return 0;
    case WM_CLOSE:
      DestroyWindow(window);
      return 0;
    default:
      return 0;
  }
}

LONG_PTR WINAPI GetWindowLongPtrA(HWND window, int index) {
  if (!isLiveWindow(window) || index != GWLP_WNDPROC) return 0;
  return (LONG_PTR)window->procedure;
}

LONG_PTR WINAPI SetWindowLongPtrA(HWND window, int index, LONG_PTR value) {
  if (!isLiveWindow(window) || index != GWLP_WNDPROC) return 0;
  LONG_PTR previous = (LONG_PTR)window->procedure;
  window->procedure = (WNDPROC)value;
  return previous;
}
