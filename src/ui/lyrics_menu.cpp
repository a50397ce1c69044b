#include "ui/lyrics_menu.h"

#include "settings/settings.h"
#include "winamp/player_requests.h"
#include "winamp/winamp.h"

// The player's answer when it has no command to give (its default) or cannot give one.
static const UINT LAST_UNUSABLE_COMMAND = 1;
static const UINT LAST_LOW_WORD_COMMAND = 0xFFFF;

static HMENU itemMenu;
static UINT itemCommand;  // 0 while there is no item

void addLyricsMenuItem() {
  HMENU menu = playerMainMenu();
  if (menu == nullptr) return;
  UINT command = registerMenuCommand();
  if (command <= LAST_UNUSABLE_COMMAND || command > LAST_LOW_WORD_COMMAND) return;
  char text[] = LYRICS_MENU_TEXT;
  MENUITEMINFOA item = {};
  item.cbSize = sizeof item;
  item.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_STRING;
  item.fType = MFT_STRING;
  item.fState = bDisabledPlugin ? MFS_GRAYED : MFS_ENABLED;
  item.wID = command;
  item.dwTypeData = text;
  // By command: the system finds Exit in whichever part of the menu holds it, and appends
  // at the end should the menu have none.
  if (!InsertMenuItemA(menu, WINAMP_EXIT, FALSE, &item)) return;
  itemMenu = menu;
  itemCommand = command;
}

void showLyricsMenuItemState() {
  if (itemCommand == 0) return;
  EnableMenuItem(itemMenu, itemCommand, MF_BYCOMMAND | (bDisabledPlugin ? MF_GRAYED : MF_ENABLED));
}

void removeLyricsMenuItem() {
  if (itemCommand == 0) return;
  DeleteMenu(itemMenu, itemCommand, MF_BYCOMMAND);
  itemMenu = nullptr;
  itemCommand = 0;
}

bool isLyricsMenuPick(UINT message, WPARAM wParam) {
  if (itemCommand == 0) return false;
  return (message == WM_COMMAND && LOWORD(wParam) == itemCommand) ||
         (message == WM_SYSCOMMAND && wParam == itemCommand);
}
