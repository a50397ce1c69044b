// A window procedure placed in front of one of the player's windows, and handed back.
#pragma once

#include <windows.h>

// A Unicode window is read, replaced, forwarded to and restored through the W forms: the A
// forms would turn it into an ANSI window, and every text passing through it (the title bar,
// the taskbar entry) would lose the characters outside the ANSI code page.
struct HookedWindow {
  HWND window;
  WNDPROC savedProcedure;
  bool unicode;
  HWND leftInChain;  // the window whose chain still holds the hook after a quit
};

// Puts `procedure` in front of `window`'s; a null window is skipped.
void hookWindow(HookedWindow& hooked, HWND window, WNDPROC procedure);
// Hands the window its saved procedure back where `procedure` is still the current one;
// where something has been placed in front of it since, pins the module instead so that
// chain stays valid.
void unhookWindow(HookedWindow& hooked, WNDPROC procedure);
LRESULT forwardToPlayer(const HookedWindow& hooked, HWND window, UINT message, WPARAM wParam,
                        LPARAM lParam);
