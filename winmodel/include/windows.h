// The slice of the Win32 API that Tunelore and its test player use, for Linux builds.
// Declarations follow the Windows SDK (names, types, values; structures keep only the members
// used); the definitions live in winmodel/*.cpp and behave as Windows does wherever the
// plug-in depends on it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#define WINAPI
#define __declspec(attributes)
#define CALLBACK
// Member functions have one calling convention on Linux.
#define __thiscall

typedef int BOOL;
typedef unsigned short WORD;
typedef unsigned int DWORD;
typedef unsigned int UINT;
typedef int LONG;  // 32 bits, as on Windows
typedef intptr_t INT_PTR;
typedef intptr_t LONG_PTR;
typedef uintptr_t UINT_PTR;
typedef uintptr_t ULONG_PTR;
typedef UINT_PTR WPARAM;
typedef LONG_PTR LPARAM;
typedef LONG_PTR LRESULT;
typedef WORD ATOM;
typedef void* LPVOID;
typedef char* LPSTR;
typedef const char* LPCSTR;
// UTF-16 on Windows; the model's wchar_t is wider, which changes nothing for the texts used.
typedef wchar_t* LPWSTR;
typedef const wchar_t* LPCWSTR;

struct ModelWindow;
struct ModelModule;
typedef ModelWindow* HWND;
typedef ModelModule* HINSTANCE;
typedef HINSTANCE HMODULE;
typedef void* HMENU;
struct ModelMonitor;
typedef ModelMonitor* HMONITOR;

typedef LRESULT(CALLBACK* WNDPROC)(HWND, UINT, WPARAM, LPARAM);
typedef INT_PTR(CALLBACK* DLGPROC)(HWND, UINT, WPARAM, LPARAM);

#define TRUE 1
#define FALSE 0
#define MAX_PATH 260
#define ZeroMemory(destination, length) memset((destination), 0, (length))

#define LOWORD(l) ((WORD)(((ULONG_PTR)(l)) & 0xffff))
#define MAKEWPARAM(l, h) ((WPARAM)(DWORD)((WORD)(l) | ((DWORD)(WORD)(h)) << 16))
#define MAKEINTRESOURCEA(i) ((LPSTR)((ULONG_PTR)((WORD)(i))))

// Window messages
#define WM_CREATE 0x0001
#define WM_DESTROY 0x0002
#define WM_ACTIVATE 0x0006
#define WM_SETFOCUS 0x0007
#define WM_KILLFOCUS 0x0008
#define WM_SETTEXT 0x000C
#define WM_GETTEXT 0x000D
#define WM_CLOSE 0x0010
#define WM_SHOWWINDOW 0x0018
#define WM_GETMINMAXINFO 0x0024
#define WM_INITDIALOG 0x0110
#define WM_COMMAND 0x0111
#define WM_SYSCOMMAND 0x0112
#define WM_ENTERIDLE 0x0121
#define WM_LBUTTONDBLCLK 0x0203
#define WM_USER 0x0400
#define SC_CLOSE 0xF060
#define MSGF_DIALOGBOX 0
#define WA_INACTIVE 0
#define WA_ACTIVE 1
#define WA_CLICKACTIVE 2

// Buttons
#define BM_GETCHECK 0x00F0
#define BM_SETCHECK 0x00F1
#define BM_CLICK 0x00F5
#define BN_CLICKED 0
#define BST_UNCHECKED 0x0000
#define BST_CHECKED 0x0001
#define IDOK 1
#define IDCANCEL 2

// Window procedures and styles
#define GWLP_WNDPROC (-4)
#define WS_OVERLAPPEDWINDOW 0x00CF0000L
#define WS_POPUP 0x80000000L
#define WS_CHILD 0x40000000L
#define WS_VISIBLE 0x10000000L
#define WS_CAPTION 0x00C00000L
#define WS_SYSMENU 0x00080000L
#define WS_THICKFRAME 0x00040000L

#define GET_MODULE_HANDLE_EX_FLAG_PIN 0x00000001
#define GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS 0x00000004

#define ERROR_INSUFFICIENT_BUFFER 122

// WNDCLASSA and WNDCLASSW differ only in the character set of their texts.
template <typename Text>
struct ModelWindowClass {
  WNDPROC lpfnWndProc;
  HINSTANCE hInstance;
  Text lpszClassName;
};
typedef ModelWindowClass<LPCSTR> WNDCLASSA;
typedef ModelWindowClass<LPCWSTR> WNDCLASSW;

typedef struct tagMSG {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
} MSG;
#define PM_REMOVE 0x0001

typedef struct tagPOINT {
  LONG x;
  LONG y;
} POINT;

typedef struct tagRECT {
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;
} RECT;

