// A model of the player's browser component for the tests: the service API, the browser
// factory and browser objects the player hands out (built by the player's compiler on the
// Windows builds: kit/browser_objects.cpp), the popup windows they create, each with a
// browser thread that calls the plug-in's service object, and the records a test reads.
// A player gets it through todaysPlayer(); it starts afresh with each player.
//
// The popup's browser becomes ready when the player's message loop next runs
// (modelplayer::deliverPostedMessages). Until then an NBCM_NAVIGATE with wParam TRUE is
// stored (the last one wins) and one with FALSE is dropped; when ready it loads the stored
// address, or else the service's home address.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "kit/browser_abi.h"
#include "kit/browser_numbers.h"
#include "kit/model_player.h"

namespace browsercomponent {

// The one way the component fails, if any; each is a way a real player can lack it.
enum class Failure {
  None,
  NoServiceApiZero,          // IPC_GET_API_SERVICE answers 0
  NoServiceApiOne,           // it answers 1, as players before 5.12 do
  NoFactory,                 // the service API has no browser factory (NULL)
  NoBrowserObject,           // getInterface gives NULL
  InitializeFails,           // Initialize answers E_FAIL
  CreatePopupFails,          // CreatePopup answers E_FAIL
  CreatePopupGivesNoWindow,  // CreatePopup answers S_OK with a null window
};

// A 5.9 player (0x5092, no mini-browser, with its main menu) offering the component, failing
// as `failure` says.
modelplayer::Options todaysPlayer(Failure failure = Failure::None);

// One NBCM_NAVIGATE as the popup received it.
struct Navigation {
  WPARAM schedule;   // store it while the browser is not ready
  LPARAM command;    // an lParam below 0x10000 (0 blank, 1 home, ...), or -1 for an address
  std::wstring url;  // the address, copied during the call
};

// One popup, kept after its window is gone.
struct Popup {
  HWND window = nullptr;
  RECT created = {};  // the rectangle CreatePopup was given, on the screen
  DWORD style = 0;    // the popup's own style bits and the view style's
  HWND owner = nullptr;
  void* service = nullptr;  // the plug-in's service object
  unsigned serviceId = 0;   // its GetId, asked by the browser thread
  std::wstring title;       // its GetName, or "omBrowser"
  std::vector<Navigation> navigations;
  bool ready = false;
  std::wstring homeUrl;             // its GetUrl when the browser became ready
  std::vector<std::wstring> pages;  // what the browser loaded, in order
  int framesActivated = 0;          // NBPM_ACTIVATEFRAME
  bool shown = false;               // WM_SHOWWINDOW: it became visible at some time
  bool activated = false;           // it became the active window at some time
  bool focused = false;             // it took the keyboard focus at some time
  bool destroyed = false;
};
std::vector<Popup> popups();
// The popup of `window`, or null; valid until the next player starts.
const Popup* popupOf(HWND window);

// What the user and the player do to popups.
void userMoves(HWND popup, const RECT& to);  // drags and sizes it: no activation
void userCloses(HWND popup);                 // its close button: SC_CLOSE destroys it
void playerDestroysPopups();                 // as its main window goes, before quit
RECT windowRect(HWND popup);

// What the component still holds.
struct Leftovers {
  int browserObjects = 0;     // not released to zero
  int browserReferences = 0;  // on those
  int serviceReferences = 0;  // its own, on the plug-in's service objects
  int handlerReferences = 0;  // on registered event handlers
  int popupWindows = 0;       // not destroyed
  int browserThreads = 0;     // still running
};
Leftovers leftovers();
// "" when nothing is left, else what is, e.g. "1 browser object (2 references), 1 popup window".
std::string describe(const Leftovers& left);
int browserObjectsMade();  // by getInterface
bool finishRan();

// What the real component would crash on, or what a plug-in must not do, in order: a
// QueryInterface left unhandled or answering success for the popup's queries, a
// window.external given, a text past its buffer, a call on a released object, a call with the
// wrong number of arguments, Finish off the popup's thread, ...
std::vector<std::string> faults();

// A call of an object's _dispatch as the component makes one, through the player's compiler:
// each argument copied into a local of its declared type (these parameters), an array of
// pointers to them, the result through `retval`. Whether the object handled the code.
template <typename... Args>
bool dispatchCall(void* object, int code, void* retval, Args... args) {
  void* params[sizeof...(Args) + 1] = {&args...};
  int count = (int)sizeof...(Args);
  return browserkit_call(object, code, retval, count > 0 ? params : nullptr, count) != 0;
}

}  // namespace browsercomponent
