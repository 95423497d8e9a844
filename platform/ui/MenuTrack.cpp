// TrackPopupMenu: the pop-up menu windows, their measuring and drawing
// (owner-drawn items through WM_MEASUREITEM and WM_DRAWITEM), and the modal
// loop that follows the mouse and the keyboard until a choice or a cancel.

#include <algorithm>
#include <cctype>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "MenuInternal.h"
#include "Controls.h"  // the owner-draw states
#include "UiPlatform.h"
#include "WindowManager.h"

namespace {

const int kBorder = 3;
const int kCheckColumn = 18;
const int kTabGap = 16;

struct Level {
  HMENU menu = nullptr;
  HWND window = nullptr;
  std::vector<RECT> rects;  // item rectangles in the window's client area
  int accelAt = 0;          // where the accelerators' column starts, from an item's left
  int hot = -1;
};

struct Tracker {
  HWND owner = nullptr;
  UINT flags = 0;
  bool system = false;
  std::vector<Level> levels;
  bool done = false;
  UINT chosen = 0;
  bool noAccel = false;  // opened with the mouse: mnemonics hidden until a key is used
};

bool KeyboardCuesAlways() {
  BOOL cues = FALSE;
  SystemParametersInfoA(SPI_GETKEYBOARDCUES, 0, &cues, 0);
  return cues != FALSE;
}

thread_local Tracker* tActive = nullptr;

std::vector<menu::MenuItem> ItemsOf(HMENU handle) {
  std::lock_guard<std::recursive_mutex> g(menu::Lock());
  menu::Menu* m = menu::Find(handle);
  return m ? m->items : std::vector<menu::MenuItem>{};
}

bool Disabled(const menu::MenuItem& it) { return (it.state & (MF_GRAYED | MF_DISABLED)) != 0; }
bool Separator(const menu::MenuItem& it) { return (it.type & MFT_SEPARATOR) != 0; }

std::string Before(const std::string& s, char c) { return s.substr(0, s.find(c)); }
std::string After(const std::string& s, char c) {
  size_t p = s.find(c);
  return p == std::string::npos ? std::string() : s.substr(p + 1);
}

HFONT MenuFont() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

SIZE TextSize(HDC dc, const std::string& s) {
  RECT rc{0, 0, 0, 0};
  DrawTextA(dc, s.c_str(), -1, &rc, DT_CALCRECT | DT_SINGLELINE);
  return SIZE{rc.right - rc.left, rc.bottom - rc.top};
}

// Item rectangles: owner-drawn items are measured by the owner.
// Labels share one column and accelerators another after the widest label.
std::vector<RECT> Measure(Tracker* t, HMENU handle, SIZE* total, int* accelAt) {
  std::vector<menu::MenuItem> items = ItemsOf(handle);
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, MenuFont());
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  std::vector<SIZE> sizes;
  int width = 0, labels = 0, accels = 0;
  for (const menu::MenuItem& it : items) {
    SIZE sz{0, 0};
    if (it.type & MFT_OWNERDRAW) {
      MEASUREITEMSTRUCT mis{};
      mis.CtlType = ODT_MENU;
      mis.itemID = it.id;
      mis.itemData = it.data;
      mis.itemHeight = static_cast<UINT>(tm.tmHeight + 6);
      SendMessageA(t->owner, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
      sz = SIZE{static_cast<LONG>(mis.itemWidth), static_cast<LONG>(mis.itemHeight)};
    } else if (Separator(it)) {
      sz = SIZE{0, 8};
    } else {
      labels = std::max(labels, static_cast<int>(TextSize(dc, Before(it.text, '\t')).cx));
      accels = std::max(accels, static_cast<int>(TextSize(dc, After(it.text, '\t')).cx));
      sz.cy = std::max(tm.tmHeight + 6, static_cast<LONG>(GetSystemMetrics(SM_CYMENU)));
    }
    sizes.push_back(sz);
    width = std::max(width, static_cast<int>(sz.cx));
  }
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  *accelAt = kCheckColumn + labels + kTabGap;
  width = std::max(width, 2 * kCheckColumn + labels + (accels ? kTabGap + accels : 0));
  std::vector<RECT> rects;
  int y = kBorder;
  for (const SIZE& sz : sizes) {
    rects.push_back(RECT{kBorder, y, kBorder + width, y + sz.cy});
    y += sz.cy;
  }
  *total = SIZE{width + 2 * kBorder, y + kBorder};
  return rects;
}

Level* LevelOf(Tracker* t, HWND hwnd) {
  for (Level& l : t->levels)
    if (l.window == hwnd) return &l;
  return nullptr;
}

// A tick, or a dot for radio items, in the check column.
void DrawMark(HDC dc, const RECT& rc, bool radio, COLORREF color) {
  int cx = rc.left + kCheckColumn / 2, cy = (rc.top + rc.bottom) / 2;
  HPEN pen = CreatePen(PS_SOLID, 1, color);
  HBRUSH brush = CreateSolidBrush(color);
  HGDIOBJ oldPen = SelectObject(dc, pen);
  HGDIOBJ oldBrush = SelectObject(dc, brush);
  if (radio) {
    Ellipse(dc, cx - 3, cy - 3, cx + 3, cy + 3);
  } else {
    for (int k = 0; k < 3; ++k) {
      MoveToEx(dc, cx - 3, cy - 1 + k, nullptr);
      LineTo(dc, cx - 1, cy + 1 + k);
      LineTo(dc, cx + 4, cy - 4 + k);
    }
  }
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(brush);
  DeleteObject(pen);
}

void DrawItem(Tracker* t, const Level& level, HDC dc, int i, const menu::MenuItem& it, UINT action) {
  RECT rc = level.rects[static_cast<size_t>(i)];
  bool hot = level.hot == i;
  if (it.type & MFT_OWNERDRAW) {
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_MENU;
    dis.itemID = it.id;
    dis.itemAction = action;
    dis.itemState = (hot ? ODS_SELECTED : 0) | (Disabled(it) ? ODS_GRAYED | ODS_DISABLED : 0) |
                    ((it.state & MF_CHECKED) ? ODS_CHECKED : 0) | ((it.state & MF_DEFAULT) ? ODS_DEFAULT : 0) |
                    (t->noAccel ? ODS_NOACCEL : 0);
    dis.hwndItem = reinterpret_cast<HWND>(level.menu);
    dis.hDC = dc;
    dis.rcItem = rc;
    dis.itemData = it.data;
    SendMessageA(t->owner, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
    return;
  }
  FillRect(dc, &rc, GetSysColorBrush(hot && !Separator(it) ? COLOR_HIGHLIGHT : COLOR_MENU));
  if (Separator(it)) {
    RECT line{rc.left + 1, (rc.top + rc.bottom) / 2 - 1, rc.right - 1, (rc.top + rc.bottom) / 2 + 1};
    DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
    return;
  }
  SetBkMode(dc, TRANSPARENT);
  // Disabled items are embossed: a highlight one pixel down and right under
  // the shadow, except on the selection bar, where the shadow alone shows.
  bool embossed = Disabled(it) && !hot;
  COLORREF ink = GetSysColor(Disabled(it) ? (embossed ? COLOR_3DSHADOW : COLOR_GRAYTEXT)
                                          : hot ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
  auto drawLabel = [&](int dx, COLORREF color) {
    SetTextColor(dc, color);
    if (it.state & MF_CHECKED) {
      RECT mark = rc;
      OffsetRect(&mark, dx, dx);
      DrawMark(dc, mark, (it.type & MFT_RADIOCHECK) != 0, color);
    }
    RECT label{rc.left + kCheckColumn + dx, rc.top + dx, rc.right - kCheckColumn + dx, rc.bottom + dx};
    DrawTextA(dc, Before(it.text, '\t').c_str(), -1, &label, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    std::string accel = After(it.text, '\t');
    label.left = rc.left + level.accelAt + dx;
    if (!accel.empty()) DrawTextA(dc, accel.c_str(), -1, &label, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
  };
  if (embossed) drawLabel(1, GetSysColor(COLOR_3DHILIGHT));
  drawLabel(0, ink);
  if (it.sub) {
    // A small right-pointing triangle.
    int cx = rc.right - kCheckColumn / 2, cy = (rc.top + rc.bottom) / 2;
    HPEN pen = CreatePen(PS_SOLID, 1, GetTextColor(dc));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    for (int k = 0; k < 4; ++k) {
      MoveToEx(dc, cx - 2 + k, cy - 3 + k, nullptr);
      LineTo(dc, cx - 2 + k, cy + 4 - k);
    }
    SelectObject(dc, oldPen);
    DeleteObject(pen);
  }
}

void PaintLevel(Tracker* t, const Level& level, HDC dc) {
  RECT client;
  GetClientRect(level.window, &client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_MENU));
  DrawEdge(dc, &client, EDGE_RAISED, BF_RECT);
  HGDIOBJ old = SelectObject(dc, MenuFont());
  std::vector<menu::MenuItem> items = ItemsOf(level.menu);
  for (size_t i = 0; i < items.size() && i < level.rects.size(); ++i)
    DrawItem(t, level, dc, static_cast<int>(i), items[i], ODA_DRAWENTIRE);
  SelectObject(dc, old);
}

LRESULT CALLBACK MenuWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      if (tActive)
        if (Level* l = LevelOf(tActive, hwnd)) PaintLevel(tActive, *l, dc);
      EndPaint(hwnd, &ps);
      return 0;
    }
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

void RegisterMenuClass() {
  static std::once_flag once;
  std::call_once(once, [] {
    WNDCLASSA wc{};
    wc.style = CS_SAVEBITS | CS_DBLCLKS | CS_GLOBALCLASS;
    wc.lpfnWndProc = MenuWindowProc;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = MENU_CLASS;
    RegisterClassA(&wc);
  });
}

void OpenLevel(Tracker* t, HMENU handle, int index, POINT at, UINT align) {
  if (!(t->flags & TPM_NONOTIFY))
    SendMessageA(t->owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(handle), MAKELPARAM(index, t->system ? 1 : 0));
  Level level;
  level.menu = handle;
  SIZE size;
  level.rects = Measure(t, handle, &size, &level.accelAt);
  int x = at.x, y = at.y;
  if (align & TPM_CENTERALIGN) x -= size.cx / 2;
  else if (align & TPM_RIGHTALIGN) x -= size.cx;
  if (align & TPM_VCENTERALIGN) y -= size.cy / 2;
  else if (align & TPM_BOTTOMALIGN) y -= size.cy;
  // Kept on the screen.
  int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  x = std::max(0, std::min(x, sw - static_cast<int>(size.cx)));
  y = std::max(0, std::min(y, sh - static_cast<int>(size.cy)));
  level.window = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, MENU_CLASS, "", WS_POPUP, x, y,
                                 size.cx, size.cy, nullptr, nullptr, nullptr, nullptr);
  t->levels.push_back(level);
  if (level.window) ShowWindow(level.window, SW_SHOWNA);
}

void CloseLevelsAbove(Tracker* t, size_t keep) {
  while (t->levels.size() > keep) {
    if (t->levels.back().window) DestroyWindow(t->levels.back().window);
    t->levels.pop_back();
  }
}

void SetHot(Tracker* t, size_t li, int hot) {
  Level& l = t->levels[li];
  if (l.hot == hot) return;
  l.hot = hot;
  if (l.window) InvalidateRect(l.window, nullptr, TRUE);
  if (t->flags & TPM_NONOTIFY) return;
  std::vector<menu::MenuItem> items = ItemsOf(l.menu);
  if (hot >= 0 && static_cast<size_t>(hot) < items.size()) {
    const menu::MenuItem& it = items[static_cast<size_t>(hot)];
    UINT f = MF_HILITE | (it.sub ? MF_POPUP : 0) | (Disabled(it) ? MF_GRAYED : 0) | (t->system ? MF_SYSMENU : 0);
    UINT idOrPos = it.sub ? static_cast<UINT>(hot) : it.id;
    SendMessageA(t->owner, WM_MENUSELECT, MAKEWPARAM(idOrPos, f), reinterpret_cast<LPARAM>(l.menu));
  }
}

// Acts on item `i` of level `li`: a sub-menu opens, a command ends the loop.
void Activate(Tracker* t, size_t li, int i) {
  std::vector<menu::MenuItem> items = ItemsOf(t->levels[li].menu);
  if (i < 0 || static_cast<size_t>(i) >= items.size()) return;
  const menu::MenuItem& it = items[static_cast<size_t>(i)];
  if (Separator(it) || Disabled(it)) return;
  SetHot(t, li, i);
  if (it.sub) {
    CloseLevelsAbove(t, li + 1);
    RECT rc = t->levels[li].rects[static_cast<size_t>(i)];
    POINT at{rc.right, rc.top - kBorder};
    ClientToScreen(t->levels[li].window, &at);
    OpenLevel(t, it.sub, i, at, TPM_LEFTALIGN);
    return;
  }
  t->chosen = it.id;
  t->done = true;
}

bool Hit(Tracker* t, POINT screen, size_t* li, int* item) {
  for (size_t l = t->levels.size(); l-- > 0;) {
    Level& level = t->levels[l];
    RECT wr;
    if (!level.window || !GetWindowRect(level.window, &wr) || !PtInRect(&wr, screen)) continue;
    *li = l;
    *item = -1;
    POINT pt = screen;
    ScreenToClient(level.window, &pt);
    for (size_t i = 0; i < level.rects.size(); ++i)
      if (PtInRect(&level.rects[i], pt)) *item = static_cast<int>(i);
    return true;
  }
  return false;
}

// The arrow keys step over separators and greyed items, round the ends; with
// nothing selected yet, Down starts at the top and Up at the bottom.
int NextSelectable(const std::vector<menu::MenuItem>& items, int hot, int step) {
  int n = static_cast<int>(items.size());
  int from = hot >= 0 && hot < n ? hot : step > 0 ? -1 : n;
  for (int k = 1; k <= n; ++k) {
    int i = ((from + step * k) % n + n) % n;
    const menu::MenuItem& it = items[static_cast<size_t>(i)];
    if (!Separator(it) && !Disabled(it)) return i;
  }
  return -1;
}

void OnChar(Tracker* t, char ch) {
  size_t li = t->levels.size() - 1;
  std::vector<menu::MenuItem> items = ItemsOf(t->levels[li].menu);
  int match = -1, matches = 0;
  for (size_t i = 0; i < items.size(); ++i) {
    std::string text = Before(items[i].text, '\t');
    for (size_t p = 0; p + 1 < text.size(); ++p) {
      if (text[p] != '&') continue;
      if (text[p + 1] == '&') {
        ++p;  // a doubled ampersand is a literal one
        continue;
      }
      if (std::toupper(static_cast<unsigned char>(text[p + 1])) == std::toupper(static_cast<unsigned char>(ch))) {
        if (match < 0) match = static_cast<int>(i);
        ++matches;
      }
      break;
    }
  }
  if (matches == 1) {
    Activate(t, li, match);
    return;
  }
  if (matches > 1) {
    SetHot(t, li, match);
    return;
  }
  LRESULT r = SendMessageA(t->owner, WM_MENUCHAR, MAKEWPARAM(static_cast<unsigned char>(ch),
                                                              MF_POPUP | (t->system ? MF_SYSMENU : 0)),
                           reinterpret_cast<LPARAM>(t->levels[li].menu));
  switch (HIWORD(r)) {
    case MNC_EXECUTE: Activate(t, li, LOWORD(r)); break;
    case MNC_SELECT: SetHot(t, li, LOWORD(r)); break;
    case MNC_CLOSE: t->done = true; break;
    default: MessageBeep(0); break;
  }
}

void OnKey(Tracker* t, WPARAM vk) {
  size_t li = t->levels.size() - 1;
  Level& l = t->levels[li];
  std::vector<menu::MenuItem> items = ItemsOf(l.menu);
  switch (vk) {
    case VK_UP:
    case VK_DOWN: {
      int next = NextSelectable(items, l.hot, vk == VK_DOWN ? 1 : -1);
      if (next >= 0) SetHot(t, li, next);
      break;
    }
    case VK_RIGHT:
      if (l.hot >= 0 && static_cast<size_t>(l.hot) < items.size() && items[static_cast<size_t>(l.hot)].sub)
        Activate(t, li, l.hot);
      break;
    case VK_LEFT:
      if (li > 0) CloseLevelsAbove(t, li);
      break;
    case VK_ESCAPE:
      if (li > 0) CloseLevelsAbove(t, li);
      else t->done = true;
      break;
    case VK_RETURN:
      if (l.hot >= 0) Activate(t, li, l.hot);
      else t->done = true;
      break;
  }
}

// A command given straight to the menu window (a test answering the menu).
bool ChooseById(Tracker* t, UINT id) {
  for (size_t li = 0; li < t->levels.size(); ++li) {
    std::vector<menu::MenuItem> items = ItemsOf(t->levels[li].menu);
    for (size_t i = 0; i < items.size(); ++i)
      if (!items[i].sub && !Separator(items[i]) && items[i].id == id && !Disabled(items[i])) {
        t->chosen = id;
        t->done = true;
        return true;
      }
  }
  // Commands of sub-menus that are not open yet are found through the tree.
  std::lock_guard<std::recursive_mutex> g(menu::Lock());
  menu::MenuItem* it = menu::FindItem(t->levels[0].menu, id, MF_BYCOMMAND, nullptr);
  if (it && !it->sub && !Disabled(*it)) {
    t->chosen = id;
    t->done = true;
    return true;
  }
  return false;
}

bool Filter(Tracker* t, MSG* msg) {
  UINT m = msg->message;
  if (m == WM_COMMAND && LevelOf(t, msg->hwnd)) {
    if (!ChooseById(t, LOWORD(msg->wParam)) && LOWORD(msg->wParam) == IDCANCEL) t->done = true;
    return true;
  }
  if (m == WM_KEYDOWN || m == WM_SYSKEYDOWN) {
    if (t->noAccel) {
      t->noAccel = false;
      for (const Level& l : t->levels) InvalidateRect(l.window, nullptr, TRUE);
    }
    OnKey(t, msg->wParam);
    if (!t->done && msg->wParam != VK_ESCAPE) TranslateMessage(msg);
    return true;
  }
  if (m == WM_CHAR || m == WM_SYSCHAR) {
    if (msg->wParam >= 0x20 && msg->wParam < 0x7F) OnChar(t, static_cast<char>(msg->wParam));
    return true;
  }
  if (m == WM_KEYUP || m == WM_SYSKEYUP) return true;
  if (m >= WM_MOUSEFIRST && m <= WM_MOUSELAST) {
    POINT screen{GET_X_LPARAM(msg->lParam), GET_Y_LPARAM(msg->lParam)};
    ClientToScreen(msg->hwnd, &screen);
    size_t li = 0;
    int item = -1;
    bool inside = Hit(t, screen, &li, &item);
    if (m == WM_MOUSEMOVE) {
      if (inside && item >= 0) {
        SetHot(t, li, item);
        std::vector<menu::MenuItem> items = ItemsOf(t->levels[li].menu);
        if (items[static_cast<size_t>(item)].sub && t->levels.size() == li + 1) Activate(t, li, item);
        else if (!items[static_cast<size_t>(item)].sub) CloseLevelsAbove(t, li + 1);
      }
    } else if (m == WM_LBUTTONDOWN || m == WM_RBUTTONDOWN || m == WM_MBUTTONDOWN) {
      if (!inside) t->done = true;
    } else if (m == WM_LBUTTONUP || (m == WM_RBUTTONUP && (t->flags & TPM_RIGHTBUTTON))) {
      if (inside && item >= 0) Activate(t, li, item);
    }
    return true;
  }
  if (m >= WM_NCMOUSEMOVE && m <= WM_NCMBUTTONDBLCLK) {
    if (m != WM_NCMOUSEMOVE) t->done = true;
    return true;
  }
  return false;
}

}  // namespace

BOOL TrackPopupMenu(HMENU handle, UINT flags, int x, int y, int, HWND owner, const RECT*) {
  if (!IsMenu(handle) || !IsWindow(owner)) {
    SetLastError(IsMenu(handle) ? ERROR_INVALID_WINDOW_HANDLE : 1401);
    return FALSE;
  }
  if (tActive) return FALSE;  // one menu at a time per thread
  RegisterMenuClass();
  Tracker t;
  t.owner = owner;
  t.flags = flags;
  t.system = GetSystemMenu(owner, FALSE) == handle;
  t.noAccel = !wm::LastInputWasKey() && !KeyboardCuesAlways();
  tActive = &t;
  if (!(flags & TPM_NONOTIFY)) {
    SendMessageA(owner, WM_ENTERMENULOOP, TRUE, 0);
    SendMessageA(owner, WM_INITMENU, reinterpret_cast<WPARAM>(handle), 0);
  }
  OpenLevel(&t, handle, 0, POINT{x, y}, flags);
  if (t.levels.empty() || !t.levels[0].window) {
    CloseLevelsAbove(&t, 0);
    tActive = nullptr;
    return FALSE;
  }
  HWND first = t.levels[0].window;
  // Keys reach the menu through the focus window of this thread.
  if (!GetFocus()) SetFocus(owner);
  // Mouse input anywhere comes to the menu, so a click outside it cancels.
  HWND oldCapture = GetCapture();
  SetCapture(first);
  PlatformRunModalLoop(
      first, [&] { return t.done || !IsWindow(owner); }, [&](MSG* msg) { return Filter(&t, msg); });
  if (GetCapture() == first) ReleaseCapture();
  if (oldCapture && IsWindow(oldCapture)) SetCapture(oldCapture);
  CloseLevelsAbove(&t, 0);
  tActive = nullptr;
  if (!(flags & TPM_NONOTIFY) && IsWindow(owner)) {
    SendMessageA(owner, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    SendMessageA(owner, WM_EXITMENULOOP, TRUE, 0);
  }
  if (flags & TPM_RETURNCMD) return static_cast<BOOL>(t.chosen);
  if (t.chosen && IsWindow(owner)) {
    if (t.system) PostMessageA(owner, WM_SYSCOMMAND, t.chosen, 0);
    else PostMessageA(owner, WM_COMMAND, MAKEWPARAM(t.chosen, 0), 0);
  }
  return TRUE;
}

BOOL TrackPopupMenuEx(HMENU handle, UINT flags, int x, int y, HWND owner, LPTPMPARAMS) {
  return TrackPopupMenu(handle, flags, x, y, 0, owner, nullptr);
}

BOOL EndMenu() {
  if (!tActive) return FALSE;
  tActive->done = true;
  if (!tActive->levels.empty()) PostMessageA(tActive->levels[0].window, WM_NULL, 0, 0);
  return TRUE;
}

HWND PlatformActiveMenuWindow() {
  return tActive && !tActive->levels.empty() ? tActive->levels.back().window : nullptr;
}

BOOL PlatformMenuItemScreenRect(HWND menuWindow, int pos, RECT* rc) {
  if (!tActive || !rc) return FALSE;
  Level* l = LevelOf(tActive, menuWindow);
  if (!l || pos < 0 || static_cast<size_t>(pos) >= l->rects.size()) return FALSE;
  *rc = l->rects[static_cast<size_t>(pos)];
  MapWindowPoints(menuWindow, nullptr, reinterpret_cast<POINT*>(rc), 2);
  return TRUE;
}

BOOL GetMenuItemRect(HWND hwnd, HMENU handle, UINT item, LPRECT rc) {
  if (rc && hwnd && handle && GetMenu(hwnd) == handle) return menu::BarItemRect(hwnd, static_cast<int>(item), rc);
  if (!rc || !tActive) return FALSE;
  for (Level& l : tActive->levels)
    if (l.menu == handle && item < l.rects.size()) return PlatformMenuItemScreenRect(l.window, static_cast<int>(item), rc);
  return FALSE;
}
