// The lyrics window on today's players with the browser component: the pages it is sent, when
// it opens and how, where it opens, what the plug-in's service answers the component, what
// quit leaves, and today's ways where the component is missing or fails.
#include <string>
#include <vector>

#include "kit/browser_component.h"
#include "kit/player_test.h"

namespace {

namespace bc = browsercomponent;
namespace bn = browsernumbers;

const UINT MENU_ITEM = modelplayer::FIRST_REGISTERED_COMMAND;
const wchar_t WINDOW_NAME[] = L"Tunelore Lyrics";

std::wstring wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }
std::wstring widePage(const std::string& title) {
  return wide(pageAddress("title=" + title + "&&artist=Band"));
}

std::vector<std::wstring> sent(const bc::Popup& popup) {
  std::vector<std::wstring> urls;
  for (const bc::Navigation& navigation : popup.navigations) {
    EXPECT_EQ(navigation.schedule, (WPARAM)TRUE)
        << "a page sent before the browser is ready is lost";
    urls.push_back(navigation.url);
  }
  return urls;
}

bool sameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
int width(const RECT& r) { return r.right - r.left; }
int height(const RECT& r) { return r.bottom - r.top; }

// Before any place is known: inside the work area, and no smaller than the component allows.
void expectFirstPlace(const RECT& frame) {
  RECT work = {};
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
  EXPECT_GE(width(frame), bn::MINIMUM_WIDTH);
  EXPECT_GE(height(frame), bn::MINIMUM_HEIGHT);
  EXPECT_GE(frame.left, work.left);
  EXPECT_GE(frame.top, work.top);
  EXPECT_LE(frame.right, work.right);
  EXPECT_LE(frame.bottom, work.bottom);
}

class LyricsWindowTest : public PlayerTest {
 protected:
  LyricsWindowTest() { playerOptions = bc::todaysPlayer(); }
  void SetUp() override {
    PlayerTest::SetUp();
    playBandTracks({"Song A", "Song B"});
  }
  void TearDown() override {
    EXPECT_EQ(bc::faults(), std::vector<std::string>());
    PlayerTest::TearDown();
  }
  void playTrack(int position) {
    modelplayer::setPosition(position);
    noticePlaying();
  }
  // The one popup made so far.
  bc::Popup onlyPopup() {
    std::vector<bc::Popup> made = bc::popups();
    EXPECT_EQ(made.size(), 1u);
    return made.empty() ? bc::Popup() : made.back();
  }
  std::string quitLeftovers() {
    record->quit();
    return bc::describe(bc::leftovers());
  }
};

TEST_P(LyricsWindowTest, EachNewTrackGoesToOneWindowShownWithoutTheFocus) {
  startUpWith();
  EXPECT_TRUE(bc::popups().empty()) << "start-up opens nothing";
  playTrack(0);
  playTrack(1);
  playTrack(1);  // the same page again is not sent
  modelplayer::deliverPostedMessages();
  bc::Popup popup = onlyPopup();
  EXPECT_EQ(sent(popup), (std::vector<std::wstring>{widePage("Song A"), widePage("Song B")}));
  EXPECT_EQ(popup.pages, std::vector<std::wstring>{widePage("Song B")});
  EXPECT_EQ(popup.homeUrl, widePage("Song B"));
  EXPECT_EQ(popup.title, WINDOW_NAME);
  EXPECT_NE(popup.serviceId, 0u);
  EXPECT_TRUE(popup.shown);
  EXPECT_FALSE(popup.activated);
  EXPECT_FALSE(popup.focused);
  EXPECT_EQ(popup.framesActivated, 0);
  EXPECT_EQ(popup.owner, modelplayer::mainWindow());
  EXPECT_NE(popup.style & bn::NBCS_BLOCKPOPUP, 0u) << "pages may open windows of their own";
  expectFirstPlace(popup.created);
  EXPECT_EQ(requests(), std::vector<std::string>()) << "nothing for a mini-browser or web browser";
  EXPECT_EQ(quitLeftovers(), "");
}

TEST_P(LyricsWindowTest, AutoOpenOffLeavesAClosedWindowClosedAndAnOpenOneFollowing) {
  startUpWith(false, true, true);
  playTrack(0);
  EXPECT_TRUE(bc::popups().empty());
  EXPECT_EQ(requests(), std::vector<std::string>());
  modelplayer::chooseMenuItem(MENU_ITEM);
  playTrack(1);
  bc::Popup popup = onlyPopup();
  EXPECT_EQ(sent(popup), (std::vector<std::wstring>{widePage("Song A"), widePage("Song B")}));
  EXPECT_EQ(popup.framesActivated, 1);
  EXPECT_EQ(quitLeftovers(), "");
}

