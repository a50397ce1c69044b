// Pop-up menus: items with a command, a text, a state and possibly a submenu, as user32
// keeps them. Lookups "by command" search submenus depth first, and an insertion whose
// command is not found appends at the end, as Wine's user32 does.
#include "model_state.h"

using winmodel::state;

namespace {

ModelMenu* liveMenu(HMENU handle) {
  for (const auto& menu : state().menus) {
    if (menu.get() == handle && menu->alive) return menu.get();
  }
  SetLastError(ERROR_INVALID_MENU_HANDLE);
  return nullptr;
}

struct Found {
  ModelMenu* menu = nullptr;
  size_t position = 0;
};

Found findByCommand(ModelMenu* menu, UINT id) {
  Found fallback;
  for (size_t i = 0; i < menu->items.size(); ++i) {
    const ModelMenuItem& item = menu->items[i];
    if ((item.type & MF_POPUP) != 0) {
      ModelMenu* sub = liveMenu(item.subMenu);
      Found inside = sub != nullptr ? findByCommand(sub, id) : Found();
      if (inside.menu != nullptr) return inside;
      if (item.id == id && fallback.menu == nullptr) fallback = {menu, i};
    } else if (item.id == id) {
      return {menu, i};
    }
  }
  return fallback;
}

// The item `item` names in `handle`, by command or by position; menu null when none.
Found findItem(HMENU handle, UINT item, UINT flags) {
  ModelMenu* menu = liveMenu(handle);
  if (menu == nullptr) return {};
  if ((flags & MF_BYPOSITION) == 0) return findByCommand(menu, item);
  return item < menu->items.size() ? Found{menu, item} : Found{};
}

}  // namespace

HMENU WINAPI CreatePopupMenu(void) {
  state().menus.push_back(std::make_unique<ModelMenu>());
  return state().menus.back().get();
}

// Destroys the submenus with it, as Windows does.
BOOL WINAPI DestroyMenu(HMENU handle) {
  ModelMenu* menu = liveMenu(handle);
  if (menu == nullptr) return FALSE;
  menu->alive = false;
  for (const ModelMenuItem& item : menu->items) {
    if ((item.type & MF_POPUP) != 0) DestroyMenu(item.subMenu);
  }
  menu->items.clear();
  return TRUE;
}

BOOL WINAPI IsMenu(HMENU handle) { return liveMenu(handle) != nullptr; }

BOOL WINAPI AppendMenuA(HMENU handle, UINT flags, UINT_PTR idOrSubMenu, LPCSTR text) {
  ModelMenu* menu = liveMenu(handle);
  if (menu == nullptr) return FALSE;
  ModelMenuItem item;
  item.type = flags & (MF_POPUP | MF_SEPARATOR);
  item.state = flags & (MF_GRAYED | MF_DISABLED);
  item.id = (UINT)idOrSubMenu;
  if ((flags & MF_POPUP) != 0) item.subMenu = (HMENU)idOrSubMenu;
  if ((flags & MF_SEPARATOR) == 0 && text != nullptr) item.text = text;
  menu->items.push_back(item);
  return TRUE;
}

// Items without a submenu only: nothing inserts one.
BOOL WINAPI InsertMenuItemA(HMENU handle, UINT item, BOOL byPosition, const MENUITEMINFOA* info) {
  if (info == nullptr || info->cbSize != sizeof(MENUITEMINFOA)) {
    SetLastError(87);  // ERROR_INVALID_PARAMETER
    return FALSE;
  }
  ModelMenuItem added;
  if ((info->fMask & MIIM_FTYPE) != 0) added.type = info->fType & MF_SEPARATOR;
  if ((info->fMask & MIIM_STATE) != 0) added.state = info->fState;
  if ((info->fMask & MIIM_ID) != 0) added.id = info->wID;
  if ((info->fMask & MIIM_STRING) != 0 && info->dwTypeData != nullptr) {
    added.text = info->dwTypeData;
  }
  Found at = findItem(handle, item, byPosition ? MF_BYPOSITION : MF_BYCOMMAND);
  if (at.menu == nullptr) {
    at.menu = liveMenu(handle);
    if (at.menu == nullptr) return FALSE;
    at.position = at.menu->items.size();
  }
  at.menu->items.insert(at.menu->items.begin() + (std::ptrdiff_t)at.position, added);
  return TRUE;
}

int WINAPI GetMenuItemCount(HMENU handle) {
  ModelMenu* menu = liveMenu(handle);
  return menu != nullptr ? (int)menu->items.size() : -1;
}

// A submenu's item has no command of its own here: -1, as Windows answers.
UINT WINAPI GetMenuItemID(HMENU handle, int position) {
  ModelMenu* menu = liveMenu(handle);
  if (menu == nullptr || position < 0 || (size_t)position >= menu->items.size()) return (UINT)-1;
  const ModelMenuItem& item = menu->items[(size_t)position];
  return (item.type & MF_POPUP) != 0 ? (UINT)-1 : item.id;
}

UINT WINAPI GetMenuState(HMENU handle, UINT item, UINT flags) {
  Found at = findItem(handle, item, flags);
  if (at.menu == nullptr) return (UINT)-1;
  const ModelMenuItem& found = at.menu->items[at.position];
  if ((found.type & MF_POPUP) != 0) {
    ModelMenu* sub = liveMenu(found.subMenu);
    UINT count = sub != nullptr ? (UINT)sub->items.size() : 0;
    return (count << 8) | ((found.state | found.type) & 0xFF);
  }
  return found.state | found.type;
}

int WINAPI GetMenuStringA(HMENU handle, UINT item, LPSTR text, int capacity, UINT flags) {
  Found at = findItem(handle, item, flags);
  if (at.menu == nullptr) return 0;
  const std::string& found = at.menu->items[at.position].text;
  if (text == nullptr) return (int)found.size();
  if (capacity <= 0) return 0;
  lstrcpynA(text, found.c_str(), capacity);
  return (int)strlen(text);
}

// Returns the earlier enabled/greyed/disabled bits, or -1 when there is no such item.
UINT WINAPI EnableMenuItem(HMENU handle, UINT item, UINT enable) {
  Found at = findItem(handle, item, enable & MF_BYPOSITION);
  if (at.menu == nullptr) return (UINT)-1;
  ModelMenuItem& found = at.menu->items[at.position];
  UINT previous = found.state & (MF_GRAYED | MF_DISABLED);
  found.state =
      (found.state & ~(UINT)(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
  return previous;
}

BOOL WINAPI DeleteMenu(HMENU handle, UINT item, UINT flags) {
  Found at = findItem(handle, item, flags);
  if (at.menu == nullptr) {
    if (liveMenu(handle) != nullptr) SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
    return FALSE;
  }
  ModelMenuItem removed = at.menu->items[at.position];
  at.menu->items.erase(at.menu->items.begin() + (std::ptrdiff_t)at.position);
  if ((removed.type & MF_POPUP) != 0) DestroyMenu(removed.subMenu);
  return TRUE;
}
