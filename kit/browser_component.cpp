// The browser component as the player offers it: the service API and the browser factory,
// the component's load and unload, and the records tests read.
#include <memory>

#include "kit/browser_state.h"

namespace browsercomponent {

using namespace browsernumbers;

static std::unique_ptr<State>& current() {
  static std::unique_ptr<State> held = std::make_unique<State>();
  return held;
}

State& state() { return *current(); }

void fault(const std::string& what) {
  std::lock_guard<std::mutex> guard(state().lock);
  state().faults.push_back(what);
}

bool expectArguments(const char* method, int count, int expected) {
  if (count == expected) return true;
  fault(std::string(method) + " called with " + std::to_string(count) + " arguments instead of " +
        std::to_string(expected));
  return false;
}

void* browserPointer(int index) { return browserkit_object(FIRST_BROWSER_SLOT + index); }
void* eventManagerPointer(int index) { return browserkit_object(FIRST_EVENT_MANAGER_SLOT + index); }

int browserIndexOf(void* object) {
  for (int i = 0; i < BROWSER_OBJECTS_LIMIT; ++i)
    if (object != nullptr && object == browserPointer(i)) return i;
  return -1;
}

// ---- The service API: the browser factory by its GUID.

static int serviceApiReceived(int code, void* retval, void** params, int count) {
  if (code != apiservice::GET_SERVICE_BY_GUID) return 0;
  if (!expectArguments("service_getServiceByGuid", count, 1)) return 0;
  GUID id = argument<GUID>(params, 0);
  bool offered = id == OBJ_OM_BROWSER && state().failure != Failure::NoFactory;
  return answer(retval, offered ? browserkit_object(FACTORY_SLOT) : nullptr,
                "service_getServiceByGuid");
}

// ---- The factory: every getInterface makes a new browser object with one reference.

static void* makeBrowserObject() {
  State& current = state();
  if (current.failure == Failure::NoBrowserObject) return nullptr;
  if (current.browsersMade == BROWSER_OBJECTS_LIMIT) {
    fault("getInterface called more often than the model has browser objects");
    return nullptr;
  }
  int index = current.browsersMade++;
  current.browsers[index].made = true;
  current.browsers[index].references = 1;
  return browserPointer(index);
}

static int releaseInterface(void* object) {
  int index = browserIndexOf(object);
  if (index < 0 || state().browsers[index].references == 0) {
    fault("releaseInterface given an object the factory has no reference on");
    return 0;
  }
  releaseBrowserReference(index);
  return 1;
}

static int factoryReceived(int code, void* retval, void** params, int count) {
  switch (code) {
    case factory::GET_SERVICE_TYPE:
      return answer(retval, SERVICE_TYPE_UNIQUE, "getServiceType");
    case factory::GET_SERVICE_NAME:
      return answer(retval, FACTORY_NAME, "getServiceName");
    case factory::GET_GUID:
      return answer(retval, OBJ_OM_BROWSER, "getGuid");
    case factory::GET_INTERFACE:
      if (!expectArguments("getInterface", count, 1)) return 0;
      return answer(retval, makeBrowserObject(), "getInterface");
    case factory::SUPPORTS_NON_LOCKING:
      return answer(retval, 1, "supportNonLockingGetInterface");
    case factory::RELEASE_INTERFACE:
      if (!expectArguments("releaseInterface", count, 1)) return 0;
      return answer(retval, releaseInterface(argument<void*>(params, 0)), "releaseInterface");
    default:
      return 0;
  }
}

extern "C" int browserkit_received(int slot, int code, void* retval, void** params, int count) {
  if (slot == SERVICE_API_SLOT) return serviceApiReceived(code, retval, params, count);
  if (slot == FACTORY_SLOT) return factoryReceived(code, retval, params, count);
  if (slot < FIRST_EVENT_MANAGER_SLOT)
    return browserReceived(slot - FIRST_BROWSER_SLOT, code, retval, params, count);
  return eventManagerReceived(slot - FIRST_EVENT_MANAGER_SLOT, code, retval, params, count);
}

// ---- The component in the player

// Each player gets a component of its own; the last one's records stay until then.
static void load(HWND mainWindow, Failure failure) {
  joinBrowserThreads();
  current() = std::make_unique<State>();
  state().failure = failure;
  state().mainWindow = mainWindow;
  registerPopupClass();
}

static void unload() {
  joinBrowserThreads();
  unregisterPopupClass();
}

static LRESULT serviceApi() {
  switch (state().failure) {
    case Failure::NoServiceApiZero:
      return 0;
    case Failure::NoServiceApiOne:
      return 1;
    default:
      return (LRESULT)browserkit_object(SERVICE_API_SLOT);
  }
}

modelplayer::Options todaysPlayer(Failure failure) {
  modelplayer::Options options;
  options.version = 0x5092;
  options.miniBrowser = false;
  options.mainMenu = true;
  options.browserComponent = {[failure](HWND mainWindow) { load(mainWindow, failure); }, serviceApi,
                              unload};
  return options;
}

// ---- Records

std::vector<Popup> popups() {
  std::vector<Popup> records;
  for (const PopupState& popup : state().popups) records.push_back(popup.record);
  return records;
}

// The latest: Windows may hand a destroyed window's handle out again.
const Popup* popupOf(HWND window) {
  const auto& all = state().popups;
  for (auto popup = all.rbegin(); popup != all.rend(); ++popup)
    if (popup->record.window == window) return &popup->record;
  return nullptr;
}

Leftovers leftovers() {
  Leftovers left;
  for (const BrowserObject& browser : state().browsers) {
    left.browserObjects += browser.references > 0;
    left.browserReferences += browser.references;
  }
  for (const PopupState& popup : state().popups) {
    left.popupWindows += !popup.record.destroyed;
    left.browserThreads += popup.browserThread.joinable();
  }
  std::lock_guard<std::mutex> guard(state().lock);
  left.serviceReferences = state().serviceReferences;
  left.handlerReferences = state().handlerReferences;
  return left;
}

static void describeCount(std::string& text, int count, const char* what) {
  if (count == 0) return;
  text += (text.empty() ? "" : ", ") + std::to_string(count) + " " + what;
}

std::string describe(const Leftovers& left) {
  std::string text;
  describeCount(text, left.browserObjects, "browser objects");
  describeCount(text, left.browserReferences, "references on them");
  describeCount(text, left.serviceReferences, "references on the service");
  describeCount(text, left.handlerReferences, "references on event handlers");
  describeCount(text, left.popupWindows, "popup windows");
  describeCount(text, left.browserThreads, "browser threads");
  return text;
}

int browserObjectsMade() { return state().browsersMade; }
bool finishRan() { return state().finishRan; }

std::vector<std::string> faults() {
  std::lock_guard<std::mutex> guard(state().lock);
  return state().faults;
}

// ---- What the user and the player do

void userMoves(HWND popup, const RECT& to) {
  SetWindowPos(popup, nullptr, to.left, to.top, to.right - to.left, to.bottom - to.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void userCloses(HWND popup) { SendMessageW(popup, WM_SYSCOMMAND, SC_CLOSE, 0); }

void playerDestroysPopups() {
  for (PopupState& popup : state().popups)
    if (!popup.record.destroyed) DestroyWindow(popup.record.window);
}

RECT windowRect(HWND popup) {
  RECT rect = {};
  GetWindowRect(popup, &rect);
  return rect;
}

}  // namespace browsercomponent
