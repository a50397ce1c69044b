// Window procedures and messages: sending, posting, forwarding, the default procedures, and
// the character set a window takes its text messages in.
#include <algorithm>
#include <vector>

#include "model_state.h"

using winmodel::isLiveWindow;
using winmodel::state;

// As on Windows, a procedure read through the form of the other character set comes back as
// a handle that only CallWindowProc and SetWindowLongPtr understand.
static const LONG_PTR PROCEDURE_HANDLE_BASE = (LONG_PTR)0xFFFF0000;

static LONG_PTR procedureAsSeenBy(const ModelProcedure& procedure, bool unicode) {
  if (procedure.procedure == nullptr || procedure.unicode == unicode) {
    return (LONG_PTR)procedure.procedure;
  }
  auto& handles = state().procedureHandles;
  auto found = std::find(handles.begin(), handles.end(), procedure);
  if (found == handles.end()) found = handles.insert(found, procedure);
  return PROCEDURE_HANDLE_BASE + (found - handles.begin());
}

// A plain address is a procedure of the caller's character set; a handle keeps its own.
static ModelProcedure procedureFrom(LONG_PTR value, bool unicode) {
  size_t handle = (size_t)(value - PROCEDURE_HANDLE_BASE);
  if (value >= PROCEDURE_HANDLE_BASE && handle < state().procedureHandles.size()) {
    return state().procedureHandles[handle];
  }
  return {(WNDPROC)value, unicode};
}

// A text in the other character set.
static std::wstring converted(const char* text) { return winmodel::widened(text); }
static std::string converted(const wchar_t* text) { return winmodel::narrowed(text); }

// Copies into a caller's buffer, cut to its capacity.
template <typename Char>
static LRESULT copyTextBack(const std::basic_string<Char>& text, WPARAM capacity, LPARAM buffer) {
  if (capacity == 0) return 0;
  size_t kept = std::min<size_t>(text.size(), capacity - 1);
  std::copy_n(text.begin(), kept, (Char*)buffer);
  ((Char*)buffer)[kept] = 0;
  return (LRESULT)kept;
}

// A text message sent with `From` texts to a procedure that takes `To` texts. For WM_GETTEXT the
// target fills a buffer of its own form, with room for the whole text (a double-byte code page
// needs two bytes a character); the caller's gets the converted text.
template <typename From, typename To>
static LRESULT textAcross(WNDPROC target, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SETTEXT) {
    if (lParam == 0) return target(window, message, wParam, 0);
    std::basic_string<To> text = converted((const From*)lParam);
    return target(window, message, wParam, (LPARAM)text.c_str());
  }
  std::vector<To> own(2 * window->text.size() + 2, 0);
  target(window, message, own.size(), (LPARAM)own.data());
  return copyTextBack(converted(own.data()), wParam, lParam);
}

LRESULT winmodel::callProcedure(const ModelProcedure& target, bool sentAsUnicode, HWND window,
                                UINT message, WPARAM wParam, LPARAM lParam) {
  if (target.procedure == nullptr) return 0;
  if (target.unicode != sentAsUnicode && (message == WM_SETTEXT || message == WM_GETTEXT)) {
    return sentAsUnicode
               ? textAcross<wchar_t, char>(target.procedure, window, message, wParam, lParam)
               : textAcross<char, wchar_t>(target.procedure, window, message, wParam, lParam);
  }
  return target.procedure(window, message, wParam, lParam);
}

static LRESULT sendMessage(bool unicode, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!isLiveWindow(window)) {
    SetLastError(1400);  // ERROR_INVALID_WINDOW_HANDLE
    return 0;
  }
  return winmodel::callProcedure(window->procedure, unicode, window, message, wParam, lParam);
}

LRESULT WINAPI SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return sendMessage(false, window, message, wParam, lParam);
}

LRESULT WINAPI SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return sendMessage(true, window, message, wParam, lParam);
}

BOOL WINAPI PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!isLiveWindow(window)) return FALSE;
  state().posted.push_back({window, message, wParam, lParam});
  return TRUE;
}

