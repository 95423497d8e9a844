// Menus and their items, the system menu of a window and the menu of a
// top-level window; loaded menus are built from their resource tables.

#include "Menu.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "MenuInternal.h"
#include "WindowManager.h"

namespace menu {

std::recursive_mutex& Lock() {
  static auto* m = new std::recursive_mutex;
  return *m;
}

namespace {
struct Store {
  std::map<HMENU, std::unique_ptr<Menu>> menus;
  std::map<HWND, HMENU> systemMenus;
};
Store& S() {
  static auto* s = new Store;
  return *s;
}
}  // namespace

Menu* Find(HMENU handle) {
  auto it = S().menus.find(handle);
  return it == S().menus.end() ? nullptr : it->second.get();
}

int IndexOf(const Menu* m, UINT item, UINT flags) {
  if (flags & MF_BYPOSITION) return item < m->items.size() ? static_cast<int>(item) : -1;
  for (size_t i = 0; i < m->items.size(); ++i)
    if (!m->items[i].sub && m->items[i].id == item) return static_cast<int>(i);
  // Not here: a command may sit in a sub-menu.
  return -1;
}

// The item a command id names, looked for in sub-menus too.
MenuItem* FindItem(HMENU handle, UINT item, UINT flags, Menu** owner) {
  Menu* m = Find(handle);
  if (!m) return nullptr;
  int i = IndexOf(m, item, flags);
  if (i >= 0) {
    if (owner) *owner = m;
    return &m->items[static_cast<size_t>(i)];
  }
  if (flags & MF_BYPOSITION) return nullptr;
  for (MenuItem& it : m->items) {
    if (it.id == item && it.sub) {
      if (owner) *owner = m;
      return &it;
    }
    if (it.sub)
      if (MenuItem* found = FindItem(it.sub, item, flags, owner)) return found;
  }
  return nullptr;
}

}  // namespace menu

using menu::Find;
using menu::MenuItem;

namespace {

HMENU Make(bool popup) {
  auto m = std::make_unique<menu::Menu>();
  m->popup = popup;
  HMENU handle = reinterpret_cast<HMENU>(m.get());
  std::lock_guard<std::recursive_mutex> g(menu::Lock());
  menu::S().menus[handle] = std::move(m);
  return handle;
}

// An item from the flags of AppendMenu and its relatives.
MenuItem FromFlags(UINT flags, UINT_PTR id, LPCSTR newItem) {
  MenuItem it;
  if (flags & MF_SEPARATOR) it.type |= MFT_SEPARATOR;
  if (flags & MF_OWNERDRAW) {
    it.type |= MFT_OWNERDRAW;
    it.data = reinterpret_cast<ULONG_PTR>(newItem);
  } else if (flags & MF_BITMAP) {
    it.type |= MFT_BITMAP;
    it.bitmap = reinterpret_cast<HBITMAP>(const_cast<LPSTR>(newItem));
  } else if (!(flags & MF_SEPARATOR) && newItem) {
    it.text = newItem;
  }
  if (flags & MF_MENUBARBREAK) it.type |= MFT_MENUBARBREAK;
  if (flags & MF_MENUBREAK) it.type |= MFT_MENUBREAK;
  if (flags & MF_RIGHTJUSTIFY) it.type |= MFT_RIGHTJUSTIFY;
  it.state = flags & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_HILITE | MF_DEFAULT);
  if (flags & MF_POPUP) {
    it.sub = reinterpret_cast<HMENU>(id);
    it.id = static_cast<UINT>(id);
  } else {
    it.id = static_cast<UINT>(id);
  }
  return it;
}

void DestroyTree(HMENU handle) {
  menu::Menu* m = Find(handle);
  if (!m) return;
  std::vector<HMENU> subs;
  for (const MenuItem& it : m->items)
    if (it.sub) subs.push_back(it.sub);
  menu::S().menus.erase(handle);
  for (HMENU s : subs) DestroyTree(s);
}

