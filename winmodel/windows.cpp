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

BOOL WINAPI UnregisterClassW(LPCWSTR className, HINSTANCE instance) {
  return UnregisterClassA(winmodel::narrowed(className).c_str(), instance);
}

// What CreateWindowEx does in either form: the window at its place (a top-level window's
// parent argument is its owner), WM_CREATE, whose -1 undoes the creation, then showing it
// when WS_VISIBLE asks for that.
template <typename CreateStruct>
static HWND createWithStyle(const std::string& className, const std::wstring& title,
                            CreateStruct create) {
  bool child = (create.style & WS_CHILD) != 0;
  HWND window =
      winmodel::createWindow(className.c_str(), title, child ? create.hwndParent : nullptr,
                             child ? (int)(INT_PTR)create.hMenu : 0);
  if (window == nullptr) return nullptr;
  window->owner = child ? nullptr : create.hwndParent;
  window->style = (DWORD)create.style & ~(DWORD)WS_VISIBLE;
  winmodel::keepMinimumSize(window, create.cx, create.cy);
  window->rect = {create.x, create.y, create.x + create.cx, create.y + create.cy};
  if (SendMessageA(window, WM_CREATE, 0, (LPARAM)&create) == -1) {
    DestroyWindow(window);
    return nullptr;
  }
  if (create.style & WS_VISIBLE) ShowWindow(window, SW_SHOW);
  return window;
}

HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR title, DWORD style, int x,
                            int y, int width, int height, HWND parent, HMENU menu,
                            HINSTANCE instance, LPVOID param) {
  CREATESTRUCTA create = {param, instance, menu,        parent, height,    width,
                          y,     x,        (LONG)style, title,  className, exStyle};
  return createWithStyle(className, winmodel::widened(title != nullptr ? title : ""), create);
}

HWND WINAPI CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR title, DWORD style, int x,
                            int y, int width, int height, HWND parent, HMENU menu,
                            HINSTANCE instance, LPVOID param) {
  CREATESTRUCTW create = {param, instance, menu,        parent, height,    width,
                          y,     x,        (LONG)style, title,  className, exStyle};
  return createWithStyle(winmodel::narrowed(className), title != nullptr ? title : L"", create);
}

static void destroyOwnedBy(HWND owner) {
  for (const auto& window : state().windows)
    if (window->alive && window->owner == owner) DestroyWindow(window.get());
}

static void sendDestroy(HWND window) {
  SendMessageA(window, WM_DESTROY, 0, 0);
  for (HWND child : window->children) sendDestroy(child);
  if (state().focusWindow == window) state().focusWindow = nullptr;
  if (state().activeWindow == window) state().activeWindow = nullptr;
  window->alive = false;
}

// In Windows' order: the window is hidden and gives up being active, the windows it owns go
// first, then WM_DESTROY reaches it and then its children.
BOOL WINAPI DestroyWindow(HWND window) {
  if (!isLiveWindow(window)) return FALSE;
  if (window->visible)
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_HIDEWINDOW);
  if (window->parent == nullptr) destroyOwnedBy(window);
  sendDestroy(window);
  return TRUE;
}

HWND WINAPI GetAncestor(HWND window, UINT flags) {
  if (!isLiveWindow(window) || flags != GA_ROOT) return nullptr;
  while (window->parent != nullptr) window = window->parent;
  return window;
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
