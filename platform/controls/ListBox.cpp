// The list box control, also the drop-down list of the combo box.

#include <strings.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <vector>

#include "ControlUtil.h"
#include "ListBoxInternal.h"

namespace {

struct Item {
  std::string text;
  ULONG_PTR data = 0;
  bool selected = false;
  int height = 0;  // LBS_OWNERDRAWVARIABLE: as the owner measured it
};

struct ListState {
  std::vector<Item> items;
  int cur = -1;    // the selection of a single-selection list
  int caret = 0;   // the item with the focus rectangle
  int top = 0;
  int itemHeight = 13;
  int extent = 0;   // horizontal extent in pixels
  int hscroll = 0;  // pixels scrolled to the left
  bool focus = false;
  HWND combo = nullptr;  // the combo box this is the drop-down of
  DWORD bars = 0;        // WS_VSCROLL and WS_HSCROLL as created
  bool redraw = true;    // WM_SETREDRAW
};

// The most items a list takes (a test seam; 0: no limit).
std::atomic<int> capacity{0};

int Count(const ListState* s) { return static_cast<int>(s->items.size()); }
bool Valid(const ListState* s, INT_PTR i) { return i >= 0 && i < Count(s); }

DWORD StyleOf(HWND hwnd) { return ctl::Style(hwnd); }
bool OwnerDraw(HWND hwnd) { return (StyleOf(hwnd) & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) != 0; }
bool HasStrings(HWND hwnd) { return !OwnerDraw(hwnd) || (StyleOf(hwnd) & LBS_HASSTRINGS); }
bool Multi(HWND hwnd) { return (StyleOf(hwnd) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0; }

// The window that hears about this list: the combo box's parent for a
// drop-down, the creation parent otherwise.
HWND Owner(HWND hwnd, const ListState* s) { return s->combo ? ctl::NotifyTarget(s->combo) : ctl::NotifyTarget(hwnd); }
HWND Source(HWND hwnd, const ListState* s) { return s->combo ? s->combo : hwnd; }

void NotifyList(HWND hwnd, const ListState* s, UINT code) {
  if (s->combo) return;
  if (!(StyleOf(hwnd) & LBS_NOTIFY)) return;
  ctl::Notify(hwnd, code);
}

int HeightOf(const ListState* s, int i) {
  int h = Valid(s, i) && s->items[static_cast<size_t>(i)].height > 0 ? s->items[static_cast<size_t>(i)].height
                                                                       : s->itemHeight;
  return std::max(1, h);
}

int ClientHeight(HWND hwnd) {
  RECT rc;
  GetClientRect(hwnd, &rc);
  return rc.bottom;
}

// Whole rows that fit from the top row down (rows past the end count at the
// list's item height), at least one.
int Visible(HWND hwnd, const ListState* s) {
  int room = ClientHeight(hwnd), n = 0;
  for (int y = HeightOf(s, s->top); y <= room; y += HeightOf(s, s->top + n)) ++n;
  return std::max(1, n);
}

// The top row that shows the last rows with the fewest rows above them.
int MaxTop(HWND hwnd, const ListState* s) {
  int room = ClientHeight(hwnd), top = Count(s);
  for (int y = 0; top > 0 && y + HeightOf(s, top - 1) <= room;) y += HeightOf(s, --top);
  return std::max(0, std::min(top, Count(s) - 1));
}

void Redraw(HWND hwnd, const ListState* s) {
  if (s->redraw) InvalidateRect(hwnd, nullptr, TRUE);
}

// The bars come and go with the rows, but only those the list was created
// with: WS_VSCROLL and WS_HSCROLL in the style change as they do.
void UpdateBars(HWND hwnd, ListState* s) {
  if (!s->redraw) return;
  UINT keep = (StyleOf(hwnd) & LBS_DISABLENOSCROLL) ? SIF_DISABLENOSCROLL : 0;
  if (s->bars & WS_VSCROLL) {
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS | keep, 0, std::max(0, Count(s) - 1),
                  static_cast<UINT>(Visible(hwnd, s)), s->top, 0};
    SetScrollInfo(hwnd, SB_VERT, &si, TRUE);
  }
  if (s->bars & WS_HSCROLL) {
    RECT rc;
    GetClientRect(hwnd, &rc);
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS | keep, 0, std::max(0, s->extent - 1),
                  static_cast<UINT>(rc.right), s->hscroll, 0};
    SetScrollInfo(hwnd, SB_HORZ, &si, TRUE);
  }
}

