// The menu bar of a top-level window: rows of items under the caption,
// wrapped when the window is too narrow, painted with the non-client area;
// a click opens the item's pop-up through the pop-up tracking.

#include <mutex>
#include <string>
#include <vector>

#include "MenuInternal.h"
#include "UiPlatform.h"
#include "WindowManager.h"

namespace {

const int kItemPadding = 8;  // on each side of an item's text

// The bar's state, in the window record's slot for the platform's data: the
// item whose pop-up is open and the item under the mouse (-1: none).
struct MenuBarPart : PlatformWindowPart {
  static constexpr const char* kKind = "menubar";
  int open = -1;
  int hot = -1;
};

MenuBarPart StateOf(HWND hwnd) {
  MenuBarPart* part = PlatformPartOf<MenuBarPart>(hwnd, false);
  std::lock_guard<std::recursive_mutex> g(menu::Lock());
  MenuBarPart copy;
  if (part) {
    copy.open = part->open;
    copy.hot = part->hot;
  }
  return copy;
}

// Returns whether the state changed.
template <typename F>
bool UpdateState(HWND hwnd, F change) {
  MenuBarPart* part = PlatformPartOf<MenuBarPart>(hwnd);
  if (!part) return false;
  std::lock_guard<std::recursive_mutex> g(menu::Lock());
  const int open = part->open, hot = part->hot;
  change(*part);
  return open != part->open || hot != part->hot;
}

void SetOpenItem(HWND hwnd, int item) {
  UpdateState(hwnd, [item](MenuBarPart& p) { p.open = item; });
}

std::vector<menu::MenuItem> ItemsOf(HMENU handle) {
  std::lock_guard<std::recursive_mutex> g(menu::Lock());
  menu::Menu* m = menu::Find(handle);
  return m ? m->items : std::vector<menu::MenuItem>{};
}

HFONT BarFont() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

// The band the bar may use, in window coordinates: below the caption,
// inside the frame, for a window `width` by `height`.
RECT BandOf(HWND hwnd, int width, int height) {
  DWORD style = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE)) & ~(WS_VSCROLL | WS_HSCROLL);
  DWORD exStyle = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_EXSTYLE)) & ~(WS_EX_CLIENTEDGE | WS_EX_STATICEDGE);
  return wm::DefaultClientRect(style, exStyle, RECT{0, 0, width, height});
}

// Item rectangles in window coordinates; `rowsBottom` gets the bottom of the
// last row (the bar's separating line lies below it).
std::vector<RECT> Layout(HWND hwnd, HMENU bar, const RECT& band, int* rowsBottom) {
  std::vector<menu::MenuItem> items = ItemsOf(bar);
  int rowHeight = GetSystemMetrics(SM_CYMENU);
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, BarFont());
  std::vector<RECT> rects;
  int x = band.left, top = band.top;
  for (const menu::MenuItem& it : items) {
    int w = 0;
    if (it.type & MFT_OWNERDRAW) {
      MEASUREITEMSTRUCT mis{};
      mis.CtlType = ODT_MENU;
      mis.itemID = it.id;
      mis.itemData = it.data;
      SendMessageA(hwnd, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
      w = static_cast<int>(mis.itemWidth);
    } else {
      RECT rc{0, 0, 0, 0};
      std::string text = it.text.substr(0, it.text.find('\t'));
      DrawTextA(dc, text.c_str(), -1, &rc, DT_CALCRECT | DT_SINGLELINE);
      w = rc.right - rc.left + 2 * kItemPadding;
    }
    bool breakHere = (it.type & (MFT_MENUBARBREAK | MFT_MENUBREAK)) != 0 || x + w > band.right;
    if (breakHere && x > band.left) {
      x = band.left;
      top += rowHeight;
    }
    rects.push_back(RECT{x, top, x + w, top + rowHeight});
    x += w;
  }
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  *rowsBottom = top + rowHeight;
  return rects;
}

bool WindowSize(HWND hwnd, int* width, int* height) {
  RECT r;
  if (!GetWindowRect(hwnd, &r)) return false;
  *width = r.right - r.left;
  *height = r.bottom - r.top;
  return true;
}

