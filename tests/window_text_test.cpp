// A window's character set, as Windows keeps it: the same cases run on the Linux model and
// under Wine, so the model's rules for Unicode windows are checked against the real ones.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <utility>

#include "kit/model_player.h"

namespace {

// Japanese and Cyrillic are outside code page 1252; "é" is inside it.
const wchar_t MIXED_TEXT[] = L"12. \u65E5\u672C\u8A9E - \u0416\u0443\u043A - Caf\u00E9";
const wchar_t MIXED_TEXT_THROUGH_ANSI[] = L"12. ??? - ??? - Caf\u00E9";
const char MIXED_TEXT_AS_ANSI[] = "12. ??? - ??? - Caf\xE9";

std::wstring receivedWide;
std::string receivedNarrow;

LRESULT CALLBACK wideProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SETTEXT && lParam != 0) receivedWide = (const wchar_t*)lParam;
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK narrowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SETTEXT && lParam != 0) receivedNarrow = (const char*)lParam;
  return DefWindowProcA(window, message, wParam, lParam);
}

// Subclassing procedures that forward through the form they were installed with.
WNDPROC forwardedTo;
template <bool unicode>
LRESULT CALLBACK forward(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return (unicode ? CallWindowProcW : CallWindowProcA)(forwardedTo, window, message, wParam,
                                                       lParam);
}

const char WIDE_CLASS[] = "Tunelore Wide Test", NARROW_CLASS[] = "Tunelore Narrow Test";

class WindowTextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    receivedWide.clear();
    receivedNarrow.clear();
    ASSERT_TRUE(modelplayer::registerClass(WIDE_CLASS, wideProcedure, true));
    ASSERT_TRUE(modelplayer::registerClass(NARROW_CLASS, narrowProcedure, false));
    wide = modelplayer::createWindow(WIDE_CLASS, "", true);
    narrow = modelplayer::createWindow(NARROW_CLASS, "", false);
    ASSERT_NE(wide, nullptr);
    ASSERT_NE(narrow, nullptr);
  }
  void TearDown() override {
    for (HWND window : {wide, narrow}) DestroyWindow(window);
    for (const char* name : {WIDE_CLASS, NARROW_CLASS})
      UnregisterClassA(name, GetModuleHandleA(nullptr));
  }
  static std::wstring textOf(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
  }
  HWND wide = nullptr;
  HWND narrow = nullptr;
};

TEST_F(WindowTextTest, UnicodeWindowKeepsEveryScript) {
  EXPECT_TRUE(IsWindowUnicode(wide));
  EXPECT_FALSE(IsWindowUnicode(narrow));
  ASSERT_TRUE(SetWindowTextW(wide, MIXED_TEXT));
  EXPECT_EQ(receivedWide, MIXED_TEXT);
  EXPECT_EQ(textOf(wide), MIXED_TEXT);
  char ansi[256] = {};
  GetWindowTextA(wide, ansi, 256);
  EXPECT_STREQ(ansi, MIXED_TEXT_AS_ANSI);
}

TEST_F(WindowTextTest, SubclassingThroughTheAnsiFormsTurnsTheWindowAnsiUntilRestored) {
  WNDPROC own = (WNDPROC)GetWindowLongPtrW(wide, GWLP_WNDPROC);
  EXPECT_EQ(own, wideProcedure);
  // Read through the other form, the procedure is a handle only the system understands.
  forwardedTo = (WNDPROC)GetWindowLongPtrA(wide, GWLP_WNDPROC);
  EXPECT_NE(forwardedTo, wideProcedure);
  EXPECT_EQ(SetWindowLongPtrA(wide, GWLP_WNDPROC, (LONG_PTR)forward<false>), (LONG_PTR)forwardedTo);
  EXPECT_FALSE(IsWindowUnicode(wide));

  ASSERT_TRUE(SetWindowTextW(wide, MIXED_TEXT));
  EXPECT_EQ(receivedWide, MIXED_TEXT_THROUGH_ANSI) << "CallWindowProcA converts back";
  EXPECT_EQ(textOf(wide), MIXED_TEXT_THROUGH_ANSI);

  SetWindowLongPtrA(wide, GWLP_WNDPROC, (LONG_PTR)forwardedTo);
  EXPECT_TRUE(IsWindowUnicode(wide)) << "the handle brings its character set back";
  EXPECT_EQ(GetWindowLongPtrW(wide, GWLP_WNDPROC), (LONG_PTR)wideProcedure);
  ASSERT_TRUE(SetWindowTextW(wide, MIXED_TEXT));
  EXPECT_EQ(textOf(wide), MIXED_TEXT);
}