BOOL InsertAt(HMENU handle, UINT position, UINT byFlags, const MenuItem& item) {
  std::lock_guard<std::recursive_mutex> g(menu::Lock());
  menu::Menu* m = Find(handle);
  if (!m) {
    SetLastError(1401);  // ERROR_INVALID_MENU_HANDLE
    return FALSE;
  }
  if (item.sub && !Find(item.sub)) {
    SetLastError(1401);
    return FALSE;
  }
  int at = static_cast<int>(position) == -1 ? -1 : menu::IndexOf(m, position, byFlags);
  if (at < 0) m->items.push_back(item);  // an unknown position appends, as the system does
  else m->items.insert(m->items.begin() + at, item);
  return TRUE;
}

void CopyText(const std::string& text, LPSTR out, int size) {
  if (!out || size <= 0) return;
  size_t n = std::min(text.size(), static_cast<size_t>(size) - 1);
  memcpy(out, text.data(), n);
  out[n] = 0;
}

}  // namespace

HMENU CreateMenu() { return Make(false); }
HMENU CreatePopupMenu() { return Make(true); }

BOOL IsMenu(HMENU handle) {
  std::lock_guard<std::recursive_mutex> g(menu::Lock());
  return Find(handle) != nullptr;
}

BOOL DestroyMenu(HMENU handle) {
  std::lock_guard<std::recursive_mutex> g(menu::Lock());
  if (!Find(handle)) return FALSE;
  DestroyTree(handle);
  auto& sys = menu::S().systemMenus;
  for (auto it = sys.begin(); it != sys.end();) it = it->second == handle ? sys.erase(it) : std::next(it);
  return TRUE;
}

HMENU LoadMenuA(HINSTANCE, LPCSTR name) {
  std::vector<MenuItemTemplate> items;
  if (!PlatformFindMenuTemplate(name, &items)) {
    SetLastError(1814);  // ERROR_RESOURCE_NAME_NOT_FOUND
    return nullptr;
  }
  HMENU m = CreateMenu();
  for (const MenuItemTemplate& t : items)
    AppendMenuA(m, t.id == 0 && t.text.empty() ? MF_SEPARATOR : MF_STRING, t.id, t.text.c_str());
  return m;
}

BOOL AppendMenuA(HMENU handle, UINT flags, UINT_PTR id, LPCSTR newItem) {
  return InsertAt(handle, static_cast<UINT>(-1), MF_BYPOSITION, FromFlags(flags, id, newItem));
}

BOOL InsertMenuA(HMENU handle, UINT position, UINT flags, UINT_PTR id, LPCSTR newItem) {
  return InsertAt(handle, position, flags & MF_BYPOSITION, FromFlags(flags, id, newItem));
}

BOOL ModifyMenuA(HMENU handle, UINT position, UINT flags, UINT_PTR id, LPCSTR newItem) {
  std::lock_guard<std::recursive_mutex> g(menu::Lock());
  MenuItem* it = menu::FindItem(handle, position, flags & MF_BYPOSITION, nullptr);
  if (!it) return FALSE;
  *it = FromFlags(flags, id, newItem);
  return TRUE;
}

BOOL RemoveMenu(HMENU handle, UINT position, UINT flags) {
  std::lock_guard<std::recursive_mutex> g(menu::Lock());
  menu::Menu* owner = nullptr;
  MenuItem* it = menu::FindItem(handle, position, flags & MF_BYPOSITION, &owner);
  if (!it) return FALSE;
  owner->items.erase(owner->items.begin() + (it - owner->items.data()));
  return TRUE;
}

BOOL DeleteMenu(HMENU handle, UINT position, UINT flags) {
  std::lock_guard<std::recursive_mutex> g(menu::Lock());
  menu::Menu* owner = nullptr;
  MenuItem* it = menu::FindItem(handle, position, flags & MF_BYPOSITION, &owner);
  if (!it) return FALSE;
  HMENU sub = it->sub;
  owner->items.erase(owner->items.begin() + (it - owner->items.data()));
  if (sub) DestroyTree(sub);
  return TRUE;
}

