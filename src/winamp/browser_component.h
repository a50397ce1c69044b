// The player's browser component (players from 5.56 on, where installed): its objects, the
// codes they answer and the messages its popup windows take, and the calls Tunelore makes.
#pragma once

#include <windows.h>

#include "winamp/dispatchable.h"

extern const GUID OBJ_OmBrowser;              // the browser object's factory
extern const GUID IFC_OmBrowserEventManager;  // the browser object's event registry
extern const GUID IFC_OmBrowserEvent;         // an event handler
extern const GUID IFC_OmService;              // a service: a popup's title and home page

// A service's codes (besides AddRef, Release and QueryInterface).
#define OMSERVICE_GETID 10
#define OMSERVICE_GETNAME 20
#define OMSERVICE_GETURL 30
#define OMSERVICE_GETEXTERNAL 50
// An event handler's codes: a window made or closed through its browser object.
#define OMBROWSEREVENT_WINDOWCREATE 10
#define OMBROWSEREVENT_WINDOWCLOSE 20

// Messages to a popup window.
#define NBCM_NAVIGATE 0x0419       // wParam: TRUE to keep the address until the page can load
#define NBPM_ACTIVATEFRAME 0x04E1  // brings the popup's frame to the top and activates it
// A popup's view style: pages cannot open further windows.
#define NBCS_BLOCKPOPUP 0x4000
// The smallest frame the component lets a popup have.
#define POPUP_MIN_WIDTH 275
#define POPUP_MIN_HEIGHT 116

bool sameGuid(const GUID& a, const GUID& b);

// The browser factory found through the player's service API `serviceApi`, or null.
Dispatchable* findBrowserFactory(Dispatchable* serviceApi);
// A new browser object of the factory's, or null; handed back with releaseBrowserObject.
Dispatchable* createBrowserObject(Dispatchable* factory);
void releaseBrowserObject(Dispatchable* factory, Dispatchable* browser);

// The browser object's calls, with the component's HRESULTs (E_NOTIMPL where unanswered).
HRESULT initializeBrowser(Dispatchable* browser, HWND player);
// A hidden popup at `frame` (screen coordinates) showing `service`, owned by `owner`.
HRESULT createBrowserPopup(Dispatchable* browser, Dispatchable* service, const RECT& frame,
                           HWND owner, UINT viewStyle, HWND* popup);
HRESULT finishBrowser(Dispatchable* browser);

// The interface `iid` of `object` with a reference of its own, or null.
Dispatchable* queryInterface(Dispatchable* object, const GUID& iid);
void releaseObject(Dispatchable* object);
HRESULT registerEventHandler(Dispatchable* eventManager, Dispatchable* handler);
HRESULT unregisterEventHandler(Dispatchable* eventManager, Dispatchable* handler);
