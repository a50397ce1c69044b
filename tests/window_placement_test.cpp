// Where windows are, whether they show, which one is active and has the focus, what an owner
// takes with it and the screen they are on: the same cases on the Linux model and under Wine,
// so the model keeps to what Windows does for the browser component's popups.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>

#include "kit/model_player.h"

namespace {

const char TEST_CLASS[] = "Tunelore Placement Test";
const int MINIMUM_WIDTH = 275, MINIMUM_HEIGHT = 116;
const DWORD POPUP_STYLE = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;

HWND watched = nullptr;  // the window whose messages are noted
std::string noted;

void note(const char* what) { noted += noted.empty() ? what : std::string(" ") + what; }

LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_GETMINMAXINFO) {
    ((MINMAXINFO*)lParam)->ptMinTrackSize = {MINIMUM_WIDTH, MINIMUM_HEIGHT};
    return 0;
  }
  if (message == WM_DESTROY) note(GetAncestor(window, GA_ROOT) == window ? "destroy" : "child");
  if (window == watched && message == WM_SHOWWINDOW) note(wParam ? "show" : "hide");
  if (window == watched && message == WM_ACTIVATE)
    note(LOWORD(wParam) == WA_INACTIVE ? "deactivate" : "activate");
  if (window == watched && message == WM_SETFOCUS) note("focus");
  if (window == watched && message == WM_KILLFOCUS) note("unfocus");
  return DefWindowProcW(window, message, wParam, lParam);
}

class WindowPlacementTest : public ::testing::Test {
 protected:
  void SetUp() override {
    noted.clear();
    ASSERT_TRUE(modelplayer::registerClass(TEST_CLASS, procedure, true));
    owner = create(WS_OVERLAPPEDWINDOW, nullptr, {0, 0, 300, 200});
    popup = create(POPUP_STYLE, owner, {100, 120, 200, 170});
    ASSERT_NE(owner, nullptr);
    ASSERT_NE(popup, nullptr);
    watched = popup;
  }
  void TearDown() override {
    watched = nullptr;
    for (HWND window : {popup, other, owner})
      if (window != nullptr) DestroyWindow(window);
    UnregisterClassA(TEST_CLASS, GetModuleHandleA(nullptr));
  }
  static HWND create(DWORD style, HWND parent, RECT rect) {
    return CreateWindowExW(0, L"Tunelore Placement Test", L"", style, rect.left, rect.top,
                           rect.right - rect.left, rect.bottom - rect.top, parent, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
  }
  static std::string takeNoted() { return std::exchange(noted, ""); }
  HWND owner = nullptr, popup = nullptr, other = nullptr;
};

std::string text(const RECT& rect) {
  return std::to_string(rect.left) + "," + std::to_string(rect.top) + " " +
         std::to_string(rect.right - rect.left) + "x" + std::to_string(rect.bottom - rect.top);
}

std::string placeOf(HWND window) {
  RECT rect = {};
  EXPECT_TRUE(GetWindowRect(window, &rect));
  return text(rect);
}

TEST_F(WindowPlacementTest, ShowingActivatesOnlyWhenAskedTo) {
  other = create(WS_OVERLAPPEDWINDOW, nullptr, {400, 0, 700, 200});
  struct Step {
    const char* name;
    std::function<void()> act;
    std::string messages;  // what the popup heard
    bool visible, active;  // active: the active and foreground window, with the focus
  } steps[] = {
      {"created hidden", [] {}, "", false, false},
      {"shown without activation", [&] { ShowWindow(popup, SW_SHOWNOACTIVATE); }, "show", true,
       false},
      {"hidden", [&] { ShowWindow(popup, SW_HIDE); }, "hide", false, false},
      {"shown normally", [&] { ShowWindow(popup, SW_SHOWNORMAL); }, "show activate focus", true,
       true},
      {"another window shown normally", [&] { ShowWindow(other, SW_SHOWNORMAL); },
       "deactivate unfocus", true, false},
      {"moved", [&] { MoveWindow(popup, 10, 20, 400, 300, TRUE); }, "", true, false},
      {"brought to the foreground", [&] { SetForegroundWindow(popup); }, "activate focus", true,
       true},
      {"hidden while active", [&] { ShowWindow(popup, SW_HIDE); }, "hide deactivate unfocus", false,
       false},
      {"placed while hidden, without SWP_NOACTIVATE",
       [&] { SetWindowPos(popup, HWND_TOP, 30, 40, 400, 300, SWP_NOZORDER); }, "activate focus",
       false, true},
  };
  takeNoted();
  for (const Step& step : steps) {
    SCOPED_TRACE(step.name);
    step.act();
    EXPECT_EQ(takeNoted(), step.messages);
    EXPECT_EQ(IsWindowVisible(popup) != FALSE, step.visible);
    EXPECT_EQ(GetActiveWindow() == popup, step.active);
    EXPECT_EQ(GetForegroundWindow() == popup, step.active);
    EXPECT_EQ(GetFocus() == popup, step.active);
  }
}

TEST_F(WindowPlacementTest, RectanglesKeepTheMinimumTrackingSize) {
  struct Step {
    const char* name;
    std::function<void()> act;
    std::string place;
  } steps[] = {
      {"created smaller than the minimum", [] {}, "100,120 275x116"},
      {"moved and sized", [&] { MoveWindow(popup, -10, 20, 400, 300, TRUE); }, "-10,20 400x300"},
      {"sized below the minimum",
       [&] { SetWindowPos(popup, nullptr, 0, 0, 50, 60, SWP_NOMOVE | SWP_NOZORDER); },
       "-10,20 275x116"},
      {"moved only",
       [&] { SetWindowPos(popup, nullptr, 500, 600, 0, 0, SWP_NOSIZE | SWP_NOZORDER); },
       "500,600 275x116"},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.name);
    step.act();
    EXPECT_EQ(placeOf(popup), step.place);
  }
  EXPECT_EQ(placeOf(owner), "0,0 300x200");
}

