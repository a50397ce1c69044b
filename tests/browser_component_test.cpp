// The model of the player's browser component, driven as a plug-in drives it through a
// service and an event handler of this program's own: what a real component would do, what it
// would crash on (recorded as faults), the ways it can be missing, and what it still holds.
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "kit/browser_component.h"
#include "kit/player_test.h"

// The player's interface as a plug-in declares it (not in an unnamed namespace, so that g++
// calls the player's objects through their vtables).
namespace componenttest {
class Dispatchable {
 public:
  virtual int __thiscall _dispatch(int code, void* retval, void** params, int count) = 0;
};
}  // namespace componenttest

namespace {

using namespace browsernumbers;
using browsercomponent::Failure;
using componenttest::Dispatchable;

// A call of one of the player's objects, made by this program's compiler.
template <typename Result, typename... Args>
Result call(void* object, int code, Args... args) {
  Result result = {};
  void* params[sizeof...(Args) + 1] = {&args...};
  ((Dispatchable*)object)
      ->_dispatch(code, &result, sizeof...(Args) ? params : nullptr, (int)sizeof...(Args));
  return result;
}

enum class Misstep {
  None,
  QueryUnhandled,
  QueryAnswersSuccess,
  QueryLeavesPointer,
  ExternalGiven,
  ExternalUnhandled,
  NameTooLong,
  NameUnterminated,
};

// A service as the plug-in's should be, unless told to misstep once.
class Service : public Dispatchable {
 public:
  int __thiscall _dispatch(int code, void* retval, void** params, int) override {
    switch (code) {
      case dispatch::ADD_REF:
        *(int*)retval = ++references;
        return 1;
      case dispatch::RELEASE:
        *(int*)retval = --references;
        return 1;
      case dispatch::QUERY_INTERFACE:
        return query(retval, *(void***)params[1]);
      case service::GET_ID:
        *(unsigned*)retval = 7;
        return 1;
      case service::GET_NAME:
        return text(name, retval, params);
      case service::GET_URL:
        return text(url, retval, params);
      case service::GET_EXTERNAL:
        if (misstep == Misstep::ExternalUnhandled) return 0;
        **(void***)params[0] = misstep == Misstep::ExternalGiven ? this : nullptr;
        *(HRESULT*)retval = E_NOTIMPL;
        return 1;
      default:
        return 0;
    }
  }
  int query(void* retval, void** out) {
    if (misstep == Misstep::QueryUnhandled) return 0;
    if (misstep != Misstep::QueryLeavesPointer) *out = nullptr;
    *(HRESULT*)retval = misstep == Misstep::QueryAnswersSuccess ? S_OK : E_NOINTERFACE;
    return 1;
  }
  int text(const std::wstring& value, void* retval, void** params) {
    wchar_t* buffer = *(wchar_t**)params[0];
    unsigned capacity = *(unsigned*)params[1];
    if (misstep == Misstep::NameTooLong || misstep == Misstep::NameUnterminated) {
      size_t length = misstep == Misstep::NameTooLong ? capacity + 2 : capacity;
      for (size_t i = 0; i < length; ++i) buffer[i] = L'x';
    } else {
      std::copy(value.c_str(), value.c_str() + value.size() + 1, buffer);
    }
    *(HRESULT*)retval = S_OK;
    return 1;
  }
  Misstep misstep = Misstep::None;
  int references = 1;
  std::wstring name = L"Lyrics", url = L"http://lyrics.test/home";
};

// An event handler that notes the events it hears.
class Handler : public Dispatchable {
 public:
  int __thiscall _dispatch(int code, void* retval, void** params, int) override {
    if (code == dispatch::ADD_REF || code == dispatch::RELEASE) {
      references += code == dispatch::ADD_REF ? 1 : -1;
      *(int*)retval = references;
      return 1;
    }
    if (code != event::WINDOW_CREATE && code != event::WINDOW_CLOSE) return 0;
    bool popup = **(const GUID**)params[1] == WTID_BROWSER_POPUP && retval == nullptr;
    heard += (code == event::WINDOW_CREATE ? "create" : "close") + std::string(popup ? " " : "? ");
    return 1;
  }
  int references = 1;
  std::string heard;
};

class BrowserComponentTest : public LinkedPlayerTest {
 protected:
  void SetUp() override {
    playerOptions = browsercomponent::todaysPlayer(failure);
    LinkedPlayerTest::SetUp();
  }
  // The plug-in's steps up to a popup, with the handler registered; where they stop.
  std::string stepReached() {
    LRESULT api = SendMessageA(modelplayer::mainWindow(), playernumbers::WA_IPC, 0,
                               playernumbers::request::GET_API_SERVICE);
    if (api == 0 || api == 1) return "service API";
    factory = call<void*>((void*)api, apiservice::GET_SERVICE_BY_GUID, OBJ_OM_BROWSER);
    if (factory == nullptr) return "factory";
    browser = call<void*>(factory, factory::GET_INTERFACE, 1);
    if (browser == nullptr) return "getInterface";
    if (FAILED(call<HRESULT>(browser, browser::INITIALIZE, (const wchar_t*)nullptr,
                             modelplayer::mainWindow())))
      return "Initialize";
    EXPECT_EQ(events(eventmanager::REGISTER_HANDLER), S_OK);
    if (FAILED(createPopup({100, 120, 600, 520}))) return "CreatePopup";
    return window == nullptr ? "no window" : "a popup";
  }
  HRESULT createPopup(RECT at) {
    window = nullptr;
    return call<HRESULT>(browser, browser::CREATE_POPUP, (void*)&service, (int)at.left, (int)at.top,
                         (int)(at.right - at.left), (int)(at.bottom - at.top),
                         modelplayer::mainWindow(), (const wchar_t*)nullptr, NBCS_BLOCKPOPUP,
                         &window);
  }
  HRESULT events(int code) {
    void* manager = nullptr;
    call<HRESULT>(browser, dispatch::QUERY_INTERFACE, IFC_OM_BROWSER_EVENT_MANAGER, &manager);
    HRESULT result = call<HRESULT>(manager, code, (void*)&handler);
    call<int>(manager, dispatch::RELEASE);
    return result;
  }
  void quit() {
    call<HRESULT>(browser, browser::FINISH);
    call<int>(factory, factory::RELEASE_INTERFACE, browser);
  }
  Failure failure = Failure::None;
  Service service;
  Handler handler;
  void *factory = nullptr, *browser = nullptr;
  HWND window = nullptr;
};

TEST_F(BrowserComponentTest, APopupRecordsWhatItIsAsked) {
  ASSERT_EQ(stepReached(), "a popup");
  EXPECT_TRUE(SendMessageW(window, NBCM_NAVIGATE, TRUE, (LPARAM)L"http://lyrics.test/1"));
  EXPECT_FALSE(SendMessageW(window, NBCM_NAVIGATE, FALSE, (LPARAM)L"http://lyrics.test/0"))
      << "not ready: dropped";
  const browsercomponent::Popup* popup = browsercomponent::popupOf(window);
  ASSERT_NE(popup, nullptr);
  ShowWindow(window, SW_SHOWNOACTIVATE);
  EXPECT_TRUE(popup->shown && IsWindowVisible(window));
  EXPECT_FALSE(popup->activated || popup->focused);
  modelplayer::deliverPostedMessages();  // the browser becomes ready
  EXPECT_TRUE(SendMessageW(window, NBCM_NAVIGATE, TRUE, (LPARAM)L"http://lyrics.test/2"));
  EXPECT_TRUE(SendMessageW(window, NBPM_ACTIVATEFRAME, 0, 0));
  browsercomponent::userMoves(window, {30, 40, 430, 340});

  EXPECT_EQ(popup->title, L"Lyrics");
  EXPECT_EQ(popup->homeUrl, L"http://lyrics.test/home");
  EXPECT_EQ(popup->serviceId, 7u);
  EXPECT_EQ(popup->pages,
            (std::vector<std::wstring>{L"http://lyrics.test/1", L"http://lyrics.test/2"}));
  EXPECT_EQ(popup->style, POPUP_STYLE | NBCS_BLOCKPOPUP);
  EXPECT_EQ(popup->owner, modelplayer::mainWindow());
  EXPECT_TRUE(popup->activated && popup->focused) << "brought to the front";
  EXPECT_EQ(popup->framesActivated, 1);
  EXPECT_EQ(popup->navigations.size(), 3u);
  RECT moved = browsercomponent::windowRect(window);
  EXPECT_EQ((std::vector<LONG>{moved.left, moved.top, moved.right, moved.bottom}),
            (std::vector<LONG>{30, 40, 430, 340}));
  EXPECT_EQ(service.references, 3) << "the popup's and the browser thread's";

  EXPECT_EQ(handler.heard, "create ");
}

// However the popup goes, Finish and releaseInterface leave the component holding nothing of
// the plug-in's.
TEST_F(BrowserComponentTest, QuitLeavesNothingWhoeverClosedThePopup) {
  struct Order {
    const char* name;
    std::function<void(HWND)> beforeQuit;
  } orders[] = {
      {"the popup still open: Finish destroys it", [](HWND) {}},
      {"the user closed it", browsercomponent::userCloses},
      {"the player destroyed it first", [](HWND) { browsercomponent::playerDestroysPopups(); }},
  };
  for (const Order& order : orders) {
    SCOPED_TRACE(order.name);
    handler.heard.clear();
    ASSERT_EQ(stepReached(), "a popup");
    order.beforeQuit(window);
    EXPECT_EQ(call<HRESULT>(browser, browser::FINISH), S_OK);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(events(eventmanager::UNREGISTER_HANDLER), E_PENDING) << "after Finish";
    EXPECT_EQ(call<int>(factory, factory::RELEASE_INTERFACE, browser), 1);
    EXPECT_EQ(handler.heard, "create close ");
    EXPECT_EQ(browsercomponent::describe(browsercomponent::leftovers()), "");
    EXPECT_EQ(service.references, 1);
    EXPECT_EQ(handler.references, 1);
  }
  EXPECT_TRUE(browsercomponent::finishRan());
  EXPECT_EQ(browsercomponent::faults(), std::vector<std::string>{});
}

TEST_F(BrowserComponentTest, WhatWouldCrashThePlayerIsRecorded) {
  struct Case {
    Misstep misstep;
    std::string fault;
  } cases[] = {
      {Misstep::QueryUnhandled, "QueryInterface for IFC_OmServiceEventMngr left unhandled"},
      {Misstep::QueryAnswersSuccess, "QueryInterface for IFC_OmServiceEventMngr answered success"},
      {Misstep::QueryLeavesPointer, "QueryInterface for IFC_OmServiceEventMngr left a pointer"},
      {Misstep::ExternalGiven, "GetExternal gave the page an object"},
      {Misstep::ExternalUnhandled, "GetExternal left unhandled"},
      {Misstep::NameTooLong, "GetName wrote past its buffer of 128 characters"},
      {Misstep::NameUnterminated, "GetName answered success without ending its text"},
  };
  ASSERT_EQ(stepReached(), "a popup");
  DestroyWindow(window);
  size_t seen = browsercomponent::faults().size();
  EXPECT_EQ(seen, 0u) << "the service as it should be";
  for (const Case& each : cases) {
    SCOPED_TRACE(each.fault);
    service.misstep = each.misstep;
    ASSERT_EQ(createPopup({0, 0, 400, 300}), S_OK);
    DestroyWindow(window);
    std::vector<std::string> faults = browsercomponent::faults();
    std::string first = faults.size() > seen ? faults[seen] : "";
    EXPECT_EQ(first.substr(0, each.fault.size()), each.fault);
    seen = faults.size();
  }
}

struct FailureCase {
  Failure failure;
  const char* stopsAt;
};

class BrowserComponentFailureTest : public BrowserComponentTest,
                                    public ::testing::WithParamInterface<FailureCase> {
 protected:
  void SetUp() override {
    failure = GetParam().failure;
    BrowserComponentTest::SetUp();
  }
};

// Each failure stops the steps at its own, and leaves the component holding nothing.
TEST_P(BrowserComponentFailureTest, StopsAtItsStep) {
  EXPECT_EQ(stepReached(), GetParam().stopsAt);
  if (browser != nullptr) quit();
  EXPECT_EQ(browsercomponent::describe(browsercomponent::leftovers()), "");
}

INSTANTIATE_TEST_SUITE_P(Failures, BrowserComponentFailureTest,
                         ::testing::Values(FailureCase{Failure::None, "a popup"},
                                           FailureCase{Failure::NoServiceApiZero, "service API"},
                                           FailureCase{Failure::NoServiceApiOne, "service API"},
                                           FailureCase{Failure::NoFactory, "factory"},
                                           FailureCase{Failure::NoBrowserObject, "getInterface"},
                                           FailureCase{Failure::InitializeFails, "Initialize"},
                                           FailureCase{Failure::CreatePopupFails, "CreatePopup"},
                                           FailureCase{Failure::CreatePopupGivesNoWindow,
                                                       "no window"}));

}  // namespace