TEST_P(LyricsWindowTest, MenuPickSendsThePageAgainAndBringsTheWindowToTheFront) {
  startUpWith();
  playTrack(0);
  modelplayer::chooseMenuItem(MENU_ITEM);
  bc::Popup popup = onlyPopup();
  EXPECT_EQ(sent(popup), (std::vector<std::wstring>{widePage("Song A"), widePage("Song A")}));
  EXPECT_EQ(popup.framesActivated, 1);
  EXPECT_EQ(requests(), std::vector<std::string>()) << "no web browser beside it";
  EXPECT_EQ(quitLeftovers(), "");
}

TEST_P(LyricsWindowTest, ClosedWindowGetsNothingAndTheNextOpensWhereItWas) {
  startUpWith();
  playTrack(0);
  HWND first = onlyPopup().window;
  const RECT moved = {100, 120, 700, 820};
  bc::userMoves(first, moved);
  bc::userCloses(first);
  playTrack(1);
  std::vector<bc::Popup> made = bc::popups();
  ASSERT_EQ(made.size(), 2u);
  EXPECT_TRUE(made[0].destroyed);
  EXPECT_EQ(sent(made[0]), std::vector<std::wstring>{widePage("Song A")});
  EXPECT_EQ(sent(made[1]), std::vector<std::wstring>{widePage("Song B")});
  EXPECT_TRUE(sameRect(made[1].created, moved));
  EXPECT_EQ(quitLeftovers(), "");
}

TEST_P(LyricsWindowTest, SwitchedOffNothingIsOpenedOrSent) {
  startUpWith(true);
  playTrack(0);
  modelplayer::chooseMenuItem(MENU_ITEM);
  EXPECT_TRUE(bc::popups().empty());
  EXPECT_EQ(requests(), std::vector<std::string>());
  EXPECT_EQ(quitLeftovers(), "");
}

// Quit leaves nothing of the plug-in's with the component, and keeps the window's place,
// whether the player destroyed the window first (it owns it) or the window was still open.
struct QuitRow {
  const char* name;
  bool playerDestroysWindowFirst;
};
const QuitRow QUIT_ROWS[] = {{"WindowStillOpen", false}, {"PlayerDestroyedWindow", true}};

class LyricsWindowQuitTest : public PlayerTableTest<QuitRow> {
 protected:
  LyricsWindowQuitTest() { playerOptions = bc::todaysPlayer(); }
};

TEST_P(LyricsWindowQuitTest, LeavesNothingAndKeepsThePlace) {
  startUpWith();
  playBandTracks({"Song A"});
  noticePlaying();
  HWND window = bc::popups().at(0).window;
  bc::userMoves(window, {40, 50, 540, 650});
  if (row().playerDestroysWindowFirst) bc::playerDestroysPopups();
  record->quit();
  EXPECT_EQ(bc::describe(bc::leftovers()), "");
  EXPECT_EQ(bc::faults(), std::vector<std::string>());
  EXPECT_EQ(readSettingsFile(), section({{"bDisabledPlugin", "FALSE"},
                                         {"bDisabledStartUp", "TRUE"},
                                         {"bDisabledAutoOpen", "FALSE"},
                                         {"LyricsWindowX", "40"},
                                         {"LyricsWindowY", "50"},
                                         {"LyricsWindowWidth", "500"},
                                         {"LyricsWindowHeight", "600"}}));
}

BOTH_WAYS_OVER(LyricsWindowQuitTest, QUIT_ROWS);

// A place kept in the settings file: used where it is whole, on the screen and no smaller than
// the component allows; otherwise the first place.
struct PlaceRow {
  const char* name;
  kit::Keys keys;
  bool used;
};
const PlaceRow PLACE_ROWS[] = {
    {"Whole",
     {{"LyricsWindowX", "-10"},
      {"LyricsWindowY", "30"},
      {"LyricsWindowWidth", "400"},
      {"LyricsWindowHeight", "300"}},
     true},
    {"OffTheScreen",
     {{"LyricsWindowX", "5000"},
      {"LyricsWindowY", "30"},
      {"LyricsWindowWidth", "400"},
      {"LyricsWindowHeight", "300"}},
     false},
    {"TooSmall",
     {{"LyricsWindowX", "10"},
      {"LyricsWindowY", "30"},
      {"LyricsWindowWidth", "274"},
      {"LyricsWindowHeight", "300"}},
     false},
    {"NotANumber",
     {{"LyricsWindowX", "ten"},
      {"LyricsWindowY", "30"},
      {"LyricsWindowWidth", "400"},
      {"LyricsWindowHeight", "300"}},
     false},
    {"BeyondWindowsCoordinates",
     {{"LyricsWindowX", "2147483000"},
      {"LyricsWindowY", "30"},
      {"LyricsWindowWidth", "2147483000"},
      {"LyricsWindowHeight", "300"}},
     false},
    {"Partial", {{"LyricsWindowX", "10"}, {"LyricsWindowY", "30"}}, false},
};

