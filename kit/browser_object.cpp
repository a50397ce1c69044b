// The browser object (obj_ombrowser) and its event manager: references, Initialize, Finish,
// CreatePopup and the event handlers.
#include <algorithm>

#include "kit/browser_state.h"

namespace browsercomponent {

using namespace browsernumbers;

int addBrowserReference(int index) { return ++state().browsers[index].references; }

int releaseBrowserReference(int index) {
  BrowserObject& browser = state().browsers[index];
  if (--browser.references == 0) releaseHandlers(browser);
  return browser.references;
}

static HRESULT queryInterface(int index, const GUID& id, void** out) {
  if (out == nullptr) {
    fault("QueryInterface on a browser object given no place for the interface");
    return E_POINTER;
  }
  *out = nullptr;
  if (id == OBJ_OM_BROWSER) *out = browserPointer(index);
  if (id == IFC_OM_BROWSER_EVENT_MANAGER) *out = eventManagerPointer(index);
  if (*out == nullptr) return E_NOINTERFACE;
  addBrowserReference(index);
  return S_OK;
}

// What commonReceived answers for a code that is the interface's own.
static const int NOT_COMMON = -1;

// The codes every interface of the object answers alike.
static int commonReceived(int index, int code, void* retval, void** params, int count) {
  switch (code) {
    case dispatch::ADD_REF:
      return answer(retval, addBrowserReference(index), "AddRef");
    case dispatch::RELEASE:
      return answer(retval, releaseBrowserReference(index), "Release");
    case dispatch::QUERY_INTERFACE:
      if (!expectArguments("QueryInterface", count, 2)) return 0;
      return answer(retval,
                    queryInterface(index, argument<GUID>(params, 0), argument<void**>(params, 1)),
                    "QueryInterface");
    default:
      return NOT_COMMON;
  }
}

// ---- obj_ombrowser

static HRESULT initialize(BrowserObject& browser, HWND owner) {
  if (state().failure == Failure::InitializeFails) return E_FAIL;
  if (browser.initialised) return S_FALSE;
  browser.initialised = true;
  browser.owner = owner;
  return S_OK;
}

// Windows of another thread cannot be destroyed from this one.
static HRESULT finish(BrowserObject& browser) {
  std::thread::id caller = std::this_thread::get_id();
  for (const PopupState& popup : state().popups) {
    if (!popup.record.destroyed && popup.uiThread != caller &&
        &state().browsers[popup.browser] == &browser) {
      fault("Finish called off the popup's thread");
      return E_FAIL;
    }
  }
  browser.finishing = true;
  state().finishRan = true;
  HRESULT result = S_OK;
  std::vector<HWND> windows = browser.windows;
  for (HWND window : windows)
    if (!DestroyWindow(window)) result = E_FAIL;
  browser.windows.clear();
  releaseHandlers(browser);
  return result;
}

static int popupReceived(int index, void* retval, void** params, int count) {
  if (!expectArguments("CreatePopup", count, 9)) return 0;
  RECT rect = {argument<int>(params, 1), argument<int>(params, 2), 0, 0};
  rect.right = rect.left + argument<int>(params, 3);
  rect.bottom = rect.top + argument<int>(params, 4);
  HRESULT result = createPopup(index, argument<void*>(params, 0), rect, argument<HWND>(params, 5),
                               argument<const wchar_t*>(params, 6), argument<UINT>(params, 7),
                               argument<HWND*>(params, 8));
  return answer(retval, result, "CreatePopup");
}

static int versionReceived(void* retval, void** params, int count) {
  if (!expectArguments("GetVersion", count, 2)) return 0;
  *argument<int*>(params, 0) = VERSION_MAJOR;
  *argument<int*>(params, 1) = VERSION_MINOR;
  return answer(retval, S_OK, "GetVersion");
}

int browserReceived(int index, int code, void* retval, void** params, int count) {
  BrowserObject& browser = state().browsers[index];
  if (browser.references == 0) {
    fault("a released browser object called (code " + std::to_string(code) + ")");
    return 0;
  }
  int common = commonReceived(index, code, retval, params, count);
  if (common != NOT_COMMON) return common;
  switch (code) {
    case browser::INITIALIZE:
      if (!expectArguments("Initialize", count, 2)) return 0;
      return answer(retval, initialize(browser, argument<HWND>(params, 1)), "Initialize");
    case browser::FINISH:
      return answer(retval, finish(browser), "Finish");
    case browser::CREATE_POPUP:
      return popupReceived(index, retval, params, count);
    case browser::IS_FINISHING:
      return answer(retval, browser.finishing ? S_OK : S_FALSE, "IsFinishing");
    case browser::GET_VERSION:
      return versionReceived(retval, params, count);
    default:
      return 0;
  }
}

// ---- IFC_OmBrowserEventManager: its references are the browser object's.

static HRESULT registerHandler(BrowserObject& browser, void* handler) {
  if (browser.finishing) return E_PENDING;
  if (handler == nullptr) return E_POINTER;
  addRef(handler);
  std::lock_guard<std::mutex> guard(state().lock);
  ++state().handlerReferences;
  browser.handlers.push_back(handler);
  return S_OK;
}

static HRESULT unregisterHandler(BrowserObject& browser, void* handler) {
  if (browser.finishing) return E_PENDING;
  auto& handlers = browser.handlers;
  auto found = std::find(handlers.begin(), handlers.end(), handler);
  if (found == handlers.end()) return E_FAIL;
  handlers.erase(found);
  release(handler);
  std::lock_guard<std::mutex> guard(state().lock);
  --state().handlerReferences;
  return S_OK;
}

int eventManagerReceived(int index, int code, void* retval, void** params, int count) {
  BrowserObject& browser = state().browsers[index];
  if (browser.references == 0) {
    fault("a released browser object's event manager called (code " + std::to_string(code) + ")");
    return 0;
  }
  int common = commonReceived(index, code, retval, params, count);
  if (common != NOT_COMMON) return common;
  if (code != eventmanager::REGISTER_HANDLER && code != eventmanager::UNREGISTER_HANDLER) return 0;
  if (!expectArguments("RegisterHandler or UnregisterHandler", count, 1)) return 0;
  void* handler = argument<void*>(params, 0);
  bool registers = code == eventmanager::REGISTER_HANDLER;
  return answer(retval,
                registers ? registerHandler(browser, handler) : unregisterHandler(browser, handler),
                registers ? "RegisterHandler" : "UnregisterHandler");
}

void releaseHandlers(BrowserObject& browser) {
  std::vector<void*> handlers;
  handlers.swap(browser.handlers);
  for (void* handler : handlers) {
    release(handler);
    std::lock_guard<std::mutex> guard(state().lock);
    --state().handlerReferences;
  }
}

}  // namespace browsercomponent
