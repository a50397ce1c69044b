#include "tracking/window_hook.h"

#include "tracking/module_pin.h"

static LONG_PTR currentProcedure(const HookedWindow& hooked) {
  return hooked.unicode ? GetWindowLongPtrW(hooked.window, GWLP_WNDPROC)
                        : GetWindowLongPtrA(hooked.window, GWLP_WNDPROC);
}

static LONG_PTR replaceProcedure(const HookedWindow& hooked, WNDPROC procedure) {
  return hooked.unicode ? SetWindowLongPtrW(hooked.window, GWLP_WNDPROC, (LONG_PTR)procedure)
                        : SetWindowLongPtrA(hooked.window, GWLP_WNDPROC, (LONG_PTR)procedure);
}

LRESULT forwardToPlayer(const HookedWindow& hooked, HWND window, UINT message, WPARAM wParam,
                        LPARAM lParam) {
  return hooked.unicode ? CallWindowProcW(hooked.savedProcedure, window, message, wParam, lParam)
                        : CallWindowProcA(hooked.savedProcedure, window, message, wParam, lParam);
}

void hookWindow(HookedWindow& hooked, HWND window, WNDPROC procedure) {
  if (window == nullptr) return;
  hooked.window = window;
  // A start-up after a quit that had to leave the hook in this window's chain: it resumes
  // there. Hooking again would make the hook its own saved procedure, two links apart.
  if (window == hooked.leftInChain) return;
  hooked.unicode = IsWindowUnicode(window) != FALSE;
  hooked.savedProcedure = (WNDPROC)currentProcedure(hooked);
  replaceProcedure(hooked, procedure);
}

void unhookWindow(HookedWindow& hooked, WNDPROC procedure) {
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
