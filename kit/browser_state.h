// The browser component's state, shared by its parts: the objects (browser_component.cpp,
// browser_object.cpp), the popups (browser_popup.cpp) and the calls into the plug-in's
// objects (browser_service.cpp).
#pragma once

#include <deque>
#include <future>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "kit/browser_component.h"

namespace browsercomponent {

struct BrowserObject {
  bool made = false;  // by getInterface; released to zero it is gone for good
  int references = 0;
  bool initialised = false;
  bool finishing = false;
  HWND owner = nullptr;  // Initialize's main window
  std::vector<void*> handlers;
  std::vector<HWND> windows;  // created through it and not destroyed
};

// A popup's record and what its window and browser thread need.
struct PopupState {
  Popup record;
  int browser = 0;  // the object it was created through
  std::thread::id uiThread;
  std::thread browserThread;
  std::promise<void> exit;
  bool hasStored = false;
  Navigation stored = {};
};

struct State {
  Failure failure = Failure::None;
  HWND mainWindow = nullptr;
  BrowserObject browsers[BROWSER_OBJECTS_LIMIT];
  int browsersMade = 0;
  bool finishRan = false;
  std::deque<PopupState> popups;  // stable places: the windows keep pointers to them
  // Touched by the browser threads too, under `lock`.
  std::mutex lock;
  int serviceReferences = 0;
  int handlerReferences = 0;
  std::vector<std::string> faults;
};
State& state();

void fault(const std::string& what);
// The browser object behind `object`, a pointer the factory gave out, or -1.
int browserIndexOf(void* object);
void* browserPointer(int index);
void* eventManagerPointer(int index);

// The parts' answers to their objects' calls, by slot kind.
int browserReceived(int index, int code, void* retval, void** params, int count);
int eventManagerReceived(int index, int code, void* retval, void** params, int count);
// A reference more or less on a browser object; the last one gone releases its handlers.
int addBrowserReference(int index);
int releaseBrowserReference(int index);

// Popups: registering their class, creating one, and Finish's destruction of its windows.
void registerPopupClass();
void unregisterPopupClass();
HRESULT createPopup(int browser, void* service, RECT rect, HWND owner, const wchar_t* forceUrl,
                    UINT viewStyle, HWND* out);
void joinBrowserThreads();

// The component's calls into the plug-in's objects, each through the player's compiler.
void addRef(void* object);
void release(void* object);
// A reference of the component's own on the plug-in's service, counted.
void holdService(void* service);
void releaseService(void* service);
// The popup's queries for interfaces it would use; each must be refused.
void checkRefused(void* service, const GUID& id, const char* name);
// GetName or GetUrl into a buffer of `capacity` characters; empty when it failed.
std::wstring readText(void* service, int code, unsigned capacity, const char* method);
std::wstring serviceTitle(void* service);
// The browser thread's calls: AddRef, GetExternal, GetName and GetId, then, when `exit` is
// set, Release.
void runBrowserThread(void* service, Popup* record, std::promise<void>* started,
                      std::future<void> exit);
void raiseEvent(int browser, int event, HWND window);
void releaseHandlers(BrowserObject& browser);

// The arguments of a call, by declared type, and its result.
template <typename T>
T argument(void** params, int index) {
  return *(T*)params[index];
}
bool expectArguments(const char* method, int count, int expected);
template <typename T>
int answer(void* retval, T value, const char* method) {
  if (retval == nullptr) {
    fault(std::string(method) + " was given no place for its result");
    return 1;
  }
  *(T*)retval = value;
  return 1;
}

}  // namespace browsercomponent
