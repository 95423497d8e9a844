// Menus: menu bars and pop-up menus with string, separator, owner-drawn and
// bitmap items, check marks, sub-menus, the window's system menu, and
// TrackPopupMenu with its own modal loop.
#pragma once

#include "Resource.h"
#include "WinUser.h"

#define MF_INSERT 0x00000000L
#define MF_CHANGE 0x00000080L
#define MF_APPEND 0x00000100L
#define MF_DELETE 0x00000200L
#define MF_REMOVE 0x00001000L
#define MF_STRING 0x00000000L
#define MF_ENABLED 0x00000000L
#define MF_GRAYED 0x00000001L
#define MF_DISABLED 0x00000002L
#define MF_UNCHECKED 0x00000000L
#define MF_CHECKED 0x00000008L
#define MF_USECHECKBITMAPS 0x00000200L
#define MF_BITMAP 0x00000004L
#define MF_OWNERDRAW 0x00000100L
#define MF_POPUP 0x00000010L
#define MF_MENUBARBREAK 0x00000020L
#define MF_MENUBREAK 0x00000040L
#define MF_UNHILITE 0x00000000L
#define MF_HILITE 0x00000080L
#define MF_DEFAULT 0x00001000L
#define MF_SYSMENU 0x00002000L
#define MF_HELP 0x00004000L
#define MF_RIGHTJUSTIFY 0x00004000L
#define MF_MOUSESELECT 0x00008000L
#define MF_SEPARATOR 0x00000800L

#define MFT_STRING MF_STRING
#define MFT_BITMAP MF_BITMAP
#define MFT_MENUBARBREAK MF_MENUBARBREAK
#define MFT_MENUBREAK MF_MENUBREAK
#define MFT_OWNERDRAW MF_OWNERDRAW
#define MFT_RADIOCHECK 0x00000200L
#define MFT_SEPARATOR MF_SEPARATOR
#define MFT_RIGHTORDER 0x00002000L
#define MFT_RIGHTJUSTIFY MF_RIGHTJUSTIFY

#define MFS_GRAYED 0x00000003L
#define MFS_DISABLED MFS_GRAYED
#define MFS_CHECKED MF_CHECKED
#define MFS_HILITE MF_HILITE
#define MFS_ENABLED MF_ENABLED
#define MFS_UNCHECKED MF_UNCHECKED
#define MFS_UNHILITE MF_UNHILITE
#define MFS_DEFAULT MF_DEFAULT

#define MIIM_STATE 0x00000001
#define MIIM_ID 0x00000002
#define MIIM_SUBMENU 0x00000004
#define MIIM_CHECKMARKS 0x00000008
#define MIIM_TYPE 0x00000010
#define MIIM_DATA 0x00000020
#define MIIM_STRING 0x00000040
#define MIIM_BITMAP 0x00000080
#define MIIM_FTYPE 0x00000100

#define TPM_LEFTBUTTON 0x0000L
#define TPM_RIGHTBUTTON 0x0002L
#define TPM_LEFTALIGN 0x0000L
#define TPM_CENTERALIGN 0x0004L
#define TPM_RIGHTALIGN 0x0008L
#define TPM_TOPALIGN 0x0000L
#define TPM_VCENTERALIGN 0x0010L
#define TPM_BOTTOMALIGN 0x0020L
#define TPM_NONOTIFY 0x0080L
#define TPM_RETURNCMD 0x0100L

#define MNC_IGNORE 0
#define MNC_CLOSE 1
#define MNC_EXECUTE 2
#define MNC_SELECT 3

#define ODS_HOTLIGHT 0x0040
#define ODS_INACTIVE 0x0080
#define ODS_NOACCEL 0x0100
#define ODS_NOFOCUSRECT 0x0200

#define MENU_CLASS "#32768"