TEST_F(WindowTextTest, SubclassingThroughTheUnicodeFormsKeepsTheText) {
  forwardedTo = (WNDPROC)GetWindowLongPtrW(wide, GWLP_WNDPROC);
  SetWindowLongPtrW(wide, GWLP_WNDPROC, (LONG_PTR)forward<true>);
  EXPECT_TRUE(IsWindowUnicode(wide));
  ASSERT_TRUE(SetWindowTextW(wide, MIXED_TEXT));
  EXPECT_EQ(receivedWide, MIXED_TEXT);
  EXPECT_EQ(textOf(wide), MIXED_TEXT);
  SetWindowLongPtrW(wide, GWLP_WNDPROC, (LONG_PTR)forwardedTo);
  EXPECT_EQ(GetWindowLongPtrW(wide, GWLP_WNDPROC), (LONG_PTR)wideProcedure);
}

TEST_F(WindowTextTest, AnsiWindowSubclassedThroughTheUnicodeFormsGetsAnsiText) {
  forwardedTo = (WNDPROC)GetWindowLongPtrW(narrow, GWLP_WNDPROC);
  SetWindowLongPtrW(narrow, GWLP_WNDPROC, (LONG_PTR)forward<true>);
  EXPECT_TRUE(IsWindowUnicode(narrow));
  ASSERT_TRUE(SetWindowTextW(narrow, MIXED_TEXT));
  EXPECT_EQ(receivedNarrow, MIXED_TEXT_AS_ANSI) << "CallWindowProcW converts for the A procedure";
  SetWindowLongPtrW(narrow, GWLP_WNDPROC, (LONG_PTR)forwardedTo);
  EXPECT_FALSE(IsWindowUnicode(narrow));
  EXPECT_EQ(GetWindowLongPtrA(narrow, GWLP_WNDPROC), (LONG_PTR)narrowProcedure);
}

// The player reads tags in Unicode and hands their texts out in the ANSI code page: what
// code page 1252 has is kept (its 0x80-0x9F row included), anything else becomes "?".
TEST(AnsiTextTest, WideCharToMultiByteKeepsCodePage1252AndMarksTheRest) {
  const std::pair<const wchar_t*, const char*> cases[] = {
      {L"Caf\u00E9 Bj\u00F6rk D\u00E9but",
       "Caf\xE9 Bj\xF6rk D\xE9"
       "but"},
      {L"\u20AC \u2019 \u0160 \u0178", "\x80 \x92 \x8A \x9F"},
      {MIXED_TEXT, MIXED_TEXT_AS_ANSI},
      {L"Caf\u00E9 \u2615", "Caf\xE9 ?"},
      {L"", ""},
  };
  for (const auto& [wide, ansi] : cases) {
    int needed = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    EXPECT_EQ(needed, (int)strlen(ansi) + 1) << ansi;
    std::string text(64, 'x');
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, wide, -1, &text[0], 64, nullptr, nullptr), needed);
    EXPECT_STREQ(text.c_str(), ansi);
  }
}

// Addresses are widened through the code page on their way to the browser component. A
// buffer too small gets what fits, unterminated, and the answer 0 says so, both ways.
TEST(AnsiTextTest, ConversionsThroughTheCodePageFillWhatFits) {
  const char ANSI[] = "Caf\xE9 \x80 Bj\xF6rk";
  const wchar_t WIDE[] = L"Caf\u00E9 \u20AC Bj\u00F6rk";
  const int LENGTH = (int)strlen(ANSI) + 1;
  struct Case {
    int capacity;
    int answer;
    size_t filled;  // characters written from the start
  } cases[] = {{0, LENGTH, 0}, {5, 0, 5}, {LENGTH, LENGTH, (size_t)LENGTH}};
  for (const Case& each : cases) {
    SCOPED_TRACE(each.capacity);
    std::wstring wide(LENGTH + 2, L'#');
    SetLastError(0);
    EXPECT_EQ(
        MultiByteToWideChar(CP_ACP, 0, ANSI, -1, each.capacity ? &wide[0] : nullptr, each.capacity),
        each.answer);
    if (each.answer == 0) EXPECT_EQ(GetLastError(), (DWORD)ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(wide.substr(0, each.filled), std::wstring(WIDE, each.filled));
    EXPECT_EQ(wide[each.filled], L'#');
    std::string narrow(LENGTH + 2, '#');
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, WIDE, -1, each.capacity ? &narrow[0] : nullptr,
                                  each.capacity, nullptr, nullptr),
              each.answer);
    EXPECT_EQ(narrow.substr(0, each.filled), std::string(ANSI, each.filled));
    EXPECT_EQ(narrow[each.filled], '#');
  }
}

}  // namespace