// WM_CREATE's argument: the last argument of CreateWindowEx and the window's place.
template <typename Text>
struct ModelCreateStruct {
  LPVOID lpCreateParams;
  HINSTANCE hInstance;
  HMENU hMenu;
  HWND hwndParent;
  int cy;
  int cx;
  int y;
  int x;
  LONG style;
  Text lpszName;
  Text lpszClass;
  DWORD dwExStyle;
};
typedef ModelCreateStruct<LPCSTR> CREATESTRUCTA;
typedef ModelCreateStruct<LPCWSTR> CREATESTRUCTW;

// WM_GETMINMAXINFO's argument: a window with a sizing border, or an overlapped one, is never
// made smaller than ptMinTrackSize.
typedef struct tagMINMAXINFO {
  POINT ptReserved;
  POINT ptMaxSize;
  POINT ptMaxPosition;
  POINT ptMinTrackSize;
  POINT ptMaxTrackSize;
} MINMAXINFO;

#define CP_ACP 0

// Messages and window procedures
LRESULT WINAPI SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL WINAPI PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT WINAPI CallWindowProcA(WNDPROC previous, HWND window, UINT message, WPARAM wParam,
                               LPARAM lParam);
LRESULT WINAPI DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LONG_PTR WINAPI GetWindowLongPtrA(HWND window, int index);
LONG_PTR WINAPI SetWindowLongPtrA(HWND window, int index, LONG_PTR value);
// The Unicode forms: a window whose procedure was set through them takes its text messages
// in UTF-16; one set through the A forms takes them in the ANSI code page.
LRESULT WINAPI SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT WINAPI CallWindowProcW(WNDPROC previous, HWND window, UINT message, WPARAM wParam,
                               LPARAM lParam);
LRESULT WINAPI DefWindowProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LONG_PTR WINAPI GetWindowLongPtrW(HWND window, int index);
LONG_PTR WINAPI SetWindowLongPtrW(HWND window, int index, LONG_PTR value);
BOOL WINAPI IsWindowUnicode(HWND window);
BOOL WINAPI SetWindowTextW(HWND window, LPCWSTR text);
int WINAPI GetWindowTextA(HWND window, LPSTR text, int capacity);
int WINAPI GetWindowTextW(HWND window, LPWSTR text, int capacity);
BOOL WINAPI PeekMessageA(MSG* message, HWND window, UINT first, UINT last, UINT remove);
LRESULT WINAPI DispatchMessageA(const MSG* message);

// Windows
ATOM WINAPI RegisterClassA(const WNDCLASSA* windowClass);
BOOL WINAPI UnregisterClassA(LPCSTR className, HINSTANCE instance);
BOOL WINAPI UnregisterClassW(LPCWSTR className, HINSTANCE instance);
HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR title, DWORD style, int x,
                            int y, int width, int height, HWND parent, HMENU menu,
                            HINSTANCE instance, LPVOID param);
BOOL WINAPI DestroyWindow(HWND window);
BOOL WINAPI IsWindow(HWND window);
HWND WINAPI FindWindowA(LPCSTR className, LPCSTR windowName);
ATOM WINAPI RegisterClassW(const WNDCLASSW* windowClass);
HWND WINAPI CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR title, DWORD style, int x,
                            int y, int width, int height, HWND parent, HMENU menu,
                            HINSTANCE instance, LPVOID param);
HWND WINAPI SetParent(HWND child, HWND newParent);

// Where windows are, whether they show, and which one is active. A window created without
// WS_CHILD is top-level and its parent argument is its owner: destroying the owner destroys
// it first. The model has no non-client area: a child's rectangle is relative to its
// parent's top-left corner. One thread, so the active window is also the foreground window.
#define SW_HIDE 0
#define SW_SHOWNORMAL 1
#define SW_SHOWNOACTIVATE 4
#define SW_SHOW 5
#define SW_SHOWNA 8
#define SWP_NOSIZE 0x0001
#define SWP_NOMOVE 0x0002
#define SWP_NOZORDER 0x0004
#define SWP_NOACTIVATE 0x0010
#define SWP_SHOWWINDOW 0x0040
#define SWP_HIDEWINDOW 0x0080
#define HWND_TOP ((HWND)0)
#define GA_ROOT 2
BOOL WINAPI GetWindowRect(HWND window, RECT* rect);
BOOL WINAPI SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height,
                         UINT flags);