void SetTop(HWND hwnd, ListState* s, int top) {
  top = std::max(0, std::min(top, MaxTop(hwnd, s)));
  if (top != s->top) {
    s->top = top;
    Redraw(hwnd, s);
  }
  UpdateBars(hwnd, s);
}

void ShowItem(HWND hwnd, ListState* s, int i) {
  if (!Valid(s, i)) return;
  if (i < s->top) SetTop(hwnd, s, i);
  else if (i >= s->top + Visible(hwnd, s)) SetTop(hwnd, s, i - Visible(hwnd, s) + 1);
}

RECT ItemRect(HWND hwnd, const ListState* s, int i) {
  RECT rc;
  GetClientRect(hwnd, &rc);
  int y = 0;
  for (int k = s->top; k < i; ++k) y += HeightOf(s, k);
  for (int k = i; k < s->top; ++k) y -= HeightOf(s, k);
  return RECT{-s->hscroll, y, std::max<int>(rc.right, s->extent) - s->hscroll, y + HeightOf(s, i)};
}

int ItemAt(HWND hwnd, const ListState* s, POINT pt) {
  if (pt.y < 0) return -1;
  (void)hwnd;
  int i = s->top;
  for (int y = HeightOf(s, i); y <= pt.y; y += HeightOf(s, i)) ++i;
  return Valid(s, i) ? i : -1;
}

void DeleteItemNotice(HWND hwnd, const ListState* s, int i) {
  if (!OwnerDraw(hwnd)) return;
  HWND src = Source(hwnd, s);
  DELETEITEMSTRUCT d{static_cast<UINT>(s->combo ? ODT_COMBOBOX : ODT_LISTBOX), static_cast<UINT>(GetDlgCtrlID(src)),
                     static_cast<UINT>(i), src, s->items[static_cast<size_t>(i)].data};
  SendMessageA(Owner(hwnd, s), WM_DELETEITEM, d.CtlID, reinterpret_cast<LPARAM>(&d));
}

// The owner's height for item `i` (-1 for the list's fixed height).
int Measure(HWND hwnd, const ListState* s, int i, ULONG_PTR data) {
  HWND src = Source(hwnd, s);
  MEASUREITEMSTRUCT mis{static_cast<UINT>(s->combo ? ODT_COMBOBOX : ODT_LISTBOX), static_cast<UINT>(GetDlgCtrlID(src)),
                        static_cast<UINT>(i), 0, static_cast<UINT>(s->itemHeight), data};
  SendMessageA(Owner(hwnd, s), WM_MEASUREITEM, mis.CtlID, reinterpret_cast<LPARAM>(&mis));
  return static_cast<int>(mis.itemHeight);
}

int Insert(HWND hwnd, ListState* s, int at, LPARAM lParam, bool sorted) {
  if (capacity > 0 && Count(s) >= capacity) {
    if (!s->combo) ctl::Notify(hwnd, LBN_ERRSPACE);
    return LB_ERRSPACE;
  }
  Item item;
  if (HasStrings(hwnd))
    item.text = lParam ? reinterpret_cast<LPCSTR>(lParam) : "";
  else
    item.data = static_cast<ULONG_PTR>(lParam);
  if (sorted && HasStrings(hwnd)) {
    at = 0;
    while (at < Count(s) && strcasecmp(s->items[static_cast<size_t>(at)].text.c_str(), item.text.c_str()) <= 0) ++at;
  } else if (at < 0 || at > Count(s)) {
    at = Count(s);
  }
  s->items.insert(s->items.begin() + at, item);
  if (s->cur >= at) ++s->cur;
  if (StyleOf(hwnd) & LBS_OWNERDRAWVARIABLE) {
    s->items[static_cast<size_t>(at)].height = Measure(hwnd, s, at, item.data);
    s = ctl::StateOf<ListState>(hwnd);
    if (!s) return LB_ERR;
  }
  UpdateBars(hwnd, s);
  Redraw(hwnd, s);
  return at;
}

