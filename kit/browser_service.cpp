// The component's calls into the plug-in's objects, its service and its event handlers, as
// the real component makes them, with what would crash the player recorded as faults.
#include <cstdio>
#include <cwchar>

#include "kit/browser_state.h"

namespace browsercomponent {

using namespace browsernumbers;

// Characters after a text buffer that the service must leave alone, and what fills both.
static const unsigned GUARD_LENGTH = 8;
static const wchar_t FILLER = L'#';

static std::string hex(HRESULT result) {
  char text[16];
  snprintf(text, sizeof text, "0x%08X", (unsigned)result);
  return text;
}

void addRef(void* object) {
  int count = 0;
  dispatchCall(object, dispatch::ADD_REF, &count);
}

void release(void* object) {
  int count = 0;
  dispatchCall(object, dispatch::RELEASE, &count);
}

void holdService(void* service) {
  addRef(service);
  std::lock_guard<std::mutex> guard(state().lock);
  ++state().serviceReferences;
}

void releaseService(void* service) {
  release(service);
  std::lock_guard<std::mutex> guard(state().lock);
  --state().serviceReferences;
}

// The out-pointer starts as something other than NULL, so that a service that leaves it
// alone shows.
void checkRefused(void* service, const GUID& id, const char* name) {
  static int notAnInterface;
  void* out = &notAnInterface;
  HRESULT result = S_OK;
  std::string query = std::string("QueryInterface for ") + name;
  if (!dispatchCall(service, dispatch::QUERY_INTERFACE, &result, id, &out))
    fault(query + " left unhandled: the player reads that as success");
  else if (SUCCEEDED(result))
    fault(query + " answered success");
  else if (out != nullptr)
    fault(query + " left a pointer behind");
}

std::wstring readText(void* service, int code, unsigned capacity, const char* method) {
  std::vector<wchar_t> buffer(capacity + GUARD_LENGTH, FILLER);
  HRESULT result = E_NOTIMPL;
  if (!dispatchCall(service, code, &result, buffer.data(), capacity)) result = E_NOTIMPL;
  for (unsigned i = capacity; i < capacity + GUARD_LENGTH; ++i) {
    if (buffer[i] != FILLER) {
      fault(std::string(method) + " wrote past its buffer of " + std::to_string(capacity) +
            " characters");
      break;
    }
  }
  if (FAILED(result)) return L"";
  if (wcsnlen(buffer.data(), capacity) == capacity) {
    fault(std::string(method) + " answered success without ending its text");
    return L"";
  }
  return buffer.data();
}

std::wstring serviceTitle(void* service) {
  std::wstring name = readText(service, service::GET_NAME, NAME_CAPACITY, "GetName");
  return name.empty() ? DEFAULT_TITLE : name;
}

// window.external: the service must give none, with E_NOTIMPL.
static void checkNoExternal(void* service) {
  void* external = nullptr;
  HRESULT result = S_OK;
  if (!dispatchCall(service, service::GET_EXTERNAL, &result, &external))
    fault("GetExternal left unhandled");
  else if (result != E_NOTIMPL)
    fault("GetExternal answered " + hex(result) + " instead of E_NOTIMPL");
  if (external != nullptr) fault("GetExternal gave the page an object");
}

void runBrowserThread(void* service, Popup* record, std::promise<void>* started,
                      std::future<void> exit) {
  if (service != nullptr) {
    holdService(service);
    checkNoExternal(service);
    readText(service, service::GET_NAME, NAME_CAPACITY, "GetName");
    dispatchCall(service, service::GET_ID, &record->serviceId);
  }
  started->set_value();
  exit.wait();
  if (service != nullptr) {
    releaseService(service);
  }
}

void raiseEvent(int browser, int event, HWND window) {
  const GUID* type = &WTID_BROWSER_POPUP;
  std::vector<void*> handlers = state().browsers[browser].handlers;
  for (void* handler : handlers) dispatchCall(handler, event, nullptr, window, type);
}

}  // namespace browsercomponent
