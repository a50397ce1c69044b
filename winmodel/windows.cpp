// Windows and window classes: registration, creation, parents, finding by class.
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

HWND createWindow(const char* className, const std::wstring& title, HWND parent, int id) {
  auto registered = state().classes.find(lowerCase(className));
  if (registered == state().classes.end()) {
    SetLastError(1407);  // ERROR_CANNOT_FIND_WND_CLASS
    return nullptr;
  }
  auto window = std::make_unique<ModelWindow>();
  window->className = className;
  window->text = title;
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

static ATOM registerClass(const std::string& name, WNDPROC procedure, bool unicode) {
  std::string key = winmodel::lowerCase(name.c_str());
  if (state().classes.count(key) != 0) {
    SetLastError(1410);  // ERROR_CLASS_ALREADY_EXISTS
    return 0;
  }
  state().classes[key] = {procedure, unicode};
  return (ATOM)(0xC000 + state().classes.size());
}

ATOM WINAPI RegisterClassA(const WNDCLASSA* windowClass) {
  return registerClass(windowClass->lpszClassName, windowClass->lpfnWndProc, false);
}

ATOM WINAPI RegisterClassW(const WNDCLASSW* windowClass) {
  return registerClass(winmodel::narrowed(windowClass->lpszClassName), windowClass->lpfnWndProc,
                       true);
}

BOOL WINAPI UnregisterClassA(LPCSTR className, HINSTANCE) {
  return state().classes.erase(winmodel::lowerCase(className)) != 0;
}

BOOL WINAPI UnregisterClassW(LPCWSTR className, HINSTANCE instance) {
  return UnregisterClassA(winmodel::narrowed(className).c_str(), instance);
}

static HWND createWindowEx(const std::string& className, const std::wstring& title, HWND parent,
                           HMENU menu) {
  return winmodel::createWindow(className.c_str(), title, parent, (int)(INT_PTR)menu);
}

HWND WINAPI CreateWindowExA(DWORD, LPCSTR className, LPCSTR title, DWORD, int, int, int, int,
                            HWND parent, HMENU menu, HINSTANCE, LPVOID) {
  return createWindowEx(className, winmodel::widened(title != nullptr ? title : ""), parent, menu);
}

HWND WINAPI CreateWindowExW(DWORD, LPCWSTR className, LPCWSTR title, DWORD, int, int, int, int,
                            HWND parent, HMENU menu, HINSTANCE, LPVOID) {
  return createWindowEx(winmodel::narrowed(className), title != nullptr ? title : L"", parent,
                        menu);
}

BOOL WINAPI DestroyWindow(HWND window) {
  if (!isLiveWindow(window)) return FALSE;
  for (HWND child : window->children) DestroyWindow(child);
  SendMessageA(window, WM_DESTROY, 0, 0);
  window->alive = false;
  return TRUE;
}

BOOL WINAPI IsWindow(HWND window) { return isLiveWindow(window); }

// Moves the window under another; its procedure and everything else stay as they are.
HWND WINAPI SetParent(HWND child, HWND newParent) {
  if (!isLiveWindow(child)) return nullptr;
  HWND previous = child->parent;
  if (previous != nullptr) {
    auto& siblings = previous->children;
    for (auto at = siblings.begin(); at != siblings.end(); ++at) {
      if (*at == child) {
        siblings.erase(at);
        break;
      }
    }
  }
  child->parent = newParent;
  if (newParent != nullptr) newParent->children.push_back(child);
  return previous;
}

// Top-level windows only, as Windows searches.
HWND WINAPI FindWindowA(LPCSTR className, LPCSTR windowName) {
  for (const auto& window : state().windows) {
    if (!window->alive || window->parent != nullptr) continue;
    if (className != nullptr &&
        winmodel::lowerCase(className) != winmodel::lowerCase(window->className.c_str()))
      continue;
    if (windowName != nullptr && window->text != winmodel::widened(windowName)) continue;
    return window.get();
  }
  return nullptr;
}