void DrawBarItem(HWND hwnd, HMENU bar, HDC dc, const menu::MenuItem& it, const RECT& rc, bool open, bool hot) {
  bool disabled = (it.state & (MF_GRAYED | MF_DISABLED)) != 0;
  if (it.type & MFT_OWNERDRAW) {
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_MENU;
    dis.itemID = it.id;
    dis.itemAction = ODA_DRAWENTIRE;
    // The bar opens with the mouse only, so its mnemonics stay hidden unless always shown.
    BOOL cues = FALSE;
    SystemParametersInfoA(SPI_GETKEYBOARDCUES, 0, &cues, 0);
    dis.itemState = (open ? ODS_SELECTED : 0) | (hot && !open ? ODS_HOTLIGHT : 0) | (disabled ? ODS_GRAYED | ODS_DISABLED : 0) |
                    (GetActiveWindow() != hwnd ? ODS_INACTIVE : 0) | (cues ? 0 : ODS_NOACCEL);
    dis.hwndItem = reinterpret_cast<HWND>(bar);
    dis.hDC = dc;
    dis.rcItem = rc;
    dis.itemData = it.data;
    SendMessageA(hwnd, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
    return;
  }
  RECT box = rc;
  FillRect(dc, &box, GetSysColorBrush(COLOR_MENU));
  if (open) DrawEdge(dc, &box, BDR_SUNKENOUTER, BF_RECT);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_MENUTEXT));
  std::string text = it.text.substr(0, it.text.find('\t'));
  if (open) OffsetRect(&box, 1, 1);
  DrawTextA(dc, text.c_str(), -1, &box, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
}

void RepaintBar(HWND hwnd) {
  HDC dc = GetWindowDC(hwnd);
  if (!dc) return;
  menu::PaintBar(hwnd, dc);
  ReleaseDC(hwnd, dc);
}

}  // namespace

namespace menu {

int BarHeight(HWND hwnd, int width, int height) {
  HMENU bar = GetMenu(hwnd);
  if (!bar) return 0;
  RECT band = BandOf(hwnd, width, height);
  int bottom = 0;
  Layout(hwnd, bar, band, &bottom);
  return bottom - band.top + 1;
}

void PaintBar(HWND hwnd, HDC windowDc) {
  HMENU bar = GetMenu(hwnd);
  int width, height;
  if (!bar || !WindowSize(hwnd, &width, &height)) return;
  RECT band = BandOf(hwnd, width, height);
  int bottom = 0;
  std::vector<RECT> rects = Layout(hwnd, bar, band, &bottom);
  RECT fill{band.left, band.top, band.right, bottom};
  FillRect(windowDc, &fill, GetSysColorBrush(COLOR_MENU));
  RECT line{band.left, bottom, band.right, bottom + 1};
  FillRect(windowDc, &line, GetSysColorBrush(COLOR_3DFACE));
  std::vector<MenuItem> items = ItemsOf(bar);
  const MenuBarPart state = StateOf(hwnd);
  HGDIOBJ old = SelectObject(windowDc, BarFont());
  for (size_t i = 0; i < items.size() && i < rects.size(); ++i) {
    const int n = static_cast<int>(i);
    DrawBarItem(hwnd, bar, windowDc, items[i], rects[i], n == state.open, n == state.hot);
  }
  SelectObject(windowDc, old);
}

BOOL BarItemRect(HWND hwnd, int item, RECT* screen) {
  HMENU bar = GetMenu(hwnd);
  RECT window;
  if (!bar || !screen || !GetWindowRect(hwnd, &window)) return FALSE;
  int bottom = 0;
  std::vector<RECT> rects =
      Layout(hwnd, bar, BandOf(hwnd, window.right - window.left, window.bottom - window.top), &bottom);
  if (item < 0 || static_cast<size_t>(item) >= rects.size()) return FALSE;
  *screen = rects[static_cast<size_t>(item)];
  OffsetRect(screen, window.left, window.top);
  return TRUE;
}

int BarItemAt(HWND hwnd, POINT screen) {
  int n = GetMenuItemCount(GetMenu(hwnd));
  for (int i = 0; i < n; ++i) {
    RECT rc;
    if (BarItemRect(hwnd, i, &rc) && PtInRect(&rc, screen)) return i;
  }
  return -1;
}

void HoverBar(HWND hwnd, const POINT* screen) {
  if ((GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD) || !GetMenu(hwnd)) return;
  const int item = screen ? BarItemAt(hwnd, *screen) : -1;
  if (item < 0 && !PlatformPartOf<MenuBarPart>(hwnd, false)) return;
  if (UpdateState(hwnd, [item](MenuBarPart& p) { p.hot = item; })) RepaintBar(hwnd);
}

void TrackBar(HWND hwnd, POINT screen) {
  HMENU bar = GetMenu(hwnd);
  int item = BarItemAt(hwnd, screen);
  std::vector<MenuItem> items = ItemsOf(bar);
  if (item < 0 || static_cast<size_t>(item) >= items.size()) return;
  const MenuItem it = items[static_cast<size_t>(item)];
  if (it.state & (MF_GRAYED | MF_DISABLED)) return;
  if (!it.sub) {
    PostMessageA(hwnd, WM_COMMAND, MAKEWPARAM(it.id, 0), 0);
    return;
  }
  RECT rc;
  if (!BarItemRect(hwnd, item, &rc)) return;
  SetOpenItem(hwnd, item);
  RepaintBar(hwnd);
  TrackPopupMenu(it.sub, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON, rc.left, rc.bottom, 0, hwnd, nullptr);
  SetOpenItem(hwnd, -1);
  if (IsWindow(hwnd)) RepaintBar(hwnd);
}

}  // namespace menu