int GetMenuItemCount(HMENU handle) {
  std::lock_guard<std::recursive_mutex> g(menu::Lock());
  menu::Menu* m = Find(handle);
  return m ? static_cast<int>(m->items.size()) : -1;
}

UINT GetMenuItemID(HMENU handle, int pos) {
  std::lock_guard<std::recursive_mutex> g(menu::Lock());
  menu::Menu* m = Find(handle);
  if (!m || pos < 0 || static_cast<size_t>(pos) >= m->items.size()) return static_cast<UINT>(-1);
  const MenuItem& it = m->items[static_cast<size_t>(pos)];
  return it.sub ? static_cast<UINT>(-1) : it.id;
}

int GetMenuStringA(HMENU handle, UINT item, LPSTR text, int size, UINT flags) {
  std::lock_guard<std::recursive_mutex> g(menu::Lock());
  MenuItem* it = menu::FindItem(handle, item, flags & MF_BYPOSITION, nullptr);
  if (!it) return 0;
  if (!text || size <= 0) return static_cast<int>(it->text.size());
  CopyText(it->text, text, size);
  return static_cast<int>(strlen(text));
}

UINT GetMenuState(HMENU handle, UINT id, UINT flags) {
  std::lock_guard<std::recursive_mutex> g(menu::Lock());
  MenuItem* it = menu::FindItem(handle, id, flags & MF_BYPOSITION, nullptr);
  if (!it) return static_cast<UINT>(-1);
  UINT r = it->state | (it->type & (MFT_SEPARATOR | MFT_OWNERDRAW | MFT_BITMAP | MFT_MENUBARBREAK | MFT_MENUBREAK));
  if (it->sub) {
    menu::Menu* sub = Find(it->sub);
    r |= MF_POPUP | ((sub ? static_cast<UINT>(sub->items.size()) : 0u) << 8);
  }
  return r;
}

HMENU GetSubMenu(HMENU handle, int pos) {
  std::lock_guard<std::recursive_mutex> g(menu::Lock());
  menu::Menu* m = Find(handle);
  if (!m || pos < 0 || static_cast<size_t>(pos) >= m->items.size()) return nullptr;
  return m->items[static_cast<size_t>(pos)].sub;
}

BOOL GetMenuItemInfoA(HMENU handle, UINT item, BOOL byPosition, LPMENUITEMINFO info) {
  if (!info) return FALSE;
  std::lock_guard<std::recursive_mutex> g(menu::Lock());
  MenuItem* it = menu::FindItem(handle, item, byPosition ? MF_BYPOSITION : MF_BYCOMMAND, nullptr);
  if (!it) {
    SetLastError(1456);  // ERROR_MENU_ITEM_NOT_FOUND
    return FALSE;
  }
  if (info->fMask & (MIIM_TYPE | MIIM_FTYPE)) info->fType = it->type;
  if (info->fMask & MIIM_STATE) info->fState = it->state;
  if (info->fMask & MIIM_ID) info->wID = it->id;
  if (info->fMask & MIIM_SUBMENU) info->hSubMenu = it->sub;
  if (info->fMask & MIIM_CHECKMARKS) {
    info->hbmpChecked = it->checked;
    info->hbmpUnchecked = it->unchecked;
  }
  if (info->fMask & MIIM_DATA) info->dwItemData = it->data;
  if (info->fMask & MIIM_BITMAP) info->hbmpItem = it->bitmap;
  if (info->fMask & (MIIM_TYPE | MIIM_STRING)) {
    if ((info->fMask & MIIM_TYPE) && (it->type & (MFT_BITMAP | MFT_OWNERDRAW | MFT_SEPARATOR))) {
      // The old type field carries the bitmap or the owner's data instead of text.
      if (it->type & MFT_BITMAP) info->dwTypeData = reinterpret_cast<LPSTR>(it->bitmap);
      else if (it->type & MFT_OWNERDRAW) info->dwTypeData = reinterpret_cast<LPSTR>(it->data);
      info->cch = 0;
    } else {
      if (info->dwTypeData && info->cch > 0) CopyText(it->text, info->dwTypeData, static_cast<int>(info->cch));
      info->cch = static_cast<UINT>(it->text.size());
    }
  }
  return TRUE;
}

