#include "ui/settings_dialog.h"

#include "settings/settings.h"
#include "ui/lyrics_menu.h"
#include "ui/resource_ids.h"

struct SwitchBox {
  int id;
  bool* value;
};

static const SwitchBox switchBoxes[] = {
    {IDC_DISABLE_PLUGIN, &bDisabledPlugin},
    {IDC_DISABLE_STARTUP, &bDisabledStartUp},
    {IDC_DISABLE_AUTOOPEN, &bDisabledAutoOpen},
};

static SaveSwitches saveOnOK;

void showSettingsDialog(HINSTANCE module, HWND owner, SaveSwitches save) {
  saveOnOK = save;
  DialogBoxParamA(module, MAKEINTRESOURCEA(IDD_SETTINGS), owner, settingsDialogProc, 0);
}

static void showSwitches(HWND dialog) {
  for (const SwitchBox& box : switchBoxes) {
    CheckDlgButton(dialog, box.id, *box.value ? BST_CHECKED : BST_UNCHECKED);
  }
}

static void storeSwitches(HWND dialog) {
  for (const SwitchBox& box : switchBoxes) {
    *box.value = IsDlgButtonChecked(dialog, box.id) == BST_CHECKED;
  }
}

// The account controls are never read: whatever is typed there is dropped on closing.
INT_PTR CALLBACK settingsDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) {
    // Returning FALSE keeps the platform from moving the focus to the first control.
    showSwitches(window);
  } else if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
    storeSwitches(window);
    showLyricsMenuItemState();
    if (saveOnOK != nullptr) saveOnOK();
    EndDialog(window, 0);
  } else if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
    EndDialog(window, 0);
  }
  return FALSE;
}