int Find(HWND hwnd, const ListState* s, INT_PTR start, LPARAM lParam, bool exact) {
  int n = Count(s);
  if (n == 0) return LB_ERR;
  int from = Valid(s, start) ? static_cast<int>(start) + 1 : 0;
  for (int k = 0; k < n; ++k) {
    const Item& item = s->items[static_cast<size_t>((from + k) % n)];
    bool match;
    if (!HasStrings(hwnd)) {
      match = item.data == static_cast<ULONG_PTR>(lParam);
    } else {
      const char* want = lParam ? reinterpret_cast<LPCSTR>(lParam) : "";
      match = exact ? strcasecmp(item.text.c_str(), want) == 0 : strncasecmp(item.text.c_str(), want, strlen(want)) == 0;
    }
    if (match) return (from + k) % n;
  }
  return LB_ERR;
}

bool Drawn(HWND hwnd, const ListState* s) {
  return OwnerDraw(hwnd) || (s->combo && (ctl::Style(s->combo) & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)));
}

// The owner draws item `i` (-1: the focus of an empty list) for `action`.
void SendDrawItem(HWND hwnd, const ListState* s, HDC hdc, int i, UINT action) {
  HWND src = Source(hwnd, s);
  bool item = Valid(s, i);
  bool selected = item && (Multi(hwnd) ? s->items[static_cast<size_t>(i)].selected : i == s->cur);
  bool focused = s->focus && (item ? i == s->caret : Count(s) == 0);
  UINT state = (selected ? ODS_SELECTED : 0) | (focused ? ODS_FOCUS : 0) | (IsWindowEnabled(src) ? 0 : ODS_DISABLED);
  DRAWITEMSTRUCT dis{static_cast<UINT>(s->combo ? ODT_COMBOBOX : ODT_LISTBOX), static_cast<UINT>(GetDlgCtrlID(src)),
                     static_cast<UINT>(i), action, state, src, hdc, ItemRect(hwnd, s, item ? i : s->top),
                     item ? s->items[static_cast<size_t>(i)].data : 0};
  SendMessageA(Owner(hwnd, s), WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
}

// When only the selection or the focus of an item changed, an owner-drawn
// list asks for just that change, at once; other lists repaint.
void RedrawItem(HWND hwnd, ListState* s, int i, UINT action) {
  if (!Drawn(hwnd, s)) return Redraw(hwnd, s);
  bool emptyFocus = i == -1 && action == ODA_FOCUS && Count(s) == 0;
  if (!s->redraw || !IsWindowVisible(hwnd) || (!emptyFocus && (!Valid(s, i) || i < s->top ||
                                                              i > s->top + Visible(hwnd, s))))
    return;
  HDC hdc = GetDC(hwnd);
  SendDrawItem(hwnd, s, hdc, i, action);
  ReleaseDC(hwnd, hdc);
}

void MoveCaret(HWND hwnd, ListState* s, int i) {
  if (s->caret == i) return;
  int old = s->caret;
  s->caret = i;
  if (s->focus) {
    RedrawItem(hwnd, s, old, ODA_FOCUS);
    RedrawItem(hwnd, s, i, ODA_FOCUS);
  }
}

// Selection by the program: no notification.
void SetCur(HWND hwnd, ListState* s, int i) {
  if (s->cur != i) {
    int old = s->cur;
    s->cur = i;
    RedrawItem(hwnd, s, old, ODA_SELECT);
    RedrawItem(hwnd, s, i, ODA_SELECT);
  }
  if (Valid(s, i)) {
    MoveCaret(hwnd, s, i);
    ShowItem(hwnd, s, i);
  }
}

// Selection by the user: the owner hears of it.
void UserSelect(HWND hwnd, ListState* s, int i) {
  if (!Valid(s, i)) return;
  if (Multi(hwnd)) {
    s->items[static_cast<size_t>(i)].selected = !s->items[static_cast<size_t>(i)].selected;
    RedrawItem(hwnd, s, i, ODA_SELECT);
    MoveCaret(hwnd, s, i);
    NotifyList(hwnd, s, LBN_SELCHANGE);
    return;
  }
  bool changed = s->cur != i;
  SetCur(hwnd, s, i);
  if (changed) NotifyList(hwnd, s, LBN_SELCHANGE);
}

void PaintList(HWND hwnd, HDC hdc, ListState* s) {
  RECT rc;
  GetClientRect(hwnd, &rc);
  HBRUSH brush = ctl::ParentBrush(s->combo ? s->combo : hwnd, hdc, WM_CTLCOLORLISTBOX);
  ctl::FillUnlessHollow(hdc, rc, brush);
  HWND src = Source(hwnd, s);
  bool owner = Drawn(hwnd, s);
  if (owner && Count(s) == 0 && s->focus) SendDrawItem(hwnd, s, hdc, -1, ODA_FOCUS);
  int last = std::min(Count(s), s->top + Visible(hwnd, s) + 1);
  SetBkMode(hdc, TRANSPARENT);
  COLORREF text = GetTextColor(hdc);
  for (int i = s->top; i < last; ++i) {
    const Item& item = s->items[static_cast<size_t>(i)];
    RECT ir = ItemRect(hwnd, s, i);
    bool selected = Multi(hwnd) ? item.selected : i == s->cur;
    bool focused = s->focus && i == s->caret;
    if (owner) {
      SendDrawItem(hwnd, s, hdc, i, ODA_DRAWENTIRE);
      continue;
    }
    if (selected) {
      FillRect(hdc, &ir, GetSysColorBrush(COLOR_HIGHLIGHT));
      SetTextColor(hdc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    } else {
      SetTextColor(hdc, IsWindowEnabled(src) ? text : GetSysColor(COLOR_GRAYTEXT));
    }
    RECT tr = ir;
    tr.left += 2;
    DrawTextA(hdc, item.text.c_str(), -1, &tr, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_EXPANDTABS);
    if (focused) DrawFocusRect(hdc, &ir);
  }
}

LRESULT CopyText(const ListState* s, HWND hwnd, WPARAM i, LPARAM buffer) {
  if (!Valid(s, static_cast<INT_PTR>(i))) return LB_ERR;
  const Item& item = s->items[i];
  if (!HasStrings(hwnd)) {
    if (buffer) memcpy(reinterpret_cast<void*>(buffer), &item.data, sizeof item.data);
    return sizeof item.data;
  }
  if (buffer) memcpy(reinterpret_cast<char*>(buffer), item.text.c_str(), item.text.size() + 1);
  return static_cast<LRESULT>(item.text.size());
}

void Scroll(HWND hwnd, ListState* s, UINT code, int thumb, bool vertical) {
  if (!vertical) {
    RECT rc;
    GetClientRect(hwnd, &rc);
    int h = s->hscroll;
    switch (code) {
      case SB_LINELEFT: h -= 8; break;
      case SB_LINERIGHT: h += 8; break;
      case SB_PAGELEFT: h -= rc.right; break;
      case SB_PAGERIGHT: h += rc.right; break;
      case SB_THUMBPOSITION: case SB_THUMBTRACK: h = thumb; break;
      case SB_LEFT: h = 0; break;
      case SB_RIGHT: h = s->extent; break;
      default: return;
    }
    h = std::max(0, std::min(h, std::max(0, s->extent - static_cast<int>(rc.right))));
    if (h != s->hscroll) {
      s->hscroll = h;
      Redraw(hwnd, s);
    }
    UpdateBars(hwnd, s);
    return;
  }
  int page = Visible(hwnd, s);
  switch (code) {
    case SB_LINEUP: SetTop(hwnd, s, s->top - 1); break;
    case SB_LINEDOWN: SetTop(hwnd, s, s->top + 1); break;
    case SB_PAGEUP: SetTop(hwnd, s, s->top - page); break;
    case SB_PAGEDOWN: SetTop(hwnd, s, s->top + page); break;
    case SB_TOP: SetTop(hwnd, s, 0); break;
    case SB_BOTTOM: SetTop(hwnd, s, MaxTop(hwnd, s)); break;
    case SB_THUMBPOSITION: case SB_THUMBTRACK: SetTop(hwnd, s, thumb); break;
  }
}

}  // namespace

void PlatformSetListBoxCapacity(int items) { capacity = items; }

void PlatformListBoxAttachCombo(HWND list, HWND combo) {
  if (ListState* s = ctl::StateOf<ListState>(list)) s->combo = combo;
}

LRESULT CALLBACK ListBoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  ListState* s = ctl::StateOf<ListState>(hwnd);
  if (!s && msg != WM_NCCREATE) return DefWindowProcA(hwnd, msg, wParam, lParam);
  switch (msg) {
    case WM_NCCREATE:
      ctl::MakeState<ListState>(hwnd)->bars =
          static_cast<DWORD>(reinterpret_cast<CREATESTRUCTA*>(lParam)->style) & (WS_VSCROLL | WS_HSCROLL);
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_CREATE: {
      s->itemHeight = ctl::LineHeight(hwnd);
      // A combo box's list is measured by its combo box, which asks its own parent.
      char cls[16];
      bool comboList = GetClassNameA(hwnd, cls, sizeof cls) && strcasecmp(cls, COMBOLBOX_CLASS) == 0;
      if ((StyleOf(hwnd) & LBS_OWNERDRAWFIXED) && !comboList) {
        int h = Measure(hwnd, s, 0, 0);
        if (h > 0) s->itemHeight = h;
      }
      UpdateBars(hwnd, s);
      return 0;
    }
    case WM_NCDESTROY:
      for (int i = 0; i < Count(s); ++i) DeleteItemNotice(hwnd, s, i);
      ctl::FreeState<ListState>(hwnd);
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_SETFONT:
      DefWindowProcA(hwnd, msg, wParam, lParam);
      if (!OwnerDraw(hwnd)) s->itemHeight = ctl::LineHeight(hwnd);
      UpdateBars(hwnd, s);
      return 0;
    case WM_SIZE:
      SetTop(hwnd, s, s->top);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT:
      ctl::PaintCycle(hwnd, wParam, [&](HDC hdc) { PaintList(hwnd, hdc, s); });
      return 0;
    case WM_VSCROLL:
    case WM_HSCROLL:
      Scroll(hwnd, s, LOWORD(wParam), HIWORD(wParam), msg == WM_VSCROLL);
      return 0;
    case WM_MOUSEWHEEL:
      SetTop(hwnd, s, s->top - 3 * static_cast<short>(HIWORD(wParam)) / 120);
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      s->focus = msg == WM_SETFOCUS;
      RedrawItem(hwnd, s, Count(s) ? s->caret : -1, ODA_FOCUS);
      NotifyList(hwnd, s, s->focus ? LBN_SETFOCUS : LBN_KILLFOCUS);
      return 0;
    case WM_SETREDRAW:
      s->redraw = wParam != 0;
      if (s->redraw) {
        UpdateBars(hwnd, s);
        Redraw(hwnd, s);
      }
      return 0;
    case WM_LBUTTONDOWN: {
      if (!s->combo) {
        SetFocus(hwnd);
        if (!IsWindow(hwnd)) return 0;
      }
      int i = ItemAt(hwnd, s, ctl::PointOf(lParam));
      if (s->combo) {
        RECT rc;
        GetClientRect(hwnd, &rc);
        // A click outside the open list closes it without a choice.
        SendMessageA(s->combo, kComboListPicked, ctl::InRect(rc, lParam) ? static_cast<WPARAM>(i) : static_cast<WPARAM>(-2), 0);
        return 0;
      }
      UserSelect(hwnd, s, i);
      return 0;
    }
    case WM_MOUSEMOVE:
      // An open drop-down follows the mouse; the choice comes with the click.
      if (s->combo) {
        RECT rc;
        GetClientRect(hwnd, &rc);
        int i = ItemAt(hwnd, s, ctl::PointOf(lParam));
        if (i >= 0 && ctl::InRect(rc, lParam)) SetCur(hwnd, s, i);
      }
      return 0;
    case WM_LBUTTONDBLCLK: {
      int i = ItemAt(hwnd, s, ctl::PointOf(lParam));
      if (s->combo) return 0;
      UserSelect(hwnd, s, i);
      if (IsWindow(hwnd) && i >= 0) NotifyList(hwnd, s, LBN_DBLCLK);
      return 0;
    }
    case WM_KEYDOWN: {
      int from = Multi(hwnd) ? s->caret : s->cur;
      int to;
      int page = Visible(hwnd, s);
      switch (wParam) {
        case VK_UP: to = from - 1; break;
        case VK_DOWN: to = from + 1; break;
        case VK_PRIOR: to = from - page; break;
        case VK_NEXT: to = from + page; break;
        case VK_HOME: to = 0; break;
        case VK_END: to = Count(s) - 1; break;
        default: return 0;
      }
      if (Count(s) == 0) return 0;
      to = std::max(0, std::min(to, Count(s) - 1));
      if (Multi(hwnd)) {
        MoveCaret(hwnd, s, to);
        ShowItem(hwnd, s, to);
      } else {
        UserSelect(hwnd, s, to);
      }
      return 0;
    }
    case WM_CHAR: {
      if (!HasStrings(hwnd) || wParam < 32) return 0;
      char prefix[2] = {static_cast<char>(wParam), 0};
      int i = Find(hwnd, s, s->cur, reinterpret_cast<LPARAM>(prefix), false);
      if (i >= 0) UserSelect(hwnd, s, i);
      return 0;
    }
    case LB_ADDSTRING:
      return Insert(hwnd, s, -1, lParam, (StyleOf(hwnd) & LBS_SORT) != 0);
    case LB_INSERTSTRING:
      return Insert(hwnd, s, static_cast<int>(static_cast<INT_PTR>(wParam)), lParam, false);
    case LB_DELETESTRING: {
      int i = static_cast<int>(static_cast<INT_PTR>(wParam));
      if (!Valid(s, i)) return LB_ERR;
      DeleteItemNotice(hwnd, s, i);
      s = ctl::StateOf<ListState>(hwnd);
      if (!s || !Valid(s, i)) return LB_ERR;
      s->items.erase(s->items.begin() + i);
      if (s->cur == i) s->cur = -1;
      else if (s->cur > i) --s->cur;
      s->caret = std::min(s->caret, std::max(0, Count(s) - 1));
      SetTop(hwnd, s, s->top);
      Redraw(hwnd, s);
      return Count(s);
    }
    case LB_RESETCONTENT:
      for (int i = 0; i < Count(s); ++i) DeleteItemNotice(hwnd, s, i);
      s = ctl::StateOf<ListState>(hwnd);
      if (!s) return 0;
      s->items.clear();
      s->cur = -1;
      s->caret = 0;
      s->top = 0;
      UpdateBars(hwnd, s);
      Redraw(hwnd, s);
      return 0;
    case LB_GETCOUNT:
      return Count(s);
    case LB_GETTEXT:
      return CopyText(s, hwnd, wParam, lParam);
    case LB_GETTEXTLEN:
      if (!Valid(s, static_cast<INT_PTR>(wParam))) return LB_ERR;
      return HasStrings(hwnd) ? static_cast<LRESULT>(s->items[wParam].text.size()) : sizeof(ULONG_PTR);
    case LB_SETCURSEL: {
      if (Multi(hwnd)) return LB_ERR;
      int i = static_cast<int>(static_cast<INT_PTR>(wParam));
      SetCur(hwnd, s, Valid(s, i) ? i : -1);
      return Valid(s, i) ? i : LB_ERR;
    }
    case LB_GETCURSEL:
      if (Multi(hwnd)) return s->caret < Count(s) ? s->caret : LB_ERR;
      return s->cur;
    case LB_FINDSTRING:
    case LB_FINDSTRINGEXACT:
      return Find(hwnd, s, static_cast<INT_PTR>(wParam), lParam, msg == LB_FINDSTRINGEXACT);
    case LB_SELECTSTRING: {
      int i = Find(hwnd, s, static_cast<INT_PTR>(wParam), lParam, false);
      if (i >= 0 && !Multi(hwnd)) SetCur(hwnd, s, i);
      return i;
    }
    case LB_GETTOPINDEX:
      return s->top;
    case LB_SETTOPINDEX:
      if (!Valid(s, static_cast<INT_PTR>(wParam)) && wParam != 0) return LB_ERR;
      SetTop(hwnd, s, static_cast<int>(wParam));
      return 0;
    case LB_GETITEMDATA:
      return Valid(s, static_cast<INT_PTR>(wParam)) ? static_cast<LRESULT>(s->items[wParam].data) : LB_ERR;
    case LB_SETITEMDATA:
      if (!Valid(s, static_cast<INT_PTR>(wParam))) return LB_ERR;
      s->items[wParam].data = static_cast<ULONG_PTR>(lParam);
      return 0;
    case LB_GETITEMRECT:
      if (!Valid(s, static_cast<INT_PTR>(wParam)) || !lParam) return LB_ERR;
      *reinterpret_cast<RECT*>(lParam) = ItemRect(hwnd, s, static_cast<int>(wParam));
      return 0;
    case LB_SETITEMHEIGHT:
      if (LOWORD(lParam) == 0) return LB_ERR;
      if (StyleOf(hwnd) & LBS_OWNERDRAWVARIABLE) {
        if (!Valid(s, static_cast<INT_PTR>(wParam))) return LB_ERR;
        s->items[wParam].height = LOWORD(lParam);
      } else {
        s->itemHeight = LOWORD(lParam);
      }
      SetTop(hwnd, s, s->top);
      Redraw(hwnd, s);
      return 0;
    case LB_GETITEMHEIGHT:
      if (StyleOf(hwnd) & LBS_OWNERDRAWVARIABLE) return Valid(s, static_cast<INT_PTR>(wParam)) ? HeightOf(s, static_cast<int>(wParam)) : LB_ERR;
      return s->itemHeight;
    case LB_SETHORIZONTALEXTENT:
      s->extent = static_cast<int>(wParam);
      UpdateBars(hwnd, s);
      return 0;
    case LB_GETHORIZONTALEXTENT:
      return s->extent;
    case LB_SETSEL: {
      if (!Multi(hwnd)) return LB_ERR;
      INT_PTR i = static_cast<INT_PTR>(lParam);
      if (i == -1) {
        for (Item& item : s->items) item.selected = wParam != 0;
      } else if (Valid(s, i)) {
        s->items[static_cast<size_t>(i)].selected = wParam != 0;
        s->caret = static_cast<int>(i);
      } else {
        return LB_ERR;
      }
      Redraw(hwnd, s);
      return 0;
    }
    case LB_GETSEL: {
      INT_PTR i = static_cast<INT_PTR>(wParam);
      if (!Valid(s, i)) return LB_ERR;
      return Multi(hwnd) ? s->items[static_cast<size_t>(i)].selected : i == s->cur;
    }
    case LB_GETSELCOUNT: {
      if (!Multi(hwnd)) return LB_ERR;
      return std::count_if(s->items.begin(), s->items.end(), [](const Item& i) { return i.selected; });
    }
    case LB_GETSELITEMS: {
      if (!Multi(hwnd)) return LB_ERR;
      auto* out = reinterpret_cast<int*>(lParam);
      int n = 0;
      for (int i = 0; i < Count(s) && n < static_cast<int>(wParam); ++i)
        if (s->items[static_cast<size_t>(i)].selected) {
          if (out) out[n] = i;
          ++n;
        }
      return n;
    }
    case LB_SELITEMRANGEEX: {
      if (!Multi(hwnd)) return LB_ERR;
      int a = static_cast<int>(static_cast<INT_PTR>(wParam)), b = static_cast<int>(lParam);
      bool select = a <= b;
      for (int i = std::min(a, b); i <= std::max(a, b); ++i)
        if (Valid(s, i)) s->items[static_cast<size_t>(i)].selected = select;
      Redraw(hwnd, s);
      return 0;
    }
    case LB_SETCARETINDEX:
      if (!Valid(s, static_cast<INT_PTR>(wParam))) return LB_ERR;
      MoveCaret(hwnd, s, static_cast<int>(wParam));
      ShowItem(hwnd, s, s->caret);
      return 0;
    case LB_GETCARETINDEX:
      return s->caret;
    case LB_ITEMFROMPOINT: {
      POINT pt = ctl::PointOf(lParam);
      RECT rc;
      GetClientRect(hwnd, &rc);
      int i = ItemAt(hwnd, s, pt);
      bool outside = !PtInRect(&rc, pt) || i < 0;
      if (i < 0) i = std::max(0, Count(s) - 1);
      return MAKELRESULT(i, outside ? 1 : 0);
    }
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}