BOOL WINAPI MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint);
// Only GA_ROOT is modelled: the window itself or its topmost parent, owners not followed.
HWND WINAPI GetAncestor(HWND window, UINT flags);
// SW_HIDE, and the commands that show with activation (SW_SHOWNORMAL, SW_SHOW) or without it
// (SW_SHOWNOACTIVATE, SW_SHOWNA); answers whether the window was visible before.
BOOL WINAPI ShowWindow(HWND window, int command);
BOOL WINAPI IsWindowVisible(HWND window);
HWND WINAPI GetForegroundWindow(void);
BOOL WINAPI SetForegroundWindow(HWND window);
HWND WINAPI GetActiveWindow(void);
HWND WINAPI GetFocus(void);

// The screen: one monitor of 1920x1080 pixels with a taskbar 40 pixels high at the bottom.
#define MONITOR_DEFAULTTONULL 0x00000000
#define MONITOR_DEFAULTTOPRIMARY 0x00000001
#define MONITOR_DEFAULTTONEAREST 0x00000002
#define MONITORINFOF_PRIMARY 0x00000001
#define SPI_GETWORKAREA 0x0030
typedef struct tagMONITORINFO {
  DWORD cbSize;
  RECT rcMonitor;
  RECT rcWork;
  DWORD dwFlags;
} MONITORINFO;
HMONITOR WINAPI MonitorFromRect(const RECT* rect, DWORD flags);
BOOL WINAPI GetMonitorInfoA(HMONITOR monitor, MONITORINFO* info);
// Only SPI_GETWORKAREA.
BOOL WINAPI SystemParametersInfoA(UINT action, UINT uiParam, LPVOID pvParam, UINT winIni);

// Dialogs
INT_PTR WINAPI DialogBoxParamA(HINSTANCE instance, LPCSTR templateName, HWND owner,
                               DLGPROC dialogProc, LPARAM initParam);
BOOL WINAPI EndDialog(HWND dialog, INT_PTR result);
HWND WINAPI GetDlgItem(HWND dialog, int id);
BOOL WINAPI CheckDlgButton(HWND dialog, int id, UINT check);
UINT WINAPI IsDlgButtonChecked(HWND dialog, int id);
BOOL WINAPI SetDlgItemTextA(HWND dialog, int id, LPCSTR text);
UINT WINAPI GetDlgItemTextA(HWND dialog, int id, LPSTR text, int capacity);

// Modules
DWORD WINAPI GetModuleFileNameA(HMODULE module, LPSTR path, DWORD capacity);
HMODULE WINAPI GetModuleHandleA(LPCSTR moduleName);
BOOL WINAPI GetModuleHandleExA(DWORD flags, LPCSTR moduleName, HMODULE* module);
DWORD WINAPI GetLastError(void);
void WINAPI SetLastError(DWORD error);

// Text in the ANSI code page
int WINAPI lstrcmpA(LPCSTR first, LPCSTR second);
LPSTR WINAPI lstrcpynA(LPSTR destination, LPCSTR source, int capacity);
LPWSTR WINAPI lstrcpynW(LPWSTR destination, LPCWSTR source, int capacity);
LPSTR WINAPI CharNextA(LPCSTR current);
// Only CP_ACP, flags 0 and a terminated source (length -1) are modelled.
int WINAPI MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR source, int sourceLength,
                               LPWSTR destination, int capacity);
int WINAPI WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR source, int sourceLength,
                               LPSTR destination, int capacity, LPCSTR defaultChar,
                               BOOL* usedDefaultChar);

// Private profile (INI) files
DWORD WINAPI GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue,
                                      LPSTR returned, DWORD capacity, LPCSTR fileName);
BOOL WINAPI WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR fileName);
// The value read as GetPrivateProfileStringA reads it, as a number: leading blanks, a sign,
// decimal digits or 0x/0o/0b and the base's digits, up to the first other character.
// `defaultValue` for a missing or empty value.

// Files and folders
#define INVALID_FILE_ATTRIBUTES ((DWORD)-1)
#define FILE_ATTRIBUTE_READONLY 0x00000001
#define FILE_ATTRIBUTE_DIRECTORY 0x00000010
#define FILE_ATTRIBUTE_ARCHIVE 0x00000020
#define FILE_ATTRIBUTE_NORMAL 0x00000080
#define ERROR_FILE_NOT_FOUND 2
#define ERROR_PATH_NOT_FOUND 3
#define ERROR_ACCESS_DENIED 5
#define ERROR_ALREADY_EXISTS 183
typedef struct _SECURITY_ATTRIBUTES* LPSECURITY_ATTRIBUTES;

// 100-nanosecond intervals since 1 January 1601 (UTC).
typedef struct _FILETIME {
  DWORD dwLowDateTime;
  DWORD dwHighDateTime;
} FILETIME;

typedef enum _GET_FILEEX_INFO_LEVELS { GetFileExInfoStandard } GET_FILEEX_INFO_LEVELS;

