// The player's browser component as a plug-in meets it, written out here once from its
// published numbers and kept apart from the plug-in's own copy on purpose, as
// player_numbers.h is: dispatch codes, interface ids, the popup window's class, style and
// messages.
#pragma once

#include <windows.h>

namespace browsernumbers {

// Every object's _dispatch(code, retval, params, count) answers 1 for a code it handles,
// 0 for one it does not; these codes every object may answer.
namespace dispatch {
const int ADD_REF = -1;
const int RELEASE = -2;
const int QUERY_INTERFACE = -3;  // [0] -> GUID, [1] -> void** out
}  // namespace dispatch

// api_service: the component's factory by its GUID (passed by value), or NULL.
namespace apiservice {
const int GET_SERVICE_BY_GUID = 50;
}

// waServiceFactory
namespace factory {
const int GET_SERVICE_TYPE = 100;  // 'uniq'
const int GET_SERVICE_NAME = 200;  // "OmBrowser Object"
const int GET_GUID = 210;          // a 16-byte result
const int GET_INTERFACE = 300;     // (int global_lock) -> a new browser object
const int SUPPORTS_NON_LOCKING = 301;
const int RELEASE_INTERFACE = 310;  // (void* object) -> int
}  // namespace factory
const unsigned SERVICE_TYPE_UNIQUE = ('u' << 24) | ('n' << 16) | ('i' << 8) | 'q';
const char FACTORY_NAME[] = "OmBrowser Object";

// obj_ombrowser; every method answers an HRESULT.
namespace browser {
const int INITIALIZE = 10;     // (const wchar_t* className, HWND hwndWinamp)
const int FINISH = 20;         // ()
const int CREATE_POPUP = 120;  // (service, x, y, cx, cy, HWND owner, const wchar_t* forceUrl,
                               //  UINT viewStyle, HWND* out)
const int IS_FINISHING = 130;  // S_OK while finishing, else S_FALSE
const int GET_VERSION = 150;   // (int* major, int* minor)
}  // namespace browser
const int VERSION_MAJOR = 1, VERSION_MINOR = 5;

// IFC_OmBrowserEventManager, and the handlers it calls (void methods: retval NULL).
namespace eventmanager {
const int REGISTER_HANDLER = 10;    // (handler) AddRefs it; E_PENDING after Finish
const int UNREGISTER_HANDLER = 20;  // (handler) Releases it
}  // namespace eventmanager
namespace event {
const int WINDOW_CREATE = 10;  // (HWND, const GUID* type)
const int WINDOW_CLOSE = 20;
}  // namespace event

// ifc_omservice, the plug-in's object. Buffers are counted in characters with the NUL.
namespace service {
const int GET_ID = 10;        // -> unsigned
const int GET_NAME = 20;      // (wchar_t*, unsigned) -> HRESULT
const int GET_URL = 30;       // (wchar_t*, unsigned) -> HRESULT
const int GET_EXTERNAL = 50;  // (IDispatch**) -> HRESULT
}  // namespace service
const unsigned NAME_CAPACITY = 128;  // the popup's buffer for the service's name
const unsigned URL_CAPACITY = 8192;  // and for its home address

const GUID OBJ_OM_BROWSER = {
    0xD5325EAB, 0x9BD7, 0x4382, {0xA3, 0x1D, 0x38, 0xEF, 0x60, 0x30, 0x61, 0xB3}};
const GUID IFC_OM_BROWSER_EVENT_MANAGER = {
    0xEF73F304, 0x7730, 0x4E80, {0xB9, 0x38, 0xA8, 0x0B, 0x5C, 0x97, 0x1C, 0xC5}};
const GUID IFC_OM_BROWSER_WINDOW_MANAGER = {
    0x81E8333B, 0x388F, 0x444E, {0x82, 0x33, 0x13, 0x8E, 0x15, 0xAC, 0xC7, 0x61}};
const GUID IFC_OM_BROWSER_EVENT = {
    0x900AD92F, 0xE2B9, 0x4615, {0xB1, 0xDB, 0xAC, 0xC3, 0x7F, 0xCD, 0x67, 0x6C}};
const GUID IFC_OM_SERVICE = {
    0x2999A8B2, 0x7780, 0x4542, {0x92, 0x57, 0x02, 0xD4, 0xE8, 0x93, 0x10, 0xB8}};
const GUID IFC_OM_SERVICE_EVENT_MNGR = {
    0x2ED54062, 0x1442, 0x4DFB, {0xB0, 0xAE, 0xC4, 0x38, 0x46, 0xBE, 0x4F, 0xCE}};
const GUID IFC_OM_SERVICE_COMMAND = {
    0xCA77030B, 0xDF0F, 0x4610, {0xB0, 0x1E, 0x4A, 0x40, 0x6A, 0x2F, 0xCD, 0x67}};
// The window types WindowCreate and WindowClose name.
const GUID WTID_BROWSER_POPUP = {
    0x6EFB8AF7, 0xC54F, 0x43FB, {0xB1, 0xDD, 0xDF, 0x2E, 0xE7, 0xE6, 0x77, 0x03}};

// The popup window: created hidden, top-level, owned by the owner given or the main window,
// at the rectangle given, with these style bits and the view style's bits within the mask.
const char POPUP_CLASS[] = "Nullsoft_omBrowserPopup";
const DWORD POPUP_STYLE = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
const DWORD VIEW_STYLE_MASK = 0x000FFFFF;
const int MINIMUM_WIDTH = 275, MINIMUM_HEIGHT = 116;  // its minimum tracking size
const wchar_t DEFAULT_TITLE[] = L"omBrowser";         // kept when the service names nothing

// View style flags (NBCS_*).
const UINT NBCS_DISABLEHOSTCSS = 0x0001;
const UINT NBCS_POPUPOWNER = 0x0002;
const UINT NBCS_DISABLEFULLSCREEN = 0x0004;
const UINT NBCS_NOTOOLBAR = 0x0100;
const UINT NBCS_NOSTATUSBAR = 0x0200;
const UINT NBCS_NOSERVICECOMMANDS = 0x0400;  // also no "home" navigation
const UINT NBCS_DISABLECONTEXTMENU = 0x1000;
const UINT NBCS_DIALOGMODE = 0x2000;
const UINT NBCS_BLOCKPOPUP = 0x4000;  // pages cannot open more windows

// Messages to the popup window.
const UINT NBCM_FIRST = WM_USER + 20;
const UINT NBCM_GETSERVICE = NBCM_FIRST + 4;
const UINT NBCM_NAVIGATE = NBCM_FIRST + 5;  // wParam: store if not ready; lParam: URL or command
const UINT NBCM_GETBROWSEROBJECT = NBCM_FIRST + 8;
const UINT NBPM_FIRST = NBCM_FIRST + 200;
const UINT NBPM_SETFRAMEPOS = NBPM_FIRST + 4;
const UINT NBPM_ACTIVATEFRAME = NBPM_FIRST + 5;  // brings it to the top and activates it
const UINT NBPM_REFRESHTITLE = NBPM_FIRST + 6;
// NBCM_NAVIGATE's lParam below this is a command, not an address.
const LPARAM NAVIGATE_COMMAND_LIMIT = 0x10000;
const LPARAM NAVIGATE_BLANK = 0, NAVIGATE_HOME = 1;

}  // namespace browsernumbers
