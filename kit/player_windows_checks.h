// Checks on the model player's two windows that the suite and the end-to-end test share.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "kit/model_player.h"

// Japanese and Cyrillic lie outside the ANSI code page, "é" inside it.
inline const wchar_t MIXED_TITLE[] =
    L"12. \u65E5\u672C\u8A9E - \u0416\u0443\u043A - Caf\u00E9 - Winamp";
// What an ANSI window keeps: the ANSI code page only.
inline const wchar_t ANSI_TITLE[] = L"12. Caf\u00E9 - Winamp";

// Each window's character set, and a title it can keep set through it in the Unicode form and
// read back: what the player's own procedure received, and what the window holds.
inline void expectCharacterSet(bool unicode) {
  const wchar_t* title = unicode ? MIXED_TITLE : ANSI_TITLE;
  for (HWND window : {modelplayer::mainWindow(), modelplayer::playlistWindow()}) {
    EXPECT_EQ(IsWindowUnicode(window) != FALSE, unicode);
    ASSERT_TRUE(SetWindowTextW(window, title));
    EXPECT_EQ(modelplayer::textReceived(window), title);
    wchar_t back[256] = {};
    GetWindowTextW(window, back, 256);
    EXPECT_EQ(std::wstring(back), title);
  }
}