typedef struct _WIN32_FILE_ATTRIBUTE_DATA {
  DWORD dwFileAttributes;
  FILETIME ftLastWriteTime;
  DWORD nFileSizeHigh;
  DWORD nFileSizeLow;
} WIN32_FILE_ATTRIBUTE_DATA;

DWORD WINAPI GetFileAttributesA(LPCSTR fileName);
// Attributes, last write time and size without opening the file; a folder's size is 0.
BOOL WINAPI GetFileAttributesExA(LPCSTR fileName, GET_FILEEX_INFO_LEVELS level, LPVOID information);
BOOL WINAPI SetFileAttributesA(LPCSTR fileName, DWORD attributes);
BOOL WINAPI CreateDirectoryA(LPCSTR pathName, LPSECURITY_ATTRIBUTES securityAttributes);
BOOL WINAPI DeleteFileA(LPCSTR fileName);

// Menus
#define MF_BYCOMMAND 0x00000000L
#define MF_BYPOSITION 0x00000400L
#define MF_STRING 0x00000000L
#define MF_ENABLED 0x00000000L
#define MF_GRAYED 0x00000001L
#define MF_DISABLED 0x00000002L
#define MF_POPUP 0x00000010L
#define MF_SEPARATOR 0x00000800L
#define MFT_STRING MF_STRING
#define MFS_ENABLED MF_ENABLED
#define MFS_GRAYED 0x00000003L
#define MIIM_STATE 0x00000001
#define MIIM_ID 0x00000002
#define MIIM_STRING 0x00000040
#define MIIM_FTYPE 0x00000100
#define ERROR_INVALID_MENU_HANDLE 1401
#define ERROR_MENU_ITEM_NOT_FOUND 1456

typedef struct tagMENUITEMINFOA {
  UINT cbSize;
  UINT fMask;
  UINT fType;
  UINT fState;
  UINT wID;
  LPSTR dwTypeData;
} MENUITEMINFOA;

HMENU WINAPI CreatePopupMenu(void);
BOOL WINAPI DestroyMenu(HMENU menu);
BOOL WINAPI IsMenu(HMENU menu);
BOOL WINAPI AppendMenuA(HMENU menu, UINT flags, UINT_PTR idOrSubMenu, LPCSTR text);
BOOL WINAPI InsertMenuItemA(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFOA* info);
int WINAPI GetMenuItemCount(HMENU menu);
UINT WINAPI GetMenuItemID(HMENU menu, int position);
UINT WINAPI GetMenuState(HMENU menu, UINT item, UINT flags);
int WINAPI GetMenuStringA(HMENU menu, UINT item, LPSTR text, int capacity, UINT flags);
UINT WINAPI EnableMenuItem(HMENU menu, UINT item, UINT enable);
BOOL WINAPI DeleteMenu(HMENU menu, UINT item, UINT flags);

// Threads: reference counts and locks for what two threads share.
LONG WINAPI InterlockedIncrement(LONG volatile* addend);
LONG WINAPI InterlockedDecrement(LONG volatile* addend);
// Taken again by the thread that holds it, as on Windows.
typedef struct _RTL_CRITICAL_SECTION {
  void* LockSemaphore;
} CRITICAL_SECTION, *LPCRITICAL_SECTION;
void WINAPI InitializeCriticalSection(LPCRITICAL_SECTION section);
void WINAPI EnterCriticalSection(LPCRITICAL_SECTION section);
void WINAPI LeaveCriticalSection(LPCRITICAL_SECTION section);
void WINAPI DeleteCriticalSection(LPCRITICAL_SECTION section);

// COM-style results and interface ids.
typedef LONG HRESULT;
#define S_OK ((HRESULT)0)
#define S_FALSE ((HRESULT)1)
#define E_PENDING ((HRESULT)0x8000000AL)
#define E_NOTIMPL ((HRESULT)0x80004001L)
#define E_NOINTERFACE ((HRESULT)0x80004002L)
#define E_POINTER ((HRESULT)0x80004003L)
#define E_FAIL ((HRESULT)0x80004005L)
#define E_INVALIDARG ((HRESULT)0x80070057L)
#define SUCCEEDED(result) (((HRESULT)(result)) >= 0)
#define FAILED(result) (((HRESULT)(result)) < 0)

typedef struct _GUID {
  unsigned int Data1;
  unsigned short Data2;
  unsigned short Data3;
  unsigned char Data4[8];
} GUID;
typedef const GUID& REFGUID;
inline int IsEqualGUID(REFGUID first, REFGUID second) {
  return memcmp(&first, &second, sizeof(GUID)) == 0;
}
inline bool operator==(REFGUID first, REFGUID second) { return IsEqualGUID(first, second) != 0; }
inline bool operator!=(REFGUID first, REFGUID second) { return !(first == second); }