namespace {
void Apply(MenuItem* it, LPCMENUITEMINFO info) {
  if (info->fMask & MIIM_TYPE) {
    it->type = info->fType;
    if (info->fType & MFT_BITMAP) it->bitmap = reinterpret_cast<HBITMAP>(info->dwTypeData);
    else if (!(info->fType & (MFT_OWNERDRAW | MFT_SEPARATOR)))
      it->text = info->dwTypeData ? info->dwTypeData : "";
  }
  if (info->fMask & MIIM_FTYPE) it->type = info->fType;
  if (info->fMask & MIIM_STRING) it->text = info->dwTypeData ? info->dwTypeData : "";
  if (info->fMask & MIIM_STATE) it->state = info->fState;
  if (info->fMask & MIIM_ID) it->id = info->wID;
  if (info->fMask & MIIM_SUBMENU) it->sub = info->hSubMenu;
  if (info->fMask & MIIM_CHECKMARKS) {
    it->checked = info->hbmpChecked;
    it->unchecked = info->hbmpUnchecked;
  }
  if (info->fMask & MIIM_DATA) it->data = info->dwItemData;
  if (info->fMask & MIIM_BITMAP) it->bitmap = info->hbmpItem;
}
}  // namespace

BOOL SetMenuItemInfoA(HMENU handle, UINT item, BOOL byPosition, LPCMENUITEMINFO info) {
  if (!info) return FALSE;
  std::lock_guard<std::recursive_mutex> g(menu::Lock());
  MenuItem* it = menu::FindItem(handle, item, byPosition ? MF_BYPOSITION : MF_BYCOMMAND, nullptr);
  if (!it || ((info->fMask & MIIM_SUBMENU) && info->hSubMenu && !Find(info->hSubMenu))) return FALSE;
  Apply(it, info);
  return TRUE;
}

BOOL InsertMenuItemA(HMENU handle, UINT item, BOOL byPosition, LPCMENUITEMINFO info) {
  if (!info) return FALSE;
  MenuItem it;
  Apply(&it, info);
  return InsertAt(handle, item, byPosition ? MF_BYPOSITION : MF_BYCOMMAND, it);
}

DWORD CheckMenuItem(HMENU handle, UINT id, UINT check) {
  std::lock_guard<std::recursive_mutex> g(menu::Lock());
  MenuItem* it = menu::FindItem(handle, id, check & MF_BYPOSITION, nullptr);
  if (!it) return static_cast<DWORD>(-1);
  DWORD old = it->state & MF_CHECKED;
  it->state = (it->state & ~MF_CHECKED) | (check & MF_CHECKED);
  return old;
}

