#include "tracking/lyrics_service.h"

#include <cstring>
#include <cwchar>

#include "tracking/lyrics_page.h"
#include "winamp/browser_component.h"

// A fixed, non-zero id: the component keys a service's windows and permissions by it.
static const unsigned LYRICS_SERVICE_ID = 0x544C5952;
// The component's answer for a buffer too small for the whole text.
static const HRESULT BUFFER_TOO_SMALL = (HRESULT)0x8007007A;

namespace {

// What every object answers: AddRef, Release, and QueryInterface for its own interface only.
// Whatever else is asked for is refused with a null pointer: a caller that found the query
// unanswered would read success and use a pointer never written.
class ComponentObject : public Dispatchable {
 public:
  explicit ComponentObject(const GUID& iid) : ownInterface(iid) {}
  bool held() const { return references > 0; }

 protected:
  bool answerCommon(int code, void* retval, void** params, int count) {
    if (code == DISPATCH_ADDREF) {
      dispatchResult<int>(retval, InterlockedIncrement(&references));
    } else if (code == DISPATCH_RELEASE) {
      dispatchResult<int>(retval, InterlockedDecrement(&references));
    } else if (code == DISPATCH_QUERYINTERFACE) {
      dispatchResult<HRESULT>(retval, answerQuery(params, count));
    } else {
      return false;
    }
    return true;
  }

 private:
  HRESULT answerQuery(void** params, int count) {
    GUID* asked = dispatchArgument<GUID>(params, count, 0);
    void*** out = dispatchArgument<void**>(params, count, 1);
    if (out == nullptr || *out == nullptr) return E_POINTER;
    **out = nullptr;
    if (asked == nullptr || !sameGuid(*asked, ownInterface)) return E_NOINTERFACE;
    InterlockedIncrement(&references);
    **out = this;
    return S_OK;
  }

  const GUID& ownInterface;
  LONG volatile references = 0;
};

// The page's text into the caller's buffer, whole or not at all.
HRESULT copyWhole(void** params, int count, const wchar_t* text) {
  wchar_t** buffer = dispatchArgument<wchar_t*>(params, count, 0);
  unsigned* size = dispatchArgument<unsigned>(params, count, 1);
  if (buffer == nullptr || *buffer == nullptr || size == nullptr || *size == 0) return E_INVALIDARG;
  size_t length = wcslen(text);
  if (length >= *size) {
    (*buffer)[0] = L'\0';
    return BUFFER_TOO_SMALL;
  }
  memcpy(*buffer, text, (length + 1) * sizeof(wchar_t));
  return S_OK;
}

CRITICAL_SECTION homePageLock;  // the browser thread reads the page while a track change sets it
bool homePageLockMade;
wchar_t homePage[PAGE_ADDRESS_SIZE];

HRESULT copyHomePage(void** params, int count) {
  EnterCriticalSection(&homePageLock);
  HRESULT result = copyWhole(params, count, homePage);
  LeaveCriticalSection(&homePageLock);
  return result;
}

// No window.external: a page from the web must never reach the player's scripting.
HRESULT refuseExternal(void** params, int count) {
  void*** out = dispatchArgument<void**>(params, count, 0);
  if (out != nullptr && *out != nullptr) **out = nullptr;
  return E_NOTIMPL;
}

class LyricsService : public ComponentObject {
 public:
  LyricsService() : ComponentObject(IFC_OmService) {}
  int DISPATCH_CALL _dispatch(int code, void* retval, void** params, int count) override {
    if (answerCommon(code, retval, params, count)) return 1;
    if (code == OMSERVICE_GETID) {
      dispatchResult<unsigned>(retval, LYRICS_SERVICE_ID);
    } else if (code == OMSERVICE_GETNAME) {
      dispatchResult<HRESULT>(retval, copyWhole(params, count, LYRICS_WINDOW_NAME));
    } else if (code == OMSERVICE_GETURL) {
      dispatchResult<HRESULT>(retval, copyHomePage(params, count));
    } else if (code == OMSERVICE_GETEXTERNAL) {
      dispatchResult<HRESULT>(retval, refuseExternal(params, count));
    } else {
      return 0;
    }
    return 1;
  }
};

class WindowEvents : public ComponentObject {
 public:
  WindowEvents() : ComponentObject(IFC_OmBrowserEvent) {}
  int DISPATCH_CALL _dispatch(int code, void* retval, void** params, int count) override {
    if (answerCommon(code, retval, params, count)) return 1;
    if (code == OMBROWSEREVENT_WINDOWCLOSE) {
      HWND* window = dispatchArgument<HWND>(params, count, 0);
      if (window != nullptr && onClose != nullptr) onClose(*window);
      return 1;
    }
    return code == OMBROWSEREVENT_WINDOWCREATE ? 1 : 0;
  }
  WindowClosed onClose = nullptr;
};

LyricsService service;
WindowEvents windowEvents;

}  // namespace

void openLyricsService() {
  if (homePageLockMade) return;
  InitializeCriticalSection(&homePageLock);
  homePageLockMade = true;
}

Dispatchable* lyricsService() { return &service; }

Dispatchable* lyricsWindowEvents(WindowClosed onClose) {
  windowEvents.onClose = onClose;
  return &windowEvents;
}

void setLyricsHomePage(const wchar_t* page) {
  EnterCriticalSection(&homePageLock);
  lstrcpynW(homePage, page, PAGE_ADDRESS_SIZE);
  LeaveCriticalSection(&homePageLock);
}

bool closeLyricsService() {
  if (service.held() || windowEvents.held()) return false;
  windowEvents.onClose = nullptr;
  if (homePageLockMade) DeleteCriticalSection(&homePageLock);
  homePageLockMade = false;
  return true;
}