// The owner's destruction takes the window it owns first, and that one its child after it.
TEST_F(WindowPlacementTest, AnOwnedWindowIsItsOwnRootAndGoesBeforeItsOwner) {
  HWND child = create(WS_CHILD, popup, {5, 6, 50, 60});
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(GetAncestor(popup, GA_ROOT), popup);
  EXPECT_EQ(GetAncestor(child, GA_ROOT), popup);
  watched = nullptr;
  takeNoted();
  ASSERT_TRUE(DestroyWindow(owner));
  EXPECT_EQ(takeNoted(), "destroy child destroy");
  for (HWND gone : {popup, child, owner}) EXPECT_FALSE(IsWindow(gone));
  popup = owner = nullptr;
}

TEST(Screen, RectanglesFindTheMonitorAndItsWorkArea) {
  RECT inside = {100, 100, 400, 300};
  HMONITOR monitor = MonitorFromRect(&inside, MONITOR_DEFAULTTONULL);
  ASSERT_NE(monitor, nullptr);
  struct Case {
    RECT rect;
    DWORD flags;
    HMONITOR found;
  } cases[] = {
      {{-50, -50, 50, 50}, MONITOR_DEFAULTTONULL, monitor},    // partly on the screen
      {{150, 150, 150, 150}, MONITOR_DEFAULTTONULL, monitor},  // empty, on the screen
      {{-5000, -5000, -4900, -4900}, MONITOR_DEFAULTTONULL, nullptr},
      {{-5000, -5000, -4900, -4900}, MONITOR_DEFAULTTONEAREST, monitor},
      {{-5000, -5000, -4900, -4900}, MONITOR_DEFAULTTOPRIMARY, monitor},
  };
  for (const Case& each : cases) {
    SCOPED_TRACE(text(each.rect) + " flags " + std::to_string(each.flags));
    EXPECT_EQ(MonitorFromRect(&each.rect, each.flags), each.found);
  }
  MONITORINFO info = {};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetMonitorInfoA(monitor, &info));
  EXPECT_EQ(info.dwFlags, (DWORD)MONITORINFOF_PRIMARY);
  EXPECT_EQ(text(info.rcMonitor).substr(0, 4), "0,0 ");
  RECT work = {};
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
  EXPECT_EQ(text(work), text(info.rcWork));
  EXPECT_TRUE(work.left >= info.rcMonitor.left && work.top >= info.rcMonitor.top &&
              work.right <= info.rcMonitor.right && work.bottom <= info.rcMonitor.bottom);
}

}  // namespace