BOOL EnableMenuItem(HMENU handle, UINT id, UINT enable) {
  std::lock_guard<std::recursive_mutex> g(menu::Lock());
  MenuItem* it = menu::FindItem(handle, id, enable & MF_BYPOSITION, nullptr);
  if (!it) return -1;
  BOOL old = static_cast<BOOL>(it->state & (MF_GRAYED | MF_DISABLED));
  it->state = (it->state & ~(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
  return old;
}

BOOL CheckMenuRadioItem(HMENU handle, UINT first, UINT last, UINT check, UINT flags) {
  std::lock_guard<std::recursive_mutex> g(menu::Lock());
  menu::Menu* m = Find(handle);
  if (!m) return FALSE;
  bool byPos = flags & MF_BYPOSITION;
  bool found = false;
  for (size_t i = 0; i < m->items.size(); ++i) {
    MenuItem& it = m->items[i];
    UINT key = byPos ? static_cast<UINT>(i) : it.id;
    if (key < first || key > last) continue;
    if (key == check) {
      it.state |= MF_CHECKED;
      it.type |= MFT_RADIOCHECK;
      found = true;
    } else {
      it.state &= ~MF_CHECKED;
    }
  }
  return found;
}

BOOL SetMenuDefaultItem(HMENU handle, UINT item, UINT byPos) {
  std::lock_guard<std::recursive_mutex> g(menu::Lock());
  menu::Menu* m = Find(handle);
  if (!m) return FALSE;
  for (MenuItem& it : m->items) it.state &= ~MF_DEFAULT;
  if (item == static_cast<UINT>(-1)) return TRUE;
  int i = menu::IndexOf(m, item, byPos ? MF_BYPOSITION : MF_BYCOMMAND);
  if (i < 0) return FALSE;
  m->items[static_cast<size_t>(i)].state |= MF_DEFAULT;
  return TRUE;
}

UINT GetMenuDefaultItem(HMENU handle, UINT byPos, UINT) {
  std::lock_guard<std::recursive_mutex> g(menu::Lock());
  menu::Menu* m = Find(handle);
  if (!m) return static_cast<UINT>(-1);
  for (size_t i = 0; i < m->items.size(); ++i)
    if (m->items[i].state & MF_DEFAULT) return byPos ? static_cast<UINT>(i) : m->items[i].id;
  return static_cast<UINT>(-1);
}

HMENU GetSystemMenu(HWND hwnd, BOOL revert) {
  if (!IsWindow(hwnd)) return nullptr;
  {
    std::lock_guard<std::recursive_mutex> g(menu::Lock());
    auto it = menu::S().systemMenus.find(hwnd);
    if (it != menu::S().systemMenus.end() && Find(it->second)) {
      if (!revert) return it->second;
      DestroyTree(it->second);
      menu::S().systemMenus.erase(it);
      return nullptr;
    }
    if (revert) return nullptr;
  }
  HMENU m = CreatePopupMenu();
  AppendMenuA(m, MF_STRING, SC_RESTORE, "&Restore");
  AppendMenuA(m, MF_STRING, SC_MOVE, "&Move");
  AppendMenuA(m, MF_STRING, SC_SIZE, "&Size");
  AppendMenuA(m, MF_STRING, SC_MINIMIZE, "Mi&nimize");
  AppendMenuA(m, MF_STRING, SC_MAXIMIZE, "Ma&ximize");
  AppendMenuA(m, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(m, MF_STRING, SC_CLOSE, "&Close\tAlt+F4");
  SetMenuDefaultItem(m, SC_CLOSE, FALSE);
  std::lock_guard<std::recursive_mutex> g(menu::Lock());
  menu::S().systemMenus[hwnd] = m;
  return m;
}

// A top-level window keeps its menu where a child keeps its id, so the menu
// given to CreateWindowEx is the window's menu from the first WM_NCCALCSIZE.
HMENU GetMenu(HWND hwnd) {
  HMENU m;
  {
    wm::Guard g(wm::Lock());
    wm::Window* w = wm::Find(hwnd);
    if (!w || (w->style & WS_CHILD)) return nullptr;
    m = reinterpret_cast<HMENU>(w->id);
  }
  return IsMenu(m) ? m : nullptr;
}

BOOL SetMenu(HWND hwnd, HMENU handle) {
  if (handle && !IsMenu(handle)) return FALSE;
  {
    wm::Guard g(wm::Lock());
    wm::Window* w = wm::Find(hwnd);
    if (!w || (w->style & WS_CHILD)) return FALSE;
    w->id = reinterpret_cast<UINT_PTR>(handle);
  }
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  return TRUE;
}

BOOL DrawMenuBar(HWND hwnd) {
  if (!IsWindow(hwnd)) return FALSE;
  return RedrawWindow(hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

LONG GetMenuCheckMarkDimensions() {
  return MAKELONG(GetSystemMetrics(SM_CXMENUCHECK), GetSystemMetrics(SM_CYMENUCHECK));
}
