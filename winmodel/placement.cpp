// Where windows are and whether they show, the active window and the focus, and the screen.
#include "model_state.h"

using winmodel::isLiveWindow;
using winmodel::state;

// Wine's default for a captioned window that does not say otherwise.
static const POINT DEFAULT_MINIMUM_TRACK_SIZE = {116, 27};
static const RECT SCREEN = {0, 0, 1920, 1080};
static const RECT WORK_AREA = {0, 0, 1920, 1040};
static ModelMonitor* const ONLY_MONITOR = (ModelMonitor*)&SCREEN;

static bool isTopLevel(HWND window) { return window->parent == nullptr; }

void winmodel::setFocus(HWND window) {
  HWND previous = state().focusWindow;
  if (previous == window) return;
  state().focusWindow = window;
  if (isLiveWindow(previous)) SendMessageA(previous, WM_KILLFOCUS, (WPARAM)window, 0);
  if (window != nullptr) SendMessageA(window, WM_SETFOCUS, (WPARAM)previous, 0);
}

// The window that was active hears it first; the new one's DefWindowProc takes the focus.
void winmodel::activate(HWND window) {
  HWND previous = state().activeWindow;
  if (previous == window) return;
  state().activeWindow = window;
  if (isLiveWindow(previous))
    SendMessageA(previous, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), (LPARAM)window);
  SendMessageA(window, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 0), (LPARAM)previous);
}

void winmodel::deactivate(HWND window) {
  if (state().activeWindow != window) return;
  state().activeWindow = nullptr;
  SendMessageA(window, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), 0);
  HWND focus = state().focusWindow;
  if (focus != nullptr && GetAncestor(focus, GA_ROOT) == window) setFocus(nullptr);
}

void winmodel::keepMinimumSize(HWND window, int& width, int& height) {
  bool sizable = (window->style & WS_THICKFRAME) || !(window->style & (WS_POPUP | WS_CHILD));
  if (!sizable) return;
  MINMAXINFO limits = {};
  limits.ptMinTrackSize = DEFAULT_MINIMUM_TRACK_SIZE;
  limits.ptMaxTrackSize = {SCREEN.right, SCREEN.bottom};
  SendMessageA(window, WM_GETMINMAXINFO, 0, (LPARAM)&limits);
  if (width < limits.ptMinTrackSize.x) width = limits.ptMinTrackSize.x;
  if (height < limits.ptMinTrackSize.y) height = limits.ptMinTrackSize.y;
}

BOOL WINAPI GetWindowRect(HWND window, RECT* rect) {
  if (!isLiveWindow(window) || rect == nullptr) return FALSE;
  *rect = window->rect;
  for (HWND parent = window->parent; parent != nullptr; parent = parent->parent) {
    rect->left += parent->rect.left;
    rect->right += parent->rect.left;
    rect->top += parent->rect.top;
    rect->bottom += parent->rect.top;
  }
  return TRUE;
}

// As Windows does without SWP_NOACTIVATE, a top-level window is activated even while hidden.
// Showing and hiding this way send no WM_SHOWWINDOW.
BOOL WINAPI SetWindowPos(HWND window, HWND, int x, int y, int width, int height, UINT flags) {
  if (!isLiveWindow(window)) return FALSE;
  RECT& rect = window->rect;
  if (!(flags & SWP_NOSIZE)) {
    winmodel::keepMinimumSize(window, width, height);
    rect.right = rect.left + width;
    rect.bottom = rect.top + height;
  }
  if (!(flags & SWP_NOMOVE)) {
    rect = {x, y, x + rect.right - rect.left, y + rect.bottom - rect.top};
  }
  if (flags & SWP_SHOWWINDOW) window->visible = true;
  if (flags & SWP_HIDEWINDOW) {
    window->visible = false;
    winmodel::deactivate(window);
  } else if (!(flags & SWP_NOACTIVATE) && isTopLevel(window)) {
    winmodel::activate(window);
  }
  return TRUE;
}

BOOL WINAPI MoveWindow(HWND window, int x, int y, int width, int height, BOOL) {
  return SetWindowPos(window, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL WINAPI ShowWindow(HWND window, int command) {
  if (!isLiveWindow(window)) return FALSE;
  bool wasVisible = window->visible;
  bool show = command != SW_HIDE;
  if (show != wasVisible) {
    SendMessageA(window, WM_SHOWWINDOW, show, 0);
    window->visible = show;
  }
  if (!show) {
    winmodel::deactivate(window);
  } else if ((command == SW_SHOWNORMAL || command == SW_SHOW) && isTopLevel(window)) {
    winmodel::activate(window);
  }
  return wasVisible;
}

BOOL WINAPI IsWindowVisible(HWND window) {
  for (; isLiveWindow(window); window = window->parent) {
    if (!window->visible) return FALSE;
    if (window->parent == nullptr) return TRUE;
  }
  return FALSE;
}

BOOL WINAPI SetForegroundWindow(HWND window) {
  if (!isLiveWindow(window) || !isTopLevel(window)) return FALSE;
  winmodel::activate(window);
  return TRUE;
}

HWND WINAPI GetForegroundWindow(void) { return state().activeWindow; }
HWND WINAPI GetActiveWindow(void) { return state().activeWindow; }
HWND WINAPI GetFocus(void) { return state().focusWindow; }

// ---- The screen

static bool overlapsScreen(const RECT& rect) {
  // An empty rectangle counts by its corner, as a point.
  LONG right = rect.right > rect.left ? rect.right : rect.left + 1;
  LONG bottom = rect.bottom > rect.top ? rect.bottom : rect.top + 1;
  return rect.left < SCREEN.right && right > SCREEN.left && rect.top < SCREEN.bottom &&
         bottom > SCREEN.top;
}

HMONITOR WINAPI MonitorFromRect(const RECT* rect, DWORD flags) {
  if (rect == nullptr) return nullptr;
  bool fallsBack = flags == MONITOR_DEFAULTTOPRIMARY || flags == MONITOR_DEFAULTTONEAREST;
  return overlapsScreen(*rect) || fallsBack ? ONLY_MONITOR : nullptr;
}

BOOL WINAPI GetMonitorInfoA(HMONITOR monitor, MONITORINFO* info) {
  if (monitor != ONLY_MONITOR || info == nullptr || info->cbSize < sizeof(MONITORINFO))
    return FALSE;
  info->rcMonitor = SCREEN;
  info->rcWork = WORK_AREA;
  info->dwFlags = MONITORINFOF_PRIMARY;
  return TRUE;
}

BOOL WINAPI SystemParametersInfoA(UINT action, UINT, LPVOID pvParam, UINT) {
  if (action != SPI_GETWORKAREA || pvParam == nullptr) return FALSE;
  *(RECT*)pvParam = WORK_AREA;
  return TRUE;
}