struct MENUITEMINFOA {
  UINT cbSize;
  UINT fMask;
  UINT fType;
  UINT fState;
  UINT wID;
  HMENU hSubMenu;
  HBITMAP hbmpChecked;
  HBITMAP hbmpUnchecked;
  ULONG_PTR dwItemData;
  LPSTR dwTypeData;
  UINT cch;
  HBITMAP hbmpItem;
};
typedef MENUITEMINFOA MENUITEMINFO;
typedef MENUITEMINFOA* LPMENUITEMINFO;
typedef const MENUITEMINFOA* LPCMENUITEMINFO;

struct TPMPARAMS {
  UINT cbSize;
  RECT rcExclude;
};
typedef TPMPARAMS* LPTPMPARAMS;

PLATFORM_API HMENU CreateMenu();
PLATFORM_API HMENU CreatePopupMenu();
PLATFORM_API BOOL IsMenu(HMENU menu);
PLATFORM_API BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR idNewItem, LPCSTR newItem);
PLATFORM_API BOOL InsertMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR idNewItem, LPCSTR newItem);
PLATFORM_API BOOL ModifyMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR idNewItem, LPCSTR newItem);
PLATFORM_API BOOL RemoveMenu(HMENU menu, UINT position, UINT flags);
PLATFORM_API BOOL DeleteMenu(HMENU menu, UINT position, UINT flags);
PLATFORM_API BOOL InsertMenuItemA(HMENU menu, UINT item, BOOL byPosition, LPCMENUITEMINFO info);
PLATFORM_API BOOL GetMenuItemInfoA(HMENU menu, UINT item, BOOL byPosition, LPMENUITEMINFO info);
PLATFORM_API BOOL SetMenuItemInfoA(HMENU menu, UINT item, BOOL byPosition, LPCMENUITEMINFO info);
PLATFORM_API UINT GetMenuState(HMENU menu, UINT id, UINT flags);
PLATFORM_API HMENU GetSubMenu(HMENU menu, int pos);
PLATFORM_API DWORD CheckMenuItem(HMENU menu, UINT id, UINT check);
PLATFORM_API BOOL EnableMenuItem(HMENU menu, UINT id, UINT enable);
PLATFORM_API BOOL CheckMenuRadioItem(HMENU menu, UINT first, UINT last, UINT check, UINT flags);
PLATFORM_API BOOL SetMenuDefaultItem(HMENU menu, UINT item, UINT byPos);
PLATFORM_API UINT GetMenuDefaultItem(HMENU menu, UINT byPos, UINT flags);
PLATFORM_API HMENU GetSystemMenu(HWND hwnd, BOOL revert);
PLATFORM_API HMENU GetMenu(HWND hwnd);
PLATFORM_API BOOL SetMenu(HWND hwnd, HMENU menu);
PLATFORM_API BOOL DrawMenuBar(HWND hwnd);
PLATFORM_API BOOL GetMenuItemRect(HWND hwnd, HMENU menu, UINT item, LPRECT rc);
PLATFORM_API LONG GetMenuCheckMarkDimensions();
PLATFORM_API BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner, const RECT* rc);
PLATFORM_API BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, LPTPMPARAMS params);
PLATFORM_API BOOL EndMenu();
#define AppendMenu AppendMenuA
#define InsertMenu InsertMenuA
#define ModifyMenu ModifyMenuA
#define InsertMenuItem InsertMenuItemA
#define GetMenuItemInfo GetMenuItemInfoA
#define SetMenuItemInfo SetMenuItemInfoA

// The window of the pop-up menu that TrackPopupMenu shows now (null when none);
// the menu it shows, and the rectangle of item `pos` on the screen.
PLATFORM_API HWND PlatformActiveMenuWindow();
PLATFORM_API BOOL PlatformMenuItemScreenRect(HWND menuWindow, int pos, RECT* rc);

// The items of a menu resource (false when there is none by that name).
PLATFORM_API BOOL PlatformFindMenuTemplate(LPCSTR name, std::vector<MenuItemTemplate>* items);
