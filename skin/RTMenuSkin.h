// CRTMenuSkin: owner-drawn menu skinning of the skinned frame window.
//
// The skin loader (CRTSkin) fills the class-wide images once after reading the
// skin description and CRTSkin::EnableSkin sets the switch. The menu skinning
// is class-wide functions and data, not an object: PrepareMenu turns a menu's
// items owner-drawn, keeps their texts (an owner-drawn item has none of its
// own) and packs each item's sizes into its item data, which MeasureItem and
// DrawItem read back. The images are borrowed from the skin store, which
// outlives every window; a null image, or the switch off, leaves the drawn
// flat look in system colours.
//
// Item data of a prepared item: lowest byte the height (0 for a menu-bar
// item), second byte the widest shortcut text of its menu (at most 255), high
// 16 bits the widest text (a menu-bar item: its own text).
#pragma once

#include <cstdint>
#include <map>

#include "SkinImageSet.h"
#include "afxwin.h"

// One item while it is measured or drawn.
class CRTMenuItemInfo {
 public:
  virtual ~CRTMenuItemInfo() = default;
  MENUITEMINFO m_info{};  // type, state, id and sub-menu
  CString m_text;
  HIMAGELIST m_imageList = nullptr;  // a tool bar's image of the same command, if any
  int m_imageIndex = 0;
};

class CRTMenuSkin {
 public:
  static void SetMenuBarImages(CBitmap* const images[5], const int32_t modes[5]) {
    s_menuBar.Assign(images, modes);
  }
  static void SetMenuItemImages(CBitmap* const images[5], const int32_t modes[5]) {
    s_menuItem.Assign(images, modes);
  }
  static void SetSkinEnabled(int enabled) { s_skinEnabled = enabled; }

  static void SetWindowProperty(HWND hwnd, BOOL set);
  static BOOL HasWindowProperty(HWND hwnd);

  // Makes the menu's items owner-drawn and records their texts and sizes;
  // nothing happens when `active` is FALSE.
  static void PrepareMenu(CWnd* frame, HMENU menu, BOOL active, BOOL menuBar);
  static void MeasureItem(MEASUREITEMSTRUCT* mis);
  static BOOL DrawItem(DRAWITEMSTRUCT* dis, CWnd* wnd);
  static LRESULT OnMenuChar(HMENU menu, UINT character, UINT flags);
  static BOOL IsOwnerDrawnMenu(HMENU menu);

  static void SetCommandImage(UINT id, HIMAGELIST imageList, int imageIndex);
  static void SetOpenItemRect(const CRect& rect) { s_openItem = rect; }
  static CRect GetOpenItemRect() { return s_openItem; }

  // Heights of an item and of a separator for a text height.
  static void ItemHeights(int textHeight, int* itemHeight, int* separatorHeight);
  // The item data of a pop-up item; a shortcut wider than 255 counts as 255.
  static uint32_t PackItemData(int itemHeight, int shortcutWidth, int textWidth);
  // The recorded text of a command id or a sub-menu, "" when none.
  static CString TextOf(UINT id, HMENU subMenu);
  // Empties the maps and the open-item rectangle.
  static void Reset();

  struct MenuImage {
    HIMAGELIST imageList = nullptr;
    int index = 0;
  };

  static inline int s_skinEnabled = 0;
  static inline SkinImageSet s_menuBar;   // 0 Back (also the dialogs' menu-bar rows), 1 Normal, 2 Focus, 3 Down
  static inline SkinImageSet s_menuItem;  // 1 Normal (text area), 2 Focus (selection), 3 Slider (icon column)
  static inline std::map<UINT, CString> s_textById;
  static inline std::map<HMENU, CString> s_textBySubMenu;
  static inline std::map<UINT, MenuImage> s_imageById;
  static inline std::map<HMENU, MenuImage> s_imageBySubMenu;
  static inline CRect s_openItem;  // screen coordinates of the open menu-bar item

 private:
  static void LoadItem(HMENU menu, int position, CRTMenuItemInfo* item);
  // Returns whether a menu-bar item was drawn open.
  static bool DrawOneItem(CDC* dc, const CRect& rect, const CRTMenuItemInfo& item, UINT state, bool menuBar);
};
