// The tab control: tabs with text, image and a pointer-sized parameter in one
// row along the top (or bottom), the current selection, clicks that change it
// with TCN_SELCHANGING and TCN_SELCHANGE, and the display-area calculation.

#include <algorithm>
#include <string>
#include <vector>

#include "CommCtrl.h"
#include "ControlUtil.h"
#include "Resource.h"

namespace {

struct Tab {
  std::string text;
  int image = -1;
  LPARAM param = 0;
  DWORD state = 0;
};

struct TabControl {
  std::vector<Tab> tabs;
  int selected = -1;
  HIMAGELIST images = nullptr;
  HFONT font = nullptr;
};

TabControl* Get(HWND hwnd) { return ctl::StateOf<TabControl>(hwnd); }
int Count(const TabControl* t) { return static_cast<int>(t->tabs.size()); }
bool Bottom(HWND hwnd) { return (ctl::Style(hwnd) & TCS_BOTTOM) != 0; }

int TabHeight(HWND hwnd) { return ctl::LineHeight(hwnd) + 8; }

RECT TabRect(HWND hwnd, const TabControl* t, int index) {
  HDC dc = GetDC(hwnd);
  HGDIOBJ old = SelectObject(dc, ctl::FontOf(hwnd));
  int cx = 0, cy = 0;
  if (t->images) ImageList_GetIconSize(t->images, &cx, &cy);
  RECT client;
  GetClientRect(hwnd, &client);
  int h = TabHeight(hwnd);
  int x = 2;
  RECT rc{};
  for (int i = 0; i <= index && i < Count(t); ++i) {
    const Tab& tab = t->tabs[static_cast<size_t>(i)];
    SIZE sz{};
    GetTextExtentPoint32A(dc, tab.text.c_str(), static_cast<int>(tab.text.size()), &sz);
    int w = sz.cx + 12 + (t->images && tab.image >= 0 ? cx + 4 : 0);
    int top = Bottom(hwnd) ? client.bottom - h - 2 : 2;
    rc = RECT{x, top, x + w, top + h};
    x += w;
  }
  SelectObject(dc, old);
  ReleaseDC(hwnd, dc);
  return rc;
}

void Notify(HWND hwnd, UINT code, LRESULT* result) {
  LRESULT r = PlatformSendNotify(hwnd, code, nullptr);
  if (result) *result = r;
}

// A press on a tab: the parent may refuse the change.
void Select(HWND hwnd, TabControl* t, int index) {
  if (index == t->selected || index < 0 || index >= Count(t)) return;
  LRESULT refuse = 0;
  Notify(hwnd, TCN_SELCHANGING, &refuse);
  if (refuse || (t = Get(hwnd)) == nullptr || index >= Count(t)) return;
  t->selected = index;
  InvalidateRect(hwnd, nullptr, TRUE);
  Notify(hwnd, TCN_SELCHANGE, nullptr);
}

void Paint(HWND hwnd, TabControl* t, HDC dc) {
  RECT client;
  GetClientRect(hwnd, &client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  RECT page = client;
  int h = TabHeight(hwnd);
  if (Count(t) > 0) {
    if (Bottom(hwnd)) page.bottom -= h + 2;
    else page.top += h + 2;
  }
  DrawEdge(dc, &page, EDGE_RAISED, BF_RECT);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  for (int i = 0; i < Count(t); ++i) {
    const Tab& tab = t->tabs[static_cast<size_t>(i)];
    RECT rc = TabRect(hwnd, t, i);
    if (i == t->selected) InflateRect(&rc, 2, 0);
    FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
    DrawEdge(dc, &rc, EDGE_RAISED, Bottom(hwnd) ? (BF_LEFT | BF_BOTTOM | BF_RIGHT) : (BF_LEFT | BF_TOP | BF_RIGHT));
    RECT text = rc;
    text.left += 6;
    if (t->images && tab.image >= 0) {
      int cx = 0, cy = 0;
      ImageList_GetIconSize(t->images, &cx, &cy);
      ImageList_Draw(t->images, tab.image, dc, text.left, (rc.top + rc.bottom - cy) / 2, ILD_TRANSPARENT);
      text.left += cx + 4;
    }
    DrawTextA(dc, tab.text.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS);
  }
}

LRESULT CALLBACK TabProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  TabControl* t = Get(hwnd);
  switch (msg) {
    case WM_NCCREATE:
      ctl::MakeState<TabControl>(hwnd);
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_NCDESTROY:
      ctl::FreeState<TabControl>(hwnd);
      return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
  if (!t) return DefWindowProcA(hwnd, msg, wParam, lParam);
  switch (msg) {
    case TCM_GETITEMCOUNT: return Count(t);
    case TCM_INSERTITEMA: {
      auto* in = reinterpret_cast<const TCITEMA*>(lParam);
      if (!in || static_cast<int>(wParam) < 0) return -1;
      int at = std::min(static_cast<int>(wParam), Count(t));
      Tab tab;
      if ((in->mask & TCIF_TEXT) && in->pszText) tab.text = in->pszText;
      if (in->mask & TCIF_IMAGE) tab.image = in->iImage;
      if (in->mask & TCIF_PARAM) tab.param = in->lParam;
      t->tabs.insert(t->tabs.begin() + at, tab);
      if (t->selected < 0) t->selected = 0;
      else if (t->selected >= at && Count(t) > 1) ++t->selected;
      InvalidateRect(hwnd, nullptr, TRUE);
      return at;
    }
    case TCM_GETITEMA:
    case TCM_SETITEMA: {
      int i = static_cast<int>(wParam);
      auto* item = reinterpret_cast<TCITEMA*>(lParam);
      if (!item || i < 0 || i >= Count(t)) return FALSE;
      Tab& tab = t->tabs[static_cast<size_t>(i)];
      if (msg == TCM_SETITEMA) {
        if ((item->mask & TCIF_TEXT) && item->pszText) tab.text = item->pszText;
        if (item->mask & TCIF_IMAGE) tab.image = item->iImage;
        if (item->mask & TCIF_PARAM) tab.param = item->lParam;
        if (item->mask & TCIF_STATE) tab.state = (tab.state & ~item->dwStateMask) | (item->dwState & item->dwStateMask);
        InvalidateRect(hwnd, nullptr, TRUE);
        return TRUE;
      }
      if ((item->mask & TCIF_TEXT) && item->pszText && item->cchTextMax > 0) {
        size_t n = std::min(tab.text.size(), static_cast<size_t>(item->cchTextMax - 1));
        tab.text.copy(item->pszText, n);
        item->pszText[n] = 0;
      }
      if (item->mask & TCIF_IMAGE) item->iImage = tab.image;
      if (item->mask & TCIF_PARAM) item->lParam = tab.param;
      if (item->mask & TCIF_STATE) item->dwState = tab.state & item->dwStateMask;
      return TRUE;
    }
    case TCM_DELETEITEM: {
      int i = static_cast<int>(wParam);
      if (i < 0 || i >= Count(t)) return FALSE;
      t->tabs.erase(t->tabs.begin() + i);
      if (t->selected == i) t->selected = Count(t) ? 0 : -1;
      else if (t->selected > i) --t->selected;
      InvalidateRect(hwnd, nullptr, TRUE);
      return TRUE;
    }
    case TCM_DELETEALLITEMS:
      t->tabs.clear();
      t->selected = -1;
      InvalidateRect(hwnd, nullptr, TRUE);
      return TRUE;
    case TCM_GETITEMRECT: {
      int i = static_cast<int>(wParam);
      auto* rc = reinterpret_cast<RECT*>(lParam);
      if (!rc || i < 0 || i >= Count(t)) return FALSE;
      *rc = TabRect(hwnd, t, i);
      return TRUE;
    }
    case TCM_GETCURSEL: return t->selected;
    case TCM_SETCURSEL: {
      int old = t->selected;
      int i = static_cast<int>(wParam);
      if (i < 0 || i >= Count(t)) return -1;
      t->selected = i;  // no notification, as for the program's own changes
      InvalidateRect(hwnd, nullptr, TRUE);
      return old;
    }
    case TCM_HITTEST: {
      auto* info = reinterpret_cast<TCHITTESTINFO*>(lParam);
      if (!info) return -1;
      info->flags = TCHT_NOWHERE;
      for (int i = 0; i < Count(t); ++i) {
        RECT rc = TabRect(hwnd, t, i);
        if (PtInRect(&rc, info->pt)) {
          info->flags = TCHT_ONITEMLABEL;
          return i;
        }
      }
      return -1;
    }
    case TCM_SETIMAGELIST: {
      HIMAGELIST old = t->images;
      t->images = reinterpret_cast<HIMAGELIST>(lParam);
      return reinterpret_cast<LRESULT>(old);
    }
    case TCM_GETIMAGELIST: return reinterpret_cast<LRESULT>(t->images);
    case TCM_ADJUSTRECT: {
      auto* rc = reinterpret_cast<RECT*>(lParam);
      if (!rc) return 0;
      // Display area from window area (FALSE) and back (TRUE).
      int tabs = TabHeight(hwnd) + 2;
      int sign = wParam ? -1 : 1;
      InflateRect(rc, -2 * sign, -2 * sign);
      if (Bottom(hwnd)) rc->bottom -= sign * tabs;
      else rc->top += sign * tabs;
      return 0;
    }
    case WM_SETFONT:
      t->font = reinterpret_cast<HFONT>(wParam);
      if (LOWORD(lParam)) InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(t->font);
    case WM_ERASEBKGND: return 1;
    case WM_PRINTCLIENT:
    case WM_PAINT:
      ctl::PaintCycle(hwnd, wParam, [&](HDC dc) { Paint(hwnd, t, dc); });
      return 0;
    case WM_LBUTTONDOWN: {
      TCHITTESTINFO info{ctl::PointOf(lParam), 0};
      int i = static_cast<int>(TabProc(hwnd, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
      if (i >= 0) Select(hwnd, t, i);
      if (!(ctl::Style(hwnd) & TCS_FOCUSNEVER)) SetFocus(hwnd);
      return 0;
    }
    case WM_LBUTTONUP:
      if (Get(hwnd)) PlatformSendNotify(hwnd, NM_CLICK, nullptr);
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_LEFT || wParam == VK_RIGHT) Select(hwnd, t, t->selected + (wParam == VK_LEFT ? -1 : 1));
      return 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace

void PlatformRegisterTabControlClass() {
  ctl::RegisterControlClass(WC_TABCONTROL, TabProc, LoadCursorA(nullptr, IDC_ARROW));
}