// Only what the model's programs need: any window, any message, removed.
BOOL WINAPI PeekMessageA(MSG* message, HWND, UINT, UINT, UINT) {
  if (state().posted.empty()) return FALSE;
  *message = state().posted.front();
  state().posted.pop_front();
  return TRUE;
}

LRESULT WINAPI DispatchMessageA(const MSG* message) {
  return SendMessageA(message->hwnd, message->message, message->wParam, message->lParam);
}

void winmodel::deliverPosted() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

LRESULT WINAPI CallWindowProcA(WNDPROC previous, HWND window, UINT message, WPARAM wParam,
                               LPARAM lParam) {
  return winmodel::callProcedure(procedureFrom((LONG_PTR)previous, false), false, window, message,
                                 wParam, lParam);
}

LRESULT WINAPI CallWindowProcW(WNDPROC previous, HWND window, UINT message, WPARAM wParam,
                               LPARAM lParam) {
  return winmodel::callProcedure(procedureFrom((LONG_PTR)previous, true), true, window, message,
                                 wParam, lParam);
}

// The window keeps its text in UTF-16, whichever form set it.
static std::wstring utf16(const char* text) { return winmodel::widened(text); }
static std::wstring utf16(const wchar_t* text) { return text; }

template <typename Char>
static LRESULT defaultProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETTEXT:
      window->text = lParam == 0 ? L"" : utf16((const Char*)lParam);
      return TRUE;
    case WM_GETTEXT:
      if constexpr (sizeof(Char) == 1) {
        return copyTextBack(winmodel::narrowed(window->text.c_str()), wParam, lParam);
      } else {
        return copyTextBack(window->text, wParam, lParam);
      }
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) SendMessageA(window, WM_CLOSE, 0, 0);
      return 0;
    case WM_CLOSE:
      DestroyWindow(window);
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) winmodel::setFocus(window);
      return 0;
    default:
      return 0;
  }
}

LRESULT WINAPI DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return defaultProcedure<char>(window, message, wParam, lParam);
}

LRESULT WINAPI DefWindowProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return defaultProcedure<wchar_t>(window, message, wParam, lParam);
}

// The form used to set the procedure decides the window's character set from then on,
// unless the value is a handle, which brings its own.
static LONG_PTR windowProcedure(HWND window, int index, bool unicode, const LONG_PTR* value) {
  if (!isLiveWindow(window) || index != GWLP_WNDPROC) return 0;
  LONG_PTR previous = procedureAsSeenBy(window->procedure, unicode);
  if (value != nullptr) window->procedure = procedureFrom(*value, unicode);
  return previous;
}

LONG_PTR WINAPI GetWindowLongPtrA(HWND window, int index) {
  return windowProcedure(window, index, false, nullptr);
}

LONG_PTR WINAPI GetWindowLongPtrW(HWND window, int index) {
  return windowProcedure(window, index, true, nullptr);
}

LONG_PTR WINAPI SetWindowLongPtrA(HWND window, int index, LONG_PTR value) {
  return windowProcedure(window, index, false, &value);
}

LONG_PTR WINAPI SetWindowLongPtrW(HWND window, int index, LONG_PTR value) {
  return windowProcedure(window, index, true, &value);
}

BOOL WINAPI IsWindowUnicode(HWND window) {
  return isLiveWindow(window) && window->procedure.unicode;
}

BOOL WINAPI SetWindowTextW(HWND window, LPCWSTR text) {
  return (BOOL)SendMessageW(window, WM_SETTEXT, 0, (LPARAM)text);
}

int WINAPI GetWindowTextA(HWND window, LPSTR text, int capacity) {
  return (int)SendMessageA(window, WM_GETTEXT, (WPARAM)capacity, (LPARAM)text);
}

int WINAPI GetWindowTextW(HWND window, LPWSTR text, int capacity) {
  return (int)SendMessageW(window, WM_GETTEXT, (WPARAM)capacity, (LPARAM)text);
}
