#include "winamp/browser_component.h"

#include <cstring>

const GUID OBJ_OmBrowser = {
    0xD5325EAB, 0x9BD7, 0x4382, {0xA3, 0x1D, 0x38, 0xEF, 0x60, 0x30, 0x61, 0xB3}};
const GUID IFC_OmBrowserEventManager = {
    0xEF73F304, 0x7730, 0x4E80, {0xB9, 0x38, 0xA8, 0x0B, 0x5C, 0x97, 0x1C, 0xC5}};
const GUID IFC_OmBrowserEvent = {
    0x900AD92F, 0xE2B9, 0x4615, {0xB1, 0xDB, 0xAC, 0xC3, 0x7F, 0xCD, 0x67, 0x6C}};
const GUID IFC_OmService = {
    0x2999A8B2, 0x7780, 0x4542, {0x92, 0x57, 0x02, 0xD4, 0xE8, 0x93, 0x10, 0xB8}};

// The service API's, the factory's and the browser object's codes.
#define API_SERVICE_GETSERVICEBYGUID 50
#define FACTORY_GETINTERFACE 300
#define FACTORY_RELEASEINTERFACE 310
#define OMBROWSER_INITIALIZE 10
#define OMBROWSER_FINISH 20
#define OMBROWSER_CREATEPOPUP 120
#define EVENTMANAGER_REGISTERHANDLER 10
#define EVENTMANAGER_UNREGISTERHANDLER 20

bool sameGuid(const GUID& a, const GUID& b) { return memcmp(&a, &b, sizeof(GUID)) == 0; }

Dispatchable* findBrowserFactory(Dispatchable* serviceApi) {
  Dispatchable* factory = nullptr;
  GUID id = OBJ_OmBrowser;
  dispatchCall(serviceApi, API_SERVICE_GETSERVICEBYGUID, &factory, &id);
  return factory;
}

Dispatchable* createBrowserObject(Dispatchable* factory) {
  Dispatchable* browser = nullptr;
  int globalLock = TRUE;  // as the player's own callers ask; the browser factory ignores it
  dispatchCall(factory, FACTORY_GETINTERFACE, &browser, &globalLock);
  return browser;
}

void releaseBrowserObject(Dispatchable* factory, Dispatchable* browser) {
  int released = 0;
  if (!dispatchCall(factory, FACTORY_RELEASEINTERFACE, &released, &browser)) releaseObject(browser);
}

HRESULT initializeBrowser(Dispatchable* browser, HWND player) {
  HRESULT result = E_NOTIMPL;
  const wchar_t* className = nullptr;  // the component's own class
  dispatchCall(browser, OMBROWSER_INITIALIZE, &result, &className, &player);
  return result;
}

HRESULT createBrowserPopup(Dispatchable* browser, Dispatchable* service, const RECT& frame,
                           HWND owner, UINT viewStyle, HWND* popup) {
  HRESULT result = E_NOTIMPL;
  int x = frame.left, y = frame.top;
  int width = frame.right - frame.left, height = frame.bottom - frame.top;
  const wchar_t* forceUrl = nullptr;  // the service's home page is the page
  dispatchCall(browser, OMBROWSER_CREATEPOPUP, &result, &service, &x, &y, &width, &height, &owner,
               &forceUrl, &viewStyle, &popup);
  return result;
}

HRESULT finishBrowser(Dispatchable* browser) {
  HRESULT result = E_NOTIMPL;
  dispatchCall(browser, OMBROWSER_FINISH, &result);
  return result;
}

Dispatchable* queryInterface(Dispatchable* object, const GUID& iid) {
  HRESULT result = E_NOINTERFACE;
  GUID id = iid;
  Dispatchable* found = nullptr;
  void** out = (void**)&found;
  dispatchCall(object, DISPATCH_QUERYINTERFACE, &result, &id, &out);
  return SUCCEEDED(result) ? found : nullptr;
}

void releaseObject(Dispatchable* object) {
  int references = 0;
  dispatchCall(object, DISPATCH_RELEASE, &references);
}

HRESULT registerEventHandler(Dispatchable* eventManager, Dispatchable* handler) {
  HRESULT result = E_NOTIMPL;
  dispatchCall(eventManager, EVENTMANAGER_REGISTERHANDLER, &result, &handler);
  return result;
}

HRESULT unregisterEventHandler(Dispatchable* eventManager, Dispatchable* handler) {
  HRESULT result = E_NOTIMPL;
  dispatchCall(eventManager, EVENTMANAGER_UNREGISTERHANDLER, &result, &handler);
  return result;
}
