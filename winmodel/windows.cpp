// Windows and window classes: registration, creation, parents, finding by class.
#include <algorithm>

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

bool isLiveWindow(HWND window) {
  for (const auto& known : state().windows) {
    if (known.get() == window) return known->alive;
  }
  return false;
}

HWND createWindow(const char* className, const std::wstring& title, HWND parent, int id) {
  auto registered = state().classes.find(className);
  if (registered == state().classes.end()) {
    SetLastError(1407);  // ERROR_CANNOT_FIND_WND_CLASS
    return nullptr;
  }
  state().windows.push_back(std::make_unique<ModelWindow>());
  HWND window = state().windows.back().get();
  window->className = className;
  window->text = title;
  window->procedure = registered->second;
  window->parent = parent;
  window->id = id;
  if (parent != nullptr) parent->children.push_back(window);
  return window;
}

}  // namespace winmodel

using winmodel::isLiveWindow;
using winmodel::state;

static ATOM registerClass(const std::string& name, WNDPROC procedure, bool unicode) {
  if (!state().classes.emplace(name, ModelProcedure{procedure, unicode}).second) {
    SetLastError(1410);  // ERROR_CLASS_ALREADY_EXISTS
    return 0;
  }
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
  return state().classes.erase(className) != 0;
}

HWND WINAPI CreateWindowExA(DWORD, LPCSTR className, LPCSTR title, DWORD, int, int, int, int,
                            HWND parent, HMENU menu, HINSTANCE, LPVOID) {
  return winmodel::createWindow(className, winmodel::widened(title != nullptr ? title : ""), parent,
                                (int)(INT_PTR)menu);
}

HWND WINAPI CreateWindowExW(DWORD, LPCWSTR className, LPCWSTR title, DWORD, int, int, int, int,
                            HWND parent, HMENU menu, HINSTANCE, LPVOID) {
  return winmodel::createWindow(winmodel::narrowed(className).c_str(),
                                title != nullptr ? title : L"", parent, (int)(INT_PTR)menu);
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
    siblings.erase(std::find(siblings.begin(), siblings.end(), child));
  }
  child->parent = newParent;
  if (newParent != nullptr) newParent->children.push_back(child);
  return previous;
}

// Top-level windows only, as Windows searches.
HWND WINAPI FindWindowA(LPCSTR className, LPCSTR windowName) {
  for (const auto& window : state().windows) {
    if (!window->alive || window->parent != nullptr) continue;
    if (className != nullptr && strcasecmp(className, window->className.c_str()) != 0) continue;
    if (windowName != nullptr && window->text != winmodel::widened(windowName)) continue;
    return window.get();
  }
  return nullptr;
}