class LyricsWindowPlaceTest : public PlayerTableTest<PlaceRow> {
 protected:
  LyricsWindowPlaceTest() { playerOptions = bc::todaysPlayer(); }
};

TEST_P(LyricsWindowPlaceTest, KeptPlaceIsUsedOnlyWhereItFits) {
  kit::Keys keys = {{"bDisabledStartUp", "TRUE"}};
  keys.insert(keys.end(), row().keys.begin(), row().keys.end());
  writeSettingsFile(section(keys));
  ASSERT_EQ(record->init(), 0);
  playBandTracks({"Song A"});
  noticePlaying();
  RECT created = bc::popups().at(0).created;
  if (row().used) {
    const RECT kept = {-10, 30, 390, 330};
    EXPECT_TRUE(sameRect(created, kept));
  } else {
    expectFirstPlace(created);
  }
  record->quit();
}

BOTH_WAYS_OVER(LyricsWindowPlaceTest, PLACE_ROWS);

// Every way the component can be missing or fail: today's behaviour exactly, the mini-browser's
// requests on a track change and the web browser on demand, and no window left behind.
struct FailureRow {
  const char* name;
  bc::Failure failure;
};
const FailureRow FAILURE_ROWS[] = {
    {"NoServiceApiZero", bc::Failure::NoServiceApiZero},
    {"NoServiceApiOne", bc::Failure::NoServiceApiOne},
    {"NoFactory", bc::Failure::NoFactory},
    {"NoBrowserObject", bc::Failure::NoBrowserObject},
    {"InitializeFails", bc::Failure::InitializeFails},
    {"CreatePopupFails", bc::Failure::CreatePopupFails},
    {"CreatePopupGivesNoWindow", bc::Failure::CreatePopupGivesNoWindow},
};

class LyricsWindowFailureTest : public PlayerTableTest<FailureRow> {
 protected:
  LyricsWindowFailureTest() { playerOptions = bc::todaysPlayer(row().failure); }
};

TEST_P(LyricsWindowFailureTest, TodaysWaysStayAndNoWindowIsLeft) {
  startUpWith();
  playBandTracks({"Song A"});
  noticePlaying();
  modelplayer::chooseMenuItem(MENU_ITEM);
  std::vector<std::string> expected = pageRequests(pageAddress("title=Song A&&artist=Band"));
  expected.push_back("web browser " + pageAddress("title=Song A&&artist=Band"));
  EXPECT_EQ(requests(), expected);
  EXPECT_EQ(bc::leftovers().popupWindows, 0);
  record->quit();
  EXPECT_EQ(bc::describe(bc::leftovers()), "");
  EXPECT_EQ(bc::faults(), std::vector<std::string>());
}

BOTH_WAYS_OVER(LyricsWindowFailureTest, FAILURE_ROWS);

// The plug-in's service as the component calls it, through the player's compiler: interfaces
// it lacks are refused with a null pointer, codes it does not know are left unhandled, and a
// home page that does not fit is not cut.
TEST_P(LyricsWindowTest, ServiceRefusesWhatItDoesNotImplement) {
  startUpWith();
  playTrack(0);
  void* service = onlyPopup().service;
  ASSERT_NE(service, nullptr);

  for (const GUID& iid : {bn::IFC_OM_SERVICE_COMMAND, bn::IFC_OM_SERVICE_EVENT_MNGR,
                          bn::IFC_OM_BROWSER_EVENT, GUID{}}) {
    void* out = &out;
    void** outArgument = &out;
    HRESULT result = S_OK;
    EXPECT_TRUE(
        bc::dispatchCall(service, bn::dispatch::QUERY_INTERFACE, &result, iid, outArgument));
    EXPECT_EQ(result, E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
  }
  void* external = &external;
  void** externalArgument = &external;
  HRESULT result = S_OK;
  EXPECT_TRUE(bc::dispatchCall(service, bn::service::GET_EXTERNAL, &result, externalArgument));
  EXPECT_EQ(result, E_NOTIMPL);
  EXPECT_EQ(external, nullptr);
  const int GET_ICON = 40;
  EXPECT_FALSE(bc::dispatchCall(service, GET_ICON, &result, (wchar_t*)nullptr, 0u));

  wchar_t small[8] = L"unset";
  EXPECT_TRUE(bc::dispatchCall(service, bn::service::GET_URL, &result, (wchar_t*)small, 8u));
  EXPECT_TRUE(FAILED(result));
  EXPECT_EQ(std::wstring(small), L"");
  EXPECT_EQ(quitLeftovers(), "");
}

BOTH_WAYS(LyricsWindowTest);

}  // namespace
