// Inside the menu module: the records behind HMENU, shared by the item
// functions and the pop-up tracking.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "Menu.h"

namespace menu {

struct MenuItem {
  UINT type = MFT_STRING;
  UINT state = 0;
  UINT id = 0;
  HMENU sub = nullptr;
  std::string text;
  ULONG_PTR data = 0;
  HBITMAP bitmap = nullptr;
  HBITMAP checked = nullptr;
  HBITMAP unchecked = nullptr;
};

struct Menu {
  bool popup = false;
  std::vector<MenuItem> items;
};

// Guards every menu record. Never held while a window procedure runs.
std::recursive_mutex& Lock();
Menu* Find(HMENU handle);
int IndexOf(const Menu* m, UINT item, UINT flags);
MenuItem* FindItem(HMENU handle, UINT item, UINT flags, Menu** owner);

}  // namespace menu

// The menu bar of a top-level window (window coordinates unless said).
namespace menu {

// Height the bar takes for a window of that size, its closing line included; 0 without a menu.
int BarHeight(HWND hwnd, int width, int height);
void PaintBar(HWND hwnd, HDC windowDc);
BOOL BarItemRect(HWND hwnd, int item, RECT* screen);
int BarItemAt(HWND hwnd, POINT screen);
// Opens the pop-up of the item under `screen` (or sends its command) and returns when it closes.
void TrackBar(HWND hwnd, POINT screen);
// The mouse moved over the non-client area at `screen`, or left it (null):
// the item under it becomes the hot one (ODS_HOTLIGHT on an owner-drawn item).
void HoverBar(HWND hwnd, const POINT* screen);

}  // namespace menu
