// State shared by the model's files; tests use windows_model.h instead.
#pragma once

#include <strings.h>
#include <windows.h>

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "windows_model.h"

// A window procedure with the character set it takes its text messages in.
struct ModelProcedure {
  WNDPROC procedure = nullptr;
  bool unicode = false;
  bool operator==(const ModelProcedure& other) const {
    return procedure == other.procedure && unicode == other.unicode;
  }
};

struct ModelWindow {
  std::string className;
  std::wstring text;  // kept in UTF-16 as Windows keeps it, whatever form set it
  ModelProcedure procedure;
  HWND parent = nullptr;  // of a child window (WS_CHILD)
  HWND owner = nullptr;   // of a top-level one
  int id = 0;
  bool alive = true;
  DWORD style = 0;
  RECT rect = {};  // on the screen, or from the parent's top-left corner for a child
  bool visible = false;
  // Dialog and control parts.
  DLGPROC dialogProcedure = nullptr;
  bool dialogEnded = false;
  INT_PTR dialogResult = 0;
  std::vector<HWND> children;
  winmodel::ControlKind kind = winmodel::ControlKind::Static;
  UINT checkState = BST_UNCHECKED;
};

struct ModelModule {
  std::string path;
  bool pinned = false;
};

struct ModelMenuItem {
  UINT id = 0;
  UINT type = MF_STRING;  // MF_STRING or MF_SEPARATOR, with MF_POPUP for a submenu
  UINT state = MF_ENABLED;
  std::string text;
  HMENU subMenu = nullptr;
};

struct ModelMenu {
  std::vector<ModelMenuItem> items;
  bool alive = true;
};

namespace winmodel {

// Window class names match without regard to case.
struct NoCase {
  bool operator()(const std::string& a, const std::string& b) const {
    return strcasecmp(a.c_str(), b.c_str()) < 0;
  }
};

struct State {
  std::string driveRoot = ".";
  std::string executablePath = "C:\\Program Files\\Winamp\\winamp.exe";
  unsigned codePage = 1252;
  DWORD lastError = 0;
  std::map<std::string, ModelProcedure, NoCase> classes;
  // What GetWindowLongPtr hands out for a procedure of the other character set.
  std::vector<ModelProcedure> procedureHandles;
  std::vector<std::unique_ptr<ModelWindow>> windows;
  std::vector<std::unique_ptr<ModelModule>> modules;
  HMODULE codeModule = nullptr;
  std::map<std::pair<HMODULE, int>, std::vector<DialogControl>> dialogs;
  std::deque<MSG> posted;
  std::vector<std::unique_ptr<ModelMenu>> menus;  // destroyed ones stay, marked dead
  HWND activeWindow = nullptr;
  HWND focusWindow = nullptr;
};

State& state();
// Button, Edit, Static and the dialog class, as the system provides them.
void registerBuiltInClasses(State& fresh);
bool isLiveWindow(HWND window);
HWND createWindow(const char* className, const std::wstring& title, HWND parent, int id);
// Calls `target` with a message sent in the ANSI or the Unicode form, converting the text
// messages' texts where the two forms differ, as Windows does.
LRESULT callProcedure(const ModelProcedure& target, bool sentAsUnicode, HWND window, UINT message,
                      WPARAM wParam, LPARAM lParam);
// Whether the folder a (Linux) path lies in exists.
bool folderOfExists(const std::string& path);
// Texts through the ANSI code page (1252 in the model): characters it lacks become '?'.
std::wstring widened(const char* text);
std::string narrowed(const wchar_t* text);
// Delivers posted messages for `window` and its controls; used by the modal dialog loop.
void deliverPosted();
// A top-level window becomes the active one, with the messages Windows sends; and the
// window losing its place as the active one (hidden or destroyed) with nothing in its stead.
void activate(HWND window);
void deactivate(HWND window);
// The keyboard focus moves, with WM_KILLFOCUS and WM_SETFOCUS.
void setFocus(HWND window);
// A window with a sizing border, or an overlapped one, is kept at least at the size its
// procedure gives in WM_GETMINMAXINFO, as Windows keeps it.
void keepMinimumSize(HWND window, int& width, int& height);

}  // namespace winmodel
