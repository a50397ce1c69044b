// The settings dialog driven by a scripted user: ticks, typing, OK, Cancel, the close box.
#include <string>

#include "kit/player_test.h"
#include "settings/settings.h"
#include "ui/resource_ids.h"
#include "ui/settings_dialog.h"

namespace {

class SettingsDialogTest : public PlayerTest {
 protected:
  static void type(HWND dialog, int id, const char* text) { SetDlgItemTextA(dialog, id, text); }
  static void closeBox(HWND dialog) { SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }
  static std::string ticks(HWND dialog) {
    std::string seen;
    for (int id : {IDC_DISABLE_PLUGIN, IDC_DISABLE_STARTUP, IDC_DISABLE_AUTOOPEN, IDC_AUTO_LOGIN}) {
      seen += IsDlgButtonChecked(dialog, id) == BST_CHECKED ? "1" : "0";
    }
    return seen;
  }
  static std::string text(HWND dialog, int id) {
    char buffer[256] = {};
    GetDlgItemTextA(dialog, id, buffer, sizeof buffer);
    return buffer;
  }
  // What the dialog shows when it opens, left with Cancel: the ticks, the user, the password.
  static std::string shown() {
    std::string seen;
    runSettingsDialog([&](HWND dialog) {
      seen = ticks(dialog) + "|" + text(dialog, IDC_USERNAME) + "|" + text(dialog, IDC_PASSWORD);
      clickButton(dialog, IDCANCEL);
    });
    return seen;
  }
};

TEST_F(SettingsDialogTest, OpensWithTheSwitchesTickedAndTheAccountEmpty) {
  bDisabledPlugin = true;
  bDisabledAutoOpen = true;
  EXPECT_EQ(shown(), "1010||");
}

TEST_F(SettingsDialogTest, OkStoresTheTicksRenamesAndWritesTheFile) {
  bDisabledStartUp = true;
  runSettingsDialog([&](HWND dialog) {
    clickButton(dialog, IDC_DISABLE_PLUGIN);
    clickButton(dialog, IDC_DISABLE_STARTUP);
    clickButton(dialog, IDC_DISABLE_AUTOOPEN);
    clickButton(dialog, IDC_DISABLE_AUTOOPEN);
    clickButton(dialog, IDOK);
  });
  EXPECT_EQ(switches(), "100");
  EXPECT_EQ(std::string(plugin.description), savedDescription());
  EXPECT_EQ(readSettingsFile(), saved(true, false, false));
}

TEST_F(SettingsDialogTest, OkWithoutChangesStillRewritesTheFile) {
  writeSettingsFile(section({{"bDisabledPlugin", "yes"}}));
  bDisabledAutoOpen = true;
  runSettingsDialog([&](HWND dialog) { clickButton(dialog, IDOK); });
  EXPECT_EQ(switches(), "001");
  EXPECT_EQ(std::string(plugin.description), savedDescription());
  EXPECT_EQ(readSettingsFile(), saved(false, false, true));
}

TEST_F(SettingsDialogTest, CancelAndTheCloseBoxChangeNothing) {
  for (bool useCloseBox : {false, true}) {
    char* before = plugin.description;
    bDisabledStartUp = true;
    runSettingsDialog([&](HWND dialog) {
      clickButton(dialog, IDC_DISABLE_PLUGIN);
      clickButton(dialog, IDC_DISABLE_STARTUP);
      if (useCloseBox) {
        closeBox(dialog);
      } else {
        clickButton(dialog, IDCANCEL);
      }
    });
    EXPECT_EQ(switches(), "010") << useCloseBox;
    EXPECT_EQ(plugin.description, before) << useCloseBox;
    EXPECT_EQ(readSettingsFile(), "") << useCloseBox;
  }
}

TEST_F(SettingsDialogTest, AccountFieldsAreNeverStored) {
  runSettingsDialog([&](HWND dialog) {
    type(dialog, IDC_USERNAME, "someone");
    type(dialog, IDC_PASSWORD, "secret");
    clickButton(dialog, IDC_AUTO_LOGIN);
    clickButton(dialog, IDOK);
  });
  std::string file = readSettingsFile();
  EXPECT_EQ(file.find("someone"), std::string::npos);
  EXPECT_EQ(file.find("secret"), std::string::npos);
  EXPECT_EQ(file, saved(false, false, false));
  EXPECT_EQ(shown(), "0000||");
}

TEST_F(SettingsDialogTest, ProcedureReturnsFalseForEveryMessage) {
  std::vector<INT_PTR> answers;
  runSettingsDialog([&](HWND dialog) {
    answers.push_back(settingsDialogProc(dialog, WM_COMMAND, 9999, 0));
    answers.push_back(settingsDialogProc(dialog, WM_USER + 5, 0, 0));
    answers.push_back(settingsDialogProc(dialog, WM_INITDIALOG, 0, 0));
    clickButton(dialog, IDCANCEL);
  });
  EXPECT_EQ(answers, (std::vector<INT_PTR>{FALSE, FALSE, FALSE}));
}

}  // namespace
