// The list view in report mode: columns kept in its header, rows with
// sub-item texts and images, pointer-sized item data, item states, custom
// drawing, hit tests, scrolling and the notifications the pages rely on.
// The other views are laid out as report rows too; the program uses no other.

#include <strings.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "CommCtrl.h"
#include "ControlUtil.h"
#include "Resource.h"

namespace {

const int kCellPadding = 2;  // text inset from the cell edges

struct Item {
  std::vector<std::string> text;  // by column
  std::vector<int> image;         // by column; -1 none
  UINT state = 0;
  LPARAM param = 0;
  int indent = 0;
};

struct Column {
  int fmt = LVCFMT_LEFT;
  int subItem = 0;
  int image = -1;
};

struct ListView {
  HWND hwnd = nullptr;
  HWND header = nullptr;
  std::vector<Item> items;
  std::vector<Column> columns;
  DWORD exStyle = 0;
  HIMAGELIST smallImages = nullptr;
  HIMAGELIST normalImages = nullptr;
  HIMAGELIST stateImages = nullptr;
  HFONT font = nullptr;
  COLORREF bkColor = CLR_NONE;  // CLR_NONE until set: the window colour
  COLORREF textColor = CLR_NONE;
  COLORREF textBkColor = CLR_NONE;
  int itemHeight = 16;
  int headerHeight = 0;
  int top = 0;      // first visible row
  int scrollX = 0;  // pixels scrolled to the left
  int focus = -1;
  int mark = -1;
  bool redraw = true;
  bool pressed = false;  // a left press began here and has not been released
  POINT pressPoint{};
  bool destroying = false;
};

ListView* Get(HWND hwnd) { return ctl::StateOf<ListView>(hwnd); }
int Count(const ListView* lv) { return static_cast<int>(lv->items.size()); }
int ColumnCount(const ListView* lv) { return static_cast<int>(lv->columns.size()); }
bool ValidItem(const ListView* lv, int i) { return i >= 0 && i < Count(lv); }
DWORD Style(HWND hwnd) { return static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE)); }
bool HasFocus(const ListView* lv) { return GetFocus() == lv->hwnd; }

COLORREF Resolve(COLORREF c, int sys) { return c == CLR_NONE ? GetSysColor(sys) : c; }

int SmallCx(const ListView* lv) {
  int cx = 0, cy = 0;
  if (lv->smallImages) ImageList_GetIconSize(lv->smallImages, &cx, &cy);
  return cx;
}

// The state-image column: check boxes, or the state image list.
int StateCx(const ListView* lv) {
  if (lv->stateImages) {
    int cx = 0, cy = 0;
    ImageList_GetIconSize(lv->stateImages, &cx, &cy);
    return cx;
  }
  return (lv->exStyle & LVS_EX_CHECKBOXES) ? 16 : 0;
}

void ComputeItemHeight(ListView* lv) {
  HDC dc = GetDC(lv->hwnd);
  HGDIOBJ old = SelectObject(dc, lv->font ? lv->font : GetStockObject(DEFAULT_GUI_FONT));
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(lv->hwnd, dc);
  int h = tm.tmHeight + 3;
  int cx = 0, cy = 0;
  if (lv->smallImages && ImageList_GetIconSize(lv->smallImages, &cx, &cy)) h = std::max(h, cy + 1);
  if (lv->exStyle & LVS_EX_CHECKBOXES) h = std::max(h, 17);
  lv->itemHeight = std::max(h, 1);
}

RECT Client(const ListView* lv) {
  RECT rc;
  GetClientRect(lv->hwnd, &rc);
  return rc;
}

int CountPerPage(const ListView* lv) {
  RECT rc = Client(lv);
  return std::max(0, (rc.bottom - lv->headerHeight) / lv->itemHeight);
}

// Column edges come from the header, so a header that is tracked, reordered
// or subclassed is what the rows follow.
RECT ColumnEdges(const ListView* lv, int col) {
  RECT rc{};
  if (col < 0 || col >= ColumnCount(lv)) return rc;
  SendMessageA(lv->header, HDM_GETITEMRECT, static_cast<WPARAM>(col), reinterpret_cast<LPARAM>(&rc));
  rc.left -= lv->scrollX;
  rc.right -= lv->scrollX;
  return rc;
}

int ColumnWidth(const ListView* lv, int col) {
  HDITEMA hi{};
  hi.mask = HDI_WIDTH;
  if (!SendMessageA(lv->header, HDM_GETITEMA, static_cast<WPARAM>(col), reinterpret_cast<LPARAM>(&hi))) return 0;
  return hi.cxy;
}

int TotalWidth(const ListView* lv) {
  int w = 0;
  for (int c = 0; c < ColumnCount(lv); ++c) w += ColumnWidth(lv, c);
  return w;
}

std::vector<int> DisplayOrder(const ListView* lv) {
  std::vector<int> order;
  for (int pos = 0; pos < ColumnCount(lv); ++pos)
    order.push_back(static_cast<int>(SendMessageA(lv->header, HDM_ORDERTOINDEX, static_cast<WPARAM>(pos), 0)));
  return order;
}

int RowTop(const ListView* lv, int item) { return lv->headerHeight + (item - lv->top) * lv->itemHeight; }

RECT RowBounds(const ListView* lv, int item) {
  int top = RowTop(lv, item);
  return RECT{-lv->scrollX, top, TotalWidth(lv) - lv->scrollX, top + lv->itemHeight};
}

const std::string& TextOf(const Item& it, int col) {
  static const std::string empty;
  return col >= 0 && static_cast<size_t>(col) < it.text.size() ? it.text[static_cast<size_t>(col)] : empty;
}

int ImageOf(const Item& it, int col) {
  return col >= 0 && static_cast<size_t>(col) < it.image.size() ? it.image[static_cast<size_t>(col)] : -1;
}

// Whether a cell has room for an image at its left: column 0 always keeps it
// (so labels line up), a sub-item only with sub-item images and an image set.
bool HasIconArea(const ListView* lv, int item, int col) {
  if (!lv->smallImages) return false;
  if (col == 0) return true;
  if (!(lv->exStyle & LVS_EX_SUBITEMIMAGES)) return false;
  return item < 0 || (ValidItem(lv, item) && ImageOf(lv->items[static_cast<size_t>(item)], col) >= 0);
}

// The parts of a cell: state image (column 0), icon, label.
struct CellParts {
  RECT bounds, state, icon, label;
};

CellParts PartsOf(const ListView* lv, int item, int col) {
  CellParts p{};
  RECT edges = ColumnEdges(lv, col);
  int top = RowTop(lv, item);
  p.bounds = RECT{edges.left, top, edges.right, top + lv->itemHeight};
  int x = p.bounds.left;
  p.state = RECT{x, top, x, p.bounds.bottom};
  if (col == 0) {
    const Item& it = lv->items[static_cast<size_t>(item)];
    x += it.indent * SmallCx(lv);
    p.state.left = x;
    x += StateCx(lv);
    p.state.right = x;
  }
  p.icon = RECT{x, top, x, p.bounds.bottom};
  if (HasIconArea(lv, item, col)) {
    p.icon.left = x + kCellPadding;
    p.icon.right = p.icon.left + SmallCx(lv);
    x = p.icon.right;
  }
  p.label = RECT{x, top, std::max(x, p.bounds.right), p.bounds.bottom};
  return p;
}

// ---------------------------------------------------------------- notifications

LRESULT NotifyListView(ListView* lv, UINT code, int item, int subItem, UINT newState, UINT oldState, UINT changed,
                       POINT pt, LPARAM param) {
  NMLISTVIEW nm{};
  nm.iItem = item;
  nm.iSubItem = subItem;
  nm.uNewState = newState;
  nm.uOldState = oldState;
  nm.uChanged = changed;
  nm.ptAction = pt;
  nm.lParam = param;
  return PlatformSendNotify(lv->hwnd, code, &nm.hdr);
}

void InvalidateItem(ListView* lv, int item) {
  if (!ValidItem(lv, item) || !lv->redraw) return;
  RECT rc = RowBounds(lv, item);
  RECT client = Client(lv);
  rc.left = 0;
  rc.right = client.right;
  InvalidateRect(lv->hwnd, &rc, TRUE);
}

void InvalidateAll(ListView* lv) {
  if (lv->redraw) InvalidateRect(lv->hwnd, nullptr, TRUE);
}

// The scroll state is kept whether or not the bars are shown, so that a
// container that draws its own bars can follow the list; the bars themselves
// show only while the rows or columns exceed the view.
void UpdateScrollBars(ListView* lv) {
  bool keepOnly = (Style(lv->hwnd) & LVS_NOSCROLL) != 0;
  auto apply = [&](int bar, int max, int page, int pos) {
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, std::max(0, max), static_cast<UINT>(std::max(0, page)), pos, 0};
    if (keepOnly) ctl::KeepScrollInfo(lv->hwnd, bar, si);
    else SetScrollInfo(lv->hwnd, bar, &si, lv->redraw);
  };
  apply(SB_VERT, Count(lv) - 1, CountPerPage(lv), lv->top);
  apply(SB_HORZ, TotalWidth(lv) - 1, Client(lv).right, lv->scrollX);
}

void Layout(ListView* lv) {
  if (!lv->header) return;
  RECT client = Client(lv);
  if ((Style(lv->hwnd) & LVS_NOCOLUMNHEADER) || (Style(lv->hwnd) & LVS_TYPEMASK) != LVS_REPORT) {
    ShowWindow(lv->header, SW_HIDE);
    lv->headerHeight = 0;
    return;
  }
  // The header is laid out by its own answer to HDM_LAYOUT, so a subclassed
  // header (a taller skinned one) decides where the rows begin.
  RECT rc{-lv->scrollX, client.top, client.right, client.bottom};
  WINDOWPOS wp{};
  HDLAYOUT layout{&rc, &wp};
  if (!SendMessageA(lv->header, HDM_LAYOUT, 0, reinterpret_cast<LPARAM>(&layout))) return;
  SetWindowPos(lv->header, wp.hwndInsertAfter, wp.x, wp.y, wp.cx, wp.cy, wp.flags | SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(lv->header, SW_SHOWNA);
  lv->headerHeight = std::max(0L, static_cast<long>(rc.top - client.top));
}

void ClampTop(ListView* lv) {
  int maxTop = std::max(0, Count(lv) - CountPerPage(lv));
  lv->top = std::clamp(lv->top, 0, maxTop);
}

// ---------------------------------------------------------------- items

// Changes the bits of `mask` in one item's state, with LVN_ITEMCHANGING (which
// may refuse) and LVN_ITEMCHANGED.
bool ChangeState(ListView* lv, int i, UINT state, UINT mask) {
  if (!ValidItem(lv, i)) return false;
  Item& it = lv->items[static_cast<size_t>(i)];
  UINT old = it.state;
  UINT now = (old & ~mask) | (state & mask);
  if (now == old) return true;
  LPARAM param = it.param;
  HWND hwnd = lv->hwnd;
  if (NotifyListView(lv, LVN_ITEMCHANGING, i, 0, now, old, LVIF_STATE, POINT{}, param)) return false;
  if ((lv = Get(hwnd)) == nullptr || !ValidItem(lv, i)) return false;
  lv->items[static_cast<size_t>(i)].state = now;
  if ((now & LVIS_FOCUSED) && !(old & LVIS_FOCUSED)) {
    int before = lv->focus;
    lv->focus = i;
    if (before != i && ValidItem(lv, before)) ChangeState(lv, before, 0, LVIS_FOCUSED);
  } else if (!(now & LVIS_FOCUSED) && lv->focus == i) {
    lv->focus = -1;
  }
  if ((now & LVIS_SELECTED) && !(old & LVIS_SELECTED) && (Style(hwnd) & LVS_SINGLESEL)) {
    for (int j = 0; j < Count(lv); ++j)
      if (j != i && (lv->items[static_cast<size_t>(j)].state & LVIS_SELECTED)) ChangeState(lv, j, 0, LVIS_SELECTED);
  }
  InvalidateItem(lv, i);
  NotifyListView(lv, LVN_ITEMCHANGED, i, 0, now, old, LVIF_STATE, POINT{}, param);
  return true;
}

void SelectOnly(ListView* lv, int item) {
  HWND hwnd = lv->hwnd;
  for (int j = 0; (lv = Get(hwnd)) != nullptr && j < Count(lv); ++j)
    if (j != item) ChangeState(lv, j, 0, LVIS_SELECTED);
  if ((lv = Get(hwnd)) != nullptr && ValidItem(lv, item)) {
    ChangeState(lv, item, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    if ((lv = Get(hwnd)) != nullptr) lv->mark = item;
  }
}

BOOL GetItem(const ListView* lv, LVITEMA* out) {
  if (!out || !ValidItem(lv, out->iItem) || out->iSubItem < 0) return FALSE;
  const Item& it = lv->items[static_cast<size_t>(out->iItem)];
  if ((out->mask & LVIF_TEXT) && out->pszText && out->cchTextMax > 0) {
    const std::string& s = TextOf(it, out->iSubItem);
    size_t n = std::min(s.size(), static_cast<size_t>(out->cchTextMax - 1));
    s.copy(out->pszText, n);
    out->pszText[n] = 0;
  }
  if (out->mask & LVIF_IMAGE) out->iImage = ImageOf(it, out->iSubItem);
  if (out->iSubItem == 0) {
    if (out->mask & LVIF_STATE) out->state = it.state & out->stateMask;
    if (out->mask & LVIF_PARAM) out->lParam = it.param;
    if (out->mask & LVIF_INDENT) out->iIndent = it.indent;
  }
  return TRUE;
}

BOOL SetItem(ListView* lv, const LVITEMA* in) {
  if (!in || !ValidItem(lv, in->iItem) || in->iSubItem < 0) return FALSE;
  if (in->iSubItem > 0 && in->iSubItem >= ColumnCount(lv)) return FALSE;
  HWND hwnd = lv->hwnd;
  size_t col = static_cast<size_t>(in->iSubItem);
  {
    Item& it = lv->items[static_cast<size_t>(in->iItem)];
    if (in->mask & LVIF_TEXT) {
      if (it.text.size() <= col) it.text.resize(col + 1);
      it.text[col] = (in->pszText && in->pszText != LPSTR_TEXTCALLBACKA) ? in->pszText : "";
    }
    if (in->mask & LVIF_IMAGE) {
      if (it.image.size() <= col) it.image.resize(col + 1, -1);
      it.image[col] = in->iImage;
    }
    if (col == 0 && (in->mask & LVIF_INDENT)) it.indent = std::max(0, in->iIndent);
    if (col == 0 && (in->mask & LVIF_PARAM) && it.param != in->lParam) {
      UINT state = it.state;
      it.param = in->lParam;
      NotifyListView(lv, LVN_ITEMCHANGED, in->iItem, 0, state, state, LVIF_PARAM, POINT{}, in->lParam);
      if ((lv = Get(hwnd)) == nullptr || !ValidItem(lv, in->iItem)) return FALSE;
    }
  }
  if (col == 0 && (in->mask & LVIF_STATE)) ChangeState(lv, in->iItem, in->state, in->stateMask);
  if ((lv = Get(hwnd)) != nullptr) InvalidateItem(lv, in->iItem);
  return TRUE;
}

int InsertItem(ListView* lv, const LVITEMA* in) {
  if (!in || in->iItem < 0 || in->iSubItem != 0) return -1;
  int index = std::min(in->iItem, Count(lv));
  Item it;
  it.text.resize(1);
  it.image.resize(1, -1);
  if ((in->mask & LVIF_TEXT) && in->pszText && in->pszText != LPSTR_TEXTCALLBACKA) it.text[0] = in->pszText;
  if (in->mask & LVIF_IMAGE) it.image[0] = in->iImage;
  if (in->mask & LVIF_PARAM) it.param = in->lParam;
  if (in->mask & LVIF_INDENT) it.indent = std::max(0, in->iIndent);
  UINT state = (in->mask & LVIF_STATE) ? (in->state & in->stateMask) : 0;
  lv->items.insert(lv->items.begin() + index, it);
  if (lv->focus >= index) ++lv->focus;
  if (lv->mark >= index) ++lv->mark;
  HWND hwnd = lv->hwnd;
  NotifyListView(lv, LVN_INSERTITEM, index, 0, 0, 0, 0, POINT{}, it.param);
  if ((lv = Get(hwnd)) == nullptr) return -1;
  if (state) ChangeState(lv, index, state, state);
  if ((lv = Get(hwnd)) == nullptr) return -1;
  UpdateScrollBars(lv);
  InvalidateAll(lv);
  return index;
}

BOOL DeleteItem(ListView* lv, int i) {
  if (!ValidItem(lv, i)) return FALSE;
  HWND hwnd = lv->hwnd;
  NotifyListView(lv, LVN_DELETEITEM, i, 0, 0, 0, 0, POINT{}, lv->items[static_cast<size_t>(i)].param);
  if ((lv = Get(hwnd)) == nullptr || !ValidItem(lv, i)) return FALSE;
  lv->items.erase(lv->items.begin() + i);
  if (lv->focus == i) lv->focus = -1;
  else if (lv->focus > i) --lv->focus;
  if (lv->mark == i) lv->mark = -1;
  else if (lv->mark > i) --lv->mark;
  ClampTop(lv);
  UpdateScrollBars(lv);
  InvalidateAll(lv);
  return TRUE;
}

BOOL DeleteAllItems(ListView* lv) {
  HWND hwnd = lv->hwnd;
  // LVN_DELETEALLITEMS answered TRUE means "no LVN_DELETEITEM for each row".
  bool each = Count(lv) > 0 && !NotifyListView(lv, LVN_DELETEALLITEMS, -1, 0, 0, 0, 0, POINT{}, 0);
  if ((lv = Get(hwnd)) == nullptr) return FALSE;
  if (each) {
    // The parent may look at the list while rows go, so each is announced
    // while it still exists, then all go at once.
    for (int i = 0; i < Count(lv); ++i) {
      NotifyListView(lv, LVN_DELETEITEM, i, 0, 0, 0, 0, POINT{}, lv->items[static_cast<size_t>(i)].param);
      if ((lv = Get(hwnd)) == nullptr) return FALSE;
    }
  }
  lv->items.clear();
  lv->focus = lv->mark = -1;
  lv->top = 0;
  if (!lv->destroying) {
    UpdateScrollBars(lv);
    InvalidateAll(lv);
  }
  return TRUE;
}

int GetNextItem(const ListView* lv, int start, UINT flags) {
  UINT want = 0;
  if (flags & LVNI_FOCUSED) want |= LVIS_FOCUSED;
  if (flags & LVNI_SELECTED) want |= LVIS_SELECTED;
  if (flags & LVNI_DROPHILITED) want |= LVIS_DROPHILITED;
  if (flags & LVNI_CUT) want |= LVIS_CUT;
  if (flags & LVNI_ABOVE) {
    for (int i = std::min(start, Count(lv)) - 1; i >= 0; --i)
      if ((lv->items[static_cast<size_t>(i)].state & want) == want) return i;
    return -1;
  }
  for (int i = std::max(-1, start) + 1; i < Count(lv); ++i)
    if ((lv->items[static_cast<size_t>(i)].state & want) == want) return i;
  return -1;
}

// ---------------------------------------------------------------- columns

int InsertColumn(ListView* lv, int index, const LVCOLUMNA* in) {
  if (!in || index < 0) return -1;
  index = std::min(index, ColumnCount(lv));
  Column c;
  if (in->mask & LVCF_FMT) c.fmt = in->fmt;
  if (in->mask & LVCF_SUBITEM) c.subItem = in->iSubItem;
  if (in->mask & LVCF_IMAGE) c.image = in->iImage;
  // The first column is always left-aligned, as the list view has it.
  if (index == 0) c.fmt &= ~LVCFMT_JUSTIFYMASK;
  HDITEMA hi{};
  hi.mask = HDI_FORMAT | HDI_WIDTH;
  hi.fmt = (c.fmt & LVCFMT_JUSTIFYMASK) | HDF_STRING;
  hi.cxy = (in->mask & LVCF_WIDTH) ? std::max(0, in->cx) : 0;
  if ((in->mask & LVCF_TEXT) && in->pszText) {
    hi.mask |= HDI_TEXT;
    hi.pszText = in->pszText;
  }
  if ((in->mask & LVCF_IMAGE) && (c.fmt & LVCFMT_IMAGE)) {
    hi.mask |= HDI_IMAGE;
    hi.fmt |= HDF_IMAGE;
    hi.iImage = in->iImage;
  }
  if (SendMessageA(lv->header, HDM_INSERTITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&hi)) < 0)
    return -1;
  lv->columns.insert(lv->columns.begin() + index, c);
  for (Item& it : lv->items) {
    if (index > 0 && it.text.size() > static_cast<size_t>(index))
      it.text.insert(it.text.begin() + index, std::string());
    if (index > 0 && it.image.size() > static_cast<size_t>(index)) it.image.insert(it.image.begin() + index, -1);
  }
  UpdateScrollBars(lv);
  InvalidateAll(lv);
  return index;
}

BOOL DeleteColumn(ListView* lv, int index) {
  if (index < 0 || index >= ColumnCount(lv)) return FALSE;
  SendMessageA(lv->header, HDM_DELETEITEM, static_cast<WPARAM>(index), 0);
  lv->columns.erase(lv->columns.begin() + index);
  for (Item& it : lv->items) {
    if (it.text.size() > static_cast<size_t>(index)) it.text.erase(it.text.begin() + index);
    if (it.image.size() > static_cast<size_t>(index)) it.image.erase(it.image.begin() + index);
    if (it.text.empty()) it.text.resize(1);
    if (it.image.empty()) it.image.resize(1, -1);
  }
  UpdateScrollBars(lv);
  InvalidateAll(lv);
  return TRUE;
}

BOOL GetColumn(const ListView* lv, int index, LVCOLUMNA* out) {
  if (!out || index < 0 || index >= ColumnCount(lv)) return FALSE;
  const Column& c = lv->columns[static_cast<size_t>(index)];
  HDITEMA hi{};
  hi.mask = HDI_WIDTH | HDI_ORDER;
  if ((out->mask & LVCF_TEXT) && out->pszText) {
    hi.mask |= HDI_TEXT;
    hi.pszText = out->pszText;
    hi.cchTextMax = out->cchTextMax;
  }
  SendMessageA(lv->header, HDM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&hi));
  if (out->mask & LVCF_FMT) out->fmt = c.fmt;
  if (out->mask & LVCF_WIDTH) out->cx = hi.cxy;
  if (out->mask & LVCF_SUBITEM) out->iSubItem = c.subItem;
  if (out->mask & LVCF_IMAGE) out->iImage = c.image;
  if (out->mask & LVCF_ORDER) out->iOrder = hi.iOrder;
  return TRUE;
}

BOOL SetColumn(ListView* lv, int index, const LVCOLUMNA* in) {
  if (!in || index < 0 || index >= ColumnCount(lv)) return FALSE;
  Column& c = lv->columns[static_cast<size_t>(index)];
  HDITEMA hi{};
  if (in->mask & LVCF_FMT) {
    c.fmt = index == 0 ? (in->fmt & ~LVCFMT_JUSTIFYMASK) : in->fmt;
    hi.mask |= HDI_FORMAT;
    hi.fmt = (c.fmt & LVCFMT_JUSTIFYMASK) | HDF_STRING | ((c.fmt & LVCFMT_IMAGE) ? HDF_IMAGE : 0);
  }
  if (in->mask & LVCF_WIDTH) {
    hi.mask |= HDI_WIDTH;
    hi.cxy = std::max(0, in->cx);
  }
  if ((in->mask & LVCF_TEXT) && in->pszText) {
    hi.mask |= HDI_TEXT;
    hi.pszText = in->pszText;
  }
  if (in->mask & LVCF_IMAGE) {
    c.image = in->iImage;
    hi.mask |= HDI_IMAGE;
    hi.iImage = in->iImage;
  }
  if (in->mask & LVCF_SUBITEM) c.subItem = in->iSubItem;
  if (hi.mask) SendMessageA(lv->header, HDM_SETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&hi));
  return TRUE;
}

int TextWidth(const ListView* lv, const std::string& s) {
  HDC dc = GetDC(lv->hwnd);
  HGDIOBJ old = SelectObject(dc, lv->font ? lv->font : GetStockObject(DEFAULT_GUI_FONT));
  SIZE sz{};
  GetTextExtentPoint32A(dc, s.c_str(), static_cast<int>(s.size()), &sz);
  SelectObject(dc, old);
  ReleaseDC(lv->hwnd, dc);
  return sz.cx;
}

BOOL SetColumnWidth(ListView* lv, int index, int cx) {
  if (index < 0 || index >= ColumnCount(lv)) return FALSE;
  if (cx == LVSCW_AUTOSIZE || cx == LVSCW_AUTOSIZE_USEHEADER) {
    int w = 0;
    for (int i = 0; i < Count(lv); ++i) {
      const Item& it = lv->items[static_cast<size_t>(i)];
      w = std::max(w, TextWidth(lv, TextOf(it, index)));
    }
    if (cx == LVSCW_AUTOSIZE_USEHEADER) {
      char text[256] = {0};
      HDITEMA hi{};
      hi.mask = HDI_TEXT;
      hi.pszText = text;
      hi.cchTextMax = sizeof(text);
      SendMessageA(lv->header, HDM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&hi));
      w = std::max(w, TextWidth(lv, text) + 12);
    }
    int icon = HasIconArea(lv, -1, index) ? SmallCx(lv) + kCellPadding : 0;
    cx = w + icon + (index == 0 ? StateCx(lv) : 0) + 4 * kCellPadding;
  }
  HDITEMA hi{};
  hi.mask = HDI_WIDTH;
  hi.cxy = std::max(0, cx);
  return SendMessageA(lv->header, HDM_SETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&hi)) != 0;
}

// ---------------------------------------------------------------- hit tests

int RowAt(const ListView* lv, int y) {
  if (y < lv->headerHeight) return -1;
  int row = lv->top + (y - lv->headerHeight) / lv->itemHeight;
  return ValidItem(lv, row) ? row : -1;
}

int ColumnAt(const ListView* lv, int x) {
  for (int col : DisplayOrder(lv)) {
    RECT e = ColumnEdges(lv, col);
    if (x >= e.left && x < e.right) return col;
  }
  return -1;
}

UINT PartAt(const ListView* lv, int item, int col, POINT pt) {
  CellParts p = PartsOf(lv, item, col);
  if (col == 0 && pt.x >= p.state.left && pt.x < p.state.right) return LVHT_ONITEMSTATEICON;
  if (pt.x >= p.icon.left && pt.x < p.icon.right) return LVHT_ONITEMICON;
  return LVHT_ONITEMLABEL;
}

int HitTest(const ListView* lv, LVHITTESTINFO* info, bool subItems) {
  RECT client = Client(lv);
  POINT pt = info->pt;
  info->flags = 0;
  info->iItem = -1;
  if (subItems) info->iSubItem = -1;
  if (pt.x < 0) info->flags |= LVHT_TOLEFT;
  if (pt.x >= client.right) info->flags |= LVHT_TORIGHT;
  if (pt.y < 0) info->flags |= LVHT_ABOVE;
  if (pt.y >= client.bottom) info->flags |= LVHT_BELOW;
  if (info->flags) return -1;
  int row = RowAt(lv, pt.y);
  int col = ColumnAt(lv, pt.x);
  if (subItems) {
    info->iSubItem = col;
    info->iItem = row;
    if (row < 0 || col < 0) {
      info->flags = LVHT_NOWHERE;
      return -1;
    }
    info->flags = PartAt(lv, row, col, pt);
    return row;
  }
  if (row < 0) {
    info->flags = LVHT_NOWHERE;
    return -1;
  }
  if (col == 0) {
    info->flags = PartAt(lv, row, 0, pt);
  } else if ((lv->exStyle & LVS_EX_FULLROWSELECT) && pt.x < TotalWidth(lv) - lv->scrollX) {
    info->flags = LVHT_ONITEMLABEL;
  } else {
    info->flags = LVHT_NOWHERE;
    return -1;
  }
  info->iItem = row;
  return row;
}

// ---------------------------------------------------------------- scrolling

void ScrollTo(ListView* lv, int top, int x) {
  int oldTop = lv->top;
  int oldX = lv->scrollX;
  lv->top = top;
  ClampTop(lv);
  RECT client = Client(lv);
  int maxX = std::max(0, TotalWidth(lv) - static_cast<int>(client.right));
  lv->scrollX = std::clamp(x, 0, maxX);
  if (lv->top == oldTop && lv->scrollX == oldX) return;
  if (lv->scrollX != oldX) Layout(lv);
  UpdateScrollBars(lv);
  InvalidateAll(lv);
}

BOOL EnsureVisible(ListView* lv, int i, BOOL partialOk) {
  if (!ValidItem(lv, i)) return FALSE;
  int page = std::max(1, CountPerPage(lv));
  if (i < lv->top) ScrollTo(lv, i, lv->scrollX);
  else if (i >= lv->top + page && !(partialOk && i == lv->top + page)) ScrollTo(lv, i - page + 1, lv->scrollX);
  return TRUE;
}

void OnScroll(ListView* lv, bool vertical, WPARAM wParam) {
  int code = LOWORD(wParam);
  if (vertical) {
    int page = std::max(1, CountPerPage(lv));
    int top = lv->top;
    switch (code) {
      case SB_LINEUP: --top; break;
      case SB_LINEDOWN: ++top; break;
      case SB_PAGEUP: top -= page; break;
      case SB_PAGEDOWN: top += page; break;
      case SB_THUMBPOSITION:
      case SB_THUMBTRACK: top = static_cast<short>(HIWORD(wParam)); break;
      case SB_TOP: top = 0; break;
      case SB_BOTTOM: top = Count(lv); break;
      default: return;
    }
    ScrollTo(lv, top, lv->scrollX);
  } else {
    RECT client = Client(lv);
    int x = lv->scrollX;
    int line = 8;
    switch (code) {
      case SB_LINELEFT: x -= line; break;
      case SB_LINERIGHT: x += line; break;
      case SB_PAGELEFT: x -= client.right; break;
      case SB_PAGERIGHT: x += client.right; break;
      case SB_THUMBPOSITION:
      case SB_THUMBTRACK: x = static_cast<short>(HIWORD(wParam)); break;
      case SB_LEFT: x = 0; break;
      case SB_RIGHT: x = TotalWidth(lv); break;
      default: return;
    }
    ScrollTo(lv, lv->top, x);
  }
}

// ---------------------------------------------------------------- painting

struct Painter {
  ListView* lv;
  HDC dc;
  NMLVCUSTOMDRAW cd{};

  LRESULT Notify(DWORD stage, const RECT& rc, int item, int sub) {
    cd.nmcd.dwDrawStage = stage;
    cd.nmcd.hdc = dc;
    cd.nmcd.rc = rc;
    cd.nmcd.dwItemSpec = static_cast<DWORD_PTR>(item < 0 ? 0 : item);
    cd.iSubItem = sub;
    if (item >= 0 && ValidItem(lv, item)) {
      const Item& it = lv->items[static_cast<size_t>(item)];
      cd.nmcd.lItemlParam = it.param;
      cd.nmcd.uItemState = 0;
      if (it.state & LVIS_SELECTED) cd.nmcd.uItemState |= CDIS_SELECTED;
      if ((it.state & LVIS_FOCUSED) && HasFocus(lv)) cd.nmcd.uItemState |= CDIS_FOCUS;
    }
    SetTextColor(dc, cd.clrText);
    if (cd.clrTextBk != CLR_NONE) SetBkColor(dc, cd.clrTextBk);
    return PlatformSendNotify(lv->hwnd, NM_CUSTOMDRAW, &cd.nmcd.hdr);
  }

  void DrawCell(int item, int col) {
    const Item& it = lv->items[static_cast<size_t>(item)];
    CellParts p = PartsOf(lv, item, col);
    DWORD style = Style(lv->hwnd);
    bool rowSelected = (it.state & (LVIS_SELECTED | LVIS_DROPHILITED)) != 0;
    bool showSel = HasFocus(lv) || (style & LVS_SHOWSELALWAYS) || (it.state & LVIS_DROPHILITED);
    bool highlight = rowSelected && showSel && (col == 0 || (lv->exStyle & LVS_EX_FULLROWSELECT));
    COLORREF text = cd.clrText;
    COLORREF back = cd.clrTextBk;
    if (highlight) {
      bool active = HasFocus(lv) || (it.state & LVIS_DROPHILITED);
      back = GetSysColor(active ? COLOR_HIGHLIGHT : COLOR_BTNFACE);
      text = GetSysColor(active ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
    }
    RECT fill = p.bounds;
    if (col == 0 && !(lv->exStyle & LVS_EX_FULLROWSELECT)) fill.left = p.label.left;
    if (back != CLR_NONE) {
      HBRUSH b = CreateSolidBrush(back);
      FillRect(dc, &fill, b);
      DeleteObject(b);
    }
    if (col == 0 && p.state.right > p.state.left) {
      UINT stateImage = (it.state & LVIS_STATEIMAGEMASK) >> 12;
      if (lv->stateImages && stateImage > 0) {
        ImageList_Draw(lv->stateImages, static_cast<int>(stateImage) - 1, dc, p.state.left,
                       p.state.top + (lv->itemHeight - 16) / 2, ILD_TRANSPARENT);
      } else if (lv->exStyle & LVS_EX_CHECKBOXES) {
        RECT box{p.state.left + 2, p.state.top + (lv->itemHeight - 13) / 2, 0, 0};
        box.right = box.left + 13;
        box.bottom = box.top + 13;
        DrawFrameControl(dc, &box, DFC_BUTTON, DFCS_BUTTONCHECK | (stateImage == 2 ? DFCS_CHECKED : 0));
      }
    }
    int image = ImageOf(it, col);
    if (image >= 0 && p.icon.right > p.icon.left && lv->smallImages) {
      int cx = 0, cy = 0;
      ImageList_GetIconSize(lv->smallImages, &cx, &cy);
      int w = std::min(cx, static_cast<int>(p.bounds.right - p.icon.left));
      if (w > 0)
        ImageList_DrawEx(lv->smallImages, image, dc, p.icon.left, p.icon.top + (lv->itemHeight - cy) / 2, w, cy,
                         CLR_NONE, CLR_NONE, (highlight && HasFocus(lv)) ? ILD_SELECTED : ILD_TRANSPARENT);
    }
    const std::string& s = TextOf(it, col);
    if (!s.empty()) {
      RECT rc = p.label;
      rc.left += kCellPadding;
      rc.right -= kCellPadding;
      int fmt = lv->columns[static_cast<size_t>(col)].fmt & LVCFMT_JUSTIFYMASK;
      UINT align = fmt == LVCFMT_RIGHT ? DT_RIGHT : fmt == LVCFMT_CENTER ? DT_CENTER : DT_LEFT;
      COLORREF oldText = SetTextColor(dc, text);
      int oldMode = SetBkMode(dc, TRANSPARENT);
      if (rc.right > rc.left)
        DrawTextA(dc, s.c_str(), static_cast<int>(s.size()), &rc,
                  align | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
      SetBkMode(dc, oldMode);
      SetTextColor(dc, oldText);
    }
  }

  void GridLines(const RECT& client) {
    HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNFACE));
    HGDIOBJ old = SelectObject(dc, pen);
    for (int y = lv->headerHeight + lv->itemHeight - 1; y < client.bottom; y += lv->itemHeight) {
      MoveToEx(dc, client.left, y, nullptr);
      LineTo(dc, client.right, y);
    }
    for (int col : DisplayOrder(lv)) {
      RECT e = ColumnEdges(lv, col);
      MoveToEx(dc, e.right - 1, lv->headerHeight, nullptr);
      LineTo(dc, e.right - 1, client.bottom);
    }
    SelectObject(dc, old);
    DeleteObject(pen);
  }

  void Run() {
    RECT client = Client(lv);
    HWND hwnd = lv->hwnd;
    HGDIOBJ oldFont = SelectObject(dc, lv->font ? lv->font : GetStockObject(DEFAULT_GUI_FONT));
    cd.clrText = Resolve(lv->textColor, COLOR_WINDOWTEXT);
    cd.clrTextBk = lv->textBkColor;
    LRESULT whole = Notify(CDDS_PREPAINT, client, -1, 0);
    if ((lv = Get(hwnd)) == nullptr) return;
    if (!(whole & CDRF_SKIPDEFAULT)) {
      int last = std::min(Count(lv), lv->top + CountPerPage(lv) + 1);
      std::vector<int> order = DisplayOrder(lv);
      for (int i = lv->top; i < last && Get(hwnd); ++i) {
        cd.clrText = Resolve(lv->textColor, COLOR_WINDOWTEXT);
        cd.clrTextBk = lv->textBkColor;
        LRESULT item = CDRF_DODEFAULT;
        if (whole & CDRF_NOTIFYITEMDRAW) item = Notify(CDDS_ITEMPREPAINT, RowBounds(lv, i), i, 0);
        if ((lv = Get(hwnd)) == nullptr || !ValidItem(lv, i)) return;
        if (item & CDRF_SKIPDEFAULT) continue;
        COLORREF rowText = cd.clrText, rowBk = cd.clrTextBk;
        for (int col : order) {
          RECT e = ColumnEdges(lv, col);
          if (e.right <= 0 || e.left >= client.right || e.right <= e.left) continue;
          cd.clrText = rowText;
          cd.clrTextBk = rowBk;
          LRESULT sub = CDRF_DODEFAULT;
          if (item & CDRF_NOTIFYSUBITEMDRAW) {
            RECT cell = PartsOf(lv, i, col).bounds;
            sub = Notify(CDDS_ITEMPREPAINT | CDDS_SUBITEM, cell, i, col);
            if ((lv = Get(hwnd)) == nullptr || !ValidItem(lv, i)) return;
          }
          if (!(sub & CDRF_SKIPDEFAULT)) DrawCell(i, col);
        }
        if (HasFocus(lv) && lv->focus == i) {
          RECT rc = RowBounds(lv, i);
          if (!(lv->exStyle & LVS_EX_FULLROWSELECT)) {
            CellParts p = PartsOf(lv, i, 0);
            rc.left = p.label.left;
            rc.right = p.bounds.right;
          }
          DrawFocusRect(dc, &rc);
        }
        if (item & CDRF_NOTIFYPOSTPAINT) Notify(CDDS_ITEMPOSTPAINT, RowBounds(lv, i), i, 0);
      }
      if ((lv = Get(hwnd)) == nullptr) return;
      if (lv->exStyle & LVS_EX_GRIDLINES) GridLines(client);
      // An empty list with the focus outlines the row an item would take,
      // so that the keyboard's place shows.
      if (Count(lv) == 0 && HasFocus(lv)) {
        RECT rc = RowBounds(lv, 0);
        rc.left = client.left;
        rc.right = client.right;
        DrawFocusRect(dc, &rc);
      }
    }
    if (whole & CDRF_NOTIFYPOSTPAINT) Notify(CDDS_POSTPAINT, client, -1, 0);
    SelectObject(dc, oldFont);
  }
};

void Paint(ListView* lv, HDC dc) {
  if (!lv->redraw) return;
  Painter p{lv, dc};
  p.Run();
}

// ---------------------------------------------------------------- input

POINT Pt(LPARAM lParam) { return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

void OnButtonDown(ListView* lv, LPARAM lParam, bool right) {
  HWND hwnd = lv->hwnd;
  if (GetFocus() != hwnd) SetFocus(hwnd);
  if ((lv = Get(hwnd)) == nullptr) return;
  POINT pt = Pt(lParam);
  LVHITTESTINFO info{};
  info.pt = pt;
  int item = HitTest(lv, &info, false);
  bool ctrl = GetKeyState(VK_CONTROL) < 0 && !(Style(hwnd) & LVS_SINGLESEL);
  bool shift = GetKeyState(VK_SHIFT) < 0 && !(Style(hwnd) & LVS_SINGLESEL);
  if (item >= 0 && (info.flags & LVHT_ONITEMSTATEICON) && (lv->exStyle & LVS_EX_CHECKBOXES) && !right) {
    UINT now = lv->items[static_cast<size_t>(item)].state & LVIS_STATEIMAGEMASK;
    ChangeState(lv, item, INDEXTOSTATEIMAGEMASK(now == INDEXTOSTATEIMAGEMASK(2) ? 1 : 2), LVIS_STATEIMAGEMASK);
  } else if (item >= 0) {
    if (ctrl) {
      bool sel = lv->items[static_cast<size_t>(item)].state & LVIS_SELECTED;
      ChangeState(lv, item, (sel ? 0 : LVIS_SELECTED) | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
      if ((lv = Get(hwnd)) != nullptr) lv->mark = item;
    } else if (shift && ValidItem(lv, lv->mark)) {
      int a = std::min(lv->mark, item), b = std::max(lv->mark, item);
      for (int j = 0; (lv = Get(hwnd)) != nullptr && j < Count(lv); ++j)
        ChangeState(lv, j, (j >= a && j <= b) ? LVIS_SELECTED : 0, LVIS_SELECTED);
      if ((lv = Get(hwnd)) != nullptr) ChangeState(lv, item, LVIS_FOCUSED, LVIS_FOCUSED);
    } else if (!(lv->items[static_cast<size_t>(item)].state & LVIS_SELECTED) || right) {
      SelectOnly(lv, item);
    } else {
      ChangeState(lv, item, LVIS_FOCUSED, LVIS_FOCUSED);
    }
  } else if (!ctrl) {
    for (int j = 0; (lv = Get(hwnd)) != nullptr && j < Count(lv); ++j) ChangeState(lv, j, 0, LVIS_SELECTED);
  }
  if ((lv = Get(hwnd)) == nullptr) return;
  // A press that moves far enough becomes a drag of the pressed row; one that
  // is released first is a click (sent with the release).
  if (DragDetect(hwnd, pt)) {
    if ((lv = Get(hwnd)) != nullptr && item >= 0 && ValidItem(lv, item)) {
      // A drag of a row that was already selected keeps the whole selection.
      NotifyListView(lv, right ? LVN_BEGINRDRAG : LVN_BEGINDRAG, item, 0, 0, 0, 0, pt,
                     lv->items[static_cast<size_t>(item)].param);
    }
    return;
  }
  if ((lv = Get(hwnd)) == nullptr) return;
  lv->pressed = true;
  lv->pressPoint = pt;
}

// What a click or double click at the mouse position in lParam reports.
NMITEMACTIVATE ActivationAt(ListView* lv, LPARAM lParam) {
  LVHITTESTINFO info{};
  info.pt = Pt(lParam);
  HitTest(lv, &info, true);
  NMITEMACTIVATE nm{};
  nm.iItem = info.iItem;
  nm.iSubItem = info.iSubItem;
  nm.ptAction = info.pt;
  return nm;
}

void OnButtonUp(ListView* lv, LPARAM lParam, bool right) {
  if (!lv->pressed) return;
  lv->pressed = false;
  NMITEMACTIVATE nm = ActivationAt(lv, lParam);
  if (GetKeyState(VK_CONTROL) < 0) nm.uKeyFlags |= 0x0001;  // LVKF_CONTROL
  if (GetKeyState(VK_SHIFT) < 0) nm.uKeyFlags |= 0x0002;    // LVKF_SHIFT
  PlatformSendNotify(lv->hwnd, right ? NM_RCLICK : NM_CLICK, &nm.hdr);
}

void OnKeyDown(ListView* lv, WPARAM vk) {
  HWND hwnd = lv->hwnd;
  NMLVKEYDOWN kd{};
  kd.wVKey = static_cast<WORD>(vk);
  PlatformSendNotify(hwnd, LVN_KEYDOWN, &kd.hdr);
  if ((lv = Get(hwnd)) == nullptr || Count(lv) == 0) return;
  int page = std::max(1, CountPerPage(lv));
  int now = lv->focus >= 0 ? lv->focus : 0;
  int next = now;
  switch (vk) {
    case VK_UP: next = now - 1; break;
    case VK_DOWN: next = lv->focus < 0 ? 0 : now + 1; break;
    case VK_PRIOR: next = now - page; break;
    case VK_NEXT: next = now + page; break;
    case VK_HOME: next = 0; break;
    case VK_END: next = Count(lv) - 1; break;
    case VK_SPACE:
      if (lv->exStyle & LVS_EX_CHECKBOXES) {
        UINT st = lv->items[static_cast<size_t>(now)].state & LVIS_STATEIMAGEMASK;
        ChangeState(lv, now, INDEXTOSTATEIMAGEMASK(st == INDEXTOSTATEIMAGEMASK(2) ? 1 : 2), LVIS_STATEIMAGEMASK);
      }
      return;
    case VK_RETURN:
      PlatformSendNotify(hwnd, NM_RETURN, nullptr);
      return;
    default: return;
  }
  next = std::clamp(next, 0, Count(lv) - 1);
  SelectOnly(lv, next);
  if ((lv = Get(hwnd)) != nullptr) EnsureVisible(lv, next, FALSE);
}

// ---------------------------------------------------------------- the procedure

LRESULT CALLBACK ListViewProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  ListView* lv = Get(hwnd);
  switch (msg) {
    case WM_NCCREATE:
      ctl::MakeState<ListView>(hwnd)->hwnd = hwnd;
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_NCDESTROY:
      ctl::FreeState<ListView>(hwnd);
      return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
  if (!lv) return DefWindowProcA(hwnd, msg, wParam, lParam);

  switch (msg) {
    case WM_CREATE: {
      RECT client = Client(lv);
      lv->header = CreateWindowExA(0, WC_HEADER, "", WS_CHILD | HDS_HORZ | HDS_BUTTONS | HDS_FULLDRAG, 0, 0,
                                   client.right, 0, hwnd, nullptr, nullptr, nullptr);
      if (!lv->header) return -1;
      ComputeItemHeight(lv);
      Layout(lv);
      return 0;
    }
    case WM_DESTROY:
      lv->destroying = true;
      DeleteAllItems(lv);
      return 0;

    // Items.
    case LVM_GETITEMCOUNT: return Count(lv);
    case LVM_SETITEMCOUNT: return TRUE;
    case LVM_INSERTITEMA: return InsertItem(lv, reinterpret_cast<const LVITEMA*>(lParam));
    case LVM_DELETEITEM: return DeleteItem(lv, static_cast<int>(wParam));
    case LVM_DELETEALLITEMS: return DeleteAllItems(lv);
    case LVM_GETITEMA: return GetItem(lv, reinterpret_cast<LVITEMA*>(lParam));
    case LVM_SETITEMA: return SetItem(lv, reinterpret_cast<const LVITEMA*>(lParam));
    case LVM_GETITEMTEXTA: {
      auto* in = reinterpret_cast<LVITEMA*>(lParam);
      if (!in || !ValidItem(lv, static_cast<int>(wParam))) return 0;
      in->iItem = static_cast<int>(wParam);
      in->mask = LVIF_TEXT;
      if (!GetItem(lv, in) || !in->pszText) return 0;
      return static_cast<LRESULT>(strlen(in->pszText));
    }
    case LVM_SETITEMTEXTA: {
      auto* in = reinterpret_cast<const LVITEMA*>(lParam);
      if (!in) return FALSE;
      LVITEMA copy = *in;
      copy.iItem = static_cast<int>(wParam);
      copy.mask = LVIF_TEXT;
      return SetItem(lv, &copy);
    }
    case LVM_SETITEMSTATE: {
      auto* in = reinterpret_cast<const LVITEMA*>(lParam);
      if (!in) return FALSE;
      int i = static_cast<int>(static_cast<INT_PTR>(wParam));
      if (i == -1) {
        for (int j = 0; (lv = Get(hwnd)) != nullptr && j < Count(lv); ++j) ChangeState(lv, j, in->state, in->stateMask);
        return TRUE;
      }
      return ChangeState(lv, i, in->state, in->stateMask);
    }
    case LVM_GETITEMSTATE: {
      int i = static_cast<int>(wParam);
      return ValidItem(lv, i) ? (lv->items[static_cast<size_t>(i)].state & static_cast<UINT>(lParam)) : 0;
    }
    case LVM_GETNEXTITEM:
      return GetNextItem(lv, static_cast<int>(static_cast<INT_PTR>(wParam)), static_cast<UINT>(LOWORD(lParam)));
    case LVM_GETSELECTEDCOUNT: {
      int n = 0;
      for (const Item& it : lv->items) n += (it.state & LVIS_SELECTED) ? 1 : 0;
      return n;
    }
    case LVM_GETSELECTIONMARK: return lv->mark;
    case LVM_SETSELECTIONMARK: {
      int old = lv->mark;
      lv->mark = static_cast<int>(lParam);
      return old;
    }
    case LVM_FINDITEMA: {
      auto* fi = reinterpret_cast<const LVFINDINFOA*>(lParam);
      if (!fi) return -1;
      for (int i = static_cast<int>(static_cast<INT_PTR>(wParam)) + 1; i < Count(lv); ++i) {
        const Item& it = lv->items[static_cast<size_t>(i)];
        if ((fi->flags & LVFI_PARAM) && it.param == fi->lParam) return i;
        if ((fi->flags & LVFI_STRING) && fi->psz) {
          size_t n = (fi->flags & LVFI_PARTIAL) ? strlen(fi->psz) : std::string::npos;
          if (strncasecmp(TextOf(it, 0).c_str(), fi->psz, n == std::string::npos ? TextOf(it, 0).size() + 1 : n) ==
              0)
            return i;
        }
      }
      return -1;
    }
    case LVM_SORTITEMS: {
      auto compare = reinterpret_cast<PFNLVCOMPARE>(lParam);
      if (!compare) return FALSE;
      LPARAM sortParam = static_cast<LPARAM>(wParam);
      std::stable_sort(lv->items.begin(), lv->items.end(), [&](const Item& a, const Item& b) {
        return compare(a.param, b.param, sortParam) < 0;
      });
      lv->focus = GetNextItem(lv, -1, LVNI_FOCUSED);
      InvalidateAll(lv);
      return TRUE;
    }

    // Columns.
    case LVM_INSERTCOLUMNA:
      return InsertColumn(lv, static_cast<int>(wParam), reinterpret_cast<const LVCOLUMNA*>(lParam));
    case LVM_DELETECOLUMN: return DeleteColumn(lv, static_cast<int>(wParam));
    case LVM_GETCOLUMNA: return GetColumn(lv, static_cast<int>(wParam), reinterpret_cast<LVCOLUMNA*>(lParam));
    case LVM_SETCOLUMNA: return SetColumn(lv, static_cast<int>(wParam), reinterpret_cast<const LVCOLUMNA*>(lParam));
    case LVM_GETCOLUMNWIDTH: {
      int c = static_cast<int>(wParam);
      return c >= 0 && c < ColumnCount(lv) ? ColumnWidth(lv, c) : 0;
    }
    case LVM_SETCOLUMNWIDTH: return SetColumnWidth(lv, static_cast<int>(wParam), static_cast<short>(LOWORD(lParam)));
    case LVM_GETCOLUMNORDERARRAY:
      return SendMessageA(lv->header, HDM_GETORDERARRAY, wParam, lParam);
    case LVM_SETCOLUMNORDERARRAY: {
      LRESULT r = SendMessageA(lv->header, HDM_SETORDERARRAY, wParam, lParam);
      InvalidateAll(lv);
      return r;
    }
    case LVM_GETHEADER: return reinterpret_cast<LRESULT>(lv->header);

    // Styles, colours, images.
    case LVM_SETEXTENDEDLISTVIEWSTYLE: {
      DWORD old = lv->exStyle;
      DWORD mask = wParam ? static_cast<DWORD>(wParam) : ~0u;
      lv->exStyle = (old & ~mask) | (static_cast<DWORD>(lParam) & mask);
      if (lv->exStyle & LVS_EX_HEADERDRAGDROP)
        SetWindowLongA(lv->header, GWL_STYLE, GetWindowLongA(lv->header, GWL_STYLE) | HDS_DRAGDROP);
      if ((old ^ lv->exStyle) & LVS_EX_CHECKBOXES) {
        for (Item& it : lv->items)
          if ((lv->exStyle & LVS_EX_CHECKBOXES) && !(it.state & LVIS_STATEIMAGEMASK))
            it.state |= INDEXTOSTATEIMAGEMASK(1);
      }
      ComputeItemHeight(lv);
      InvalidateAll(lv);
      return old;
    }
    case LVM_GETEXTENDEDLISTVIEWSTYLE: return lv->exStyle;
    case LVM_SETIMAGELIST: {
      HIMAGELIST list = reinterpret_cast<HIMAGELIST>(lParam);
      HIMAGELIST old = nullptr;
      if (wParam == LVSIL_SMALL) std::swap(old = list, lv->smallImages);
      else if (wParam == LVSIL_STATE) std::swap(old = list, lv->stateImages);
      else if (wParam == LVSIL_NORMAL) std::swap(old = list, lv->normalImages);
      ComputeItemHeight(lv);
      UpdateScrollBars(lv);
      InvalidateAll(lv);
      return reinterpret_cast<LRESULT>(old);
    }
    case LVM_GETIMAGELIST:
      return reinterpret_cast<LRESULT>(wParam == LVSIL_SMALL   ? lv->smallImages
                                       : wParam == LVSIL_STATE ? lv->stateImages
                                                               : lv->normalImages);
    case LVM_GETBKCOLOR: return Resolve(lv->bkColor, COLOR_WINDOW);
    case LVM_SETBKCOLOR: lv->bkColor = static_cast<COLORREF>(lParam); InvalidateAll(lv); return TRUE;
    case LVM_GETTEXTCOLOR: return Resolve(lv->textColor, COLOR_WINDOWTEXT);
    case LVM_SETTEXTCOLOR: lv->textColor = static_cast<COLORREF>(lParam); InvalidateAll(lv); return TRUE;
    case LVM_GETTEXTBKCOLOR: return lv->textBkColor;
    case LVM_SETTEXTBKCOLOR: lv->textBkColor = static_cast<COLORREF>(lParam); InvalidateAll(lv); return TRUE;

    // Geometry and hit tests.
    case LVM_GETITEMRECT: {
      auto* rc = reinterpret_cast<RECT*>(lParam);
      int i = static_cast<int>(wParam);
      if (!rc || !ValidItem(lv, i)) return FALSE;
      int code = rc->left;
      CellParts p = PartsOf(lv, i, 0);
      switch (code) {
        case LVIR_BOUNDS: *rc = RowBounds(lv, i); break;
        case LVIR_ICON: *rc = p.icon; break;
        case LVIR_LABEL: *rc = p.label; break;
        case LVIR_SELECTBOUNDS:
          *rc = (lv->exStyle & LVS_EX_FULLROWSELECT) ? RowBounds(lv, i) : RECT{p.icon.left, p.label.top,
                                                                                p.label.right, p.label.bottom};
          break;
        default: return FALSE;
      }
      return TRUE;
    }
    case LVM_GETSUBITEMRECT: {
      auto* rc = reinterpret_cast<RECT*>(lParam);
      int i = static_cast<int>(wParam);
      if (!rc || !ValidItem(lv, i)) return FALSE;
      int col = rc->top;
      int code = rc->left;
      if (col < 0 || col >= std::max(1, ColumnCount(lv))) return FALSE;
      if (ColumnCount(lv) == 0) {
        *rc = RowBounds(lv, i);
        return TRUE;
      }
      CellParts p = PartsOf(lv, i, col);
      switch (code) {
        // Sub-item 0's bounds are the whole row, as the list view has always answered.
        case LVIR_BOUNDS: *rc = col == 0 ? RowBounds(lv, i) : p.bounds; break;
        case LVIR_ICON: *rc = p.icon; break;
        case LVIR_LABEL: *rc = p.label; break;
        case LVIR_SELECTBOUNDS: *rc = p.bounds; break;
        default: return FALSE;
      }
      return TRUE;
    }
    case LVM_GETITEMPOSITION: {
      auto* pt = reinterpret_cast<POINT*>(lParam);
      int i = static_cast<int>(wParam);
      if (!pt || i < 0) return FALSE;
      // Rows past the last one are answered where they would lie, so that a
      // background can rule lines for the whole page.
      pt->x = -lv->scrollX;
      pt->y = RowTop(lv, i);
      return ValidItem(lv, i);
    }
    case LVM_GETVIEWRECT: {
      auto* rc = reinterpret_cast<RECT*>(lParam);
      if (!rc) return FALSE;
      *rc = RECT{-lv->scrollX, lv->headerHeight, TotalWidth(lv) - lv->scrollX,
                 lv->headerHeight + (Count(lv) - lv->top) * lv->itemHeight};
      return TRUE;
    }
    case LVM_HITTEST: {
      auto* info = reinterpret_cast<LVHITTESTINFO*>(lParam);
      return info ? HitTest(lv, info, false) : -1;
    }
    case LVM_SUBITEMHITTEST: {
      auto* info = reinterpret_cast<LVHITTESTINFO*>(lParam);
      return info ? HitTest(lv, info, true) : -1;
    }

    // Scrolling and redrawing.
    case LVM_GETTOPINDEX: return lv->top;
    case LVM_GETCOUNTPERPAGE: return CountPerPage(lv);
    case LVM_SCROLL: {
      int dx = static_cast<int>(wParam);
      int dy = static_cast<int>(lParam);
      // dy is in pixels and moves by whole rows, rounding away from zero.
      int rows = dy == 0 ? 0 : (dy > 0 ? (dy + lv->itemHeight - 1) / lv->itemHeight
                                       : -((-dy + lv->itemHeight - 1) / lv->itemHeight));
      ScrollTo(lv, lv->top + rows, lv->scrollX + dx);
      return TRUE;
    }
    case LVM_ENSUREVISIBLE: return EnsureVisible(lv, static_cast<int>(wParam), static_cast<BOOL>(lParam));
    case LVM_REDRAWITEMS: {
      int first = std::max(0, static_cast<int>(wParam));
      int last = std::min(Count(lv) - 1, static_cast<int>(lParam));
      for (int i = first; i <= last; ++i) InvalidateItem(lv, i);
      return TRUE;
    }
    case LVM_UPDATE:
      InvalidateItem(lv, static_cast<int>(wParam));
      UpdateWindow(hwnd);
      return TRUE;
    case LVM_CREATEDRAGIMAGE:
      return reinterpret_cast<LRESULT>(
          PlatformListViewDragImage(hwnd, static_cast<int>(wParam), reinterpret_cast<POINT*>(lParam)));
    case LVM_GETTOOLTIPS: return 0;

    // Window messages.
    case WM_SETFONT:
      lv->font = reinterpret_cast<HFONT>(wParam);
      SendMessageA(lv->header, WM_SETFONT, wParam, lParam);
      ComputeItemHeight(lv);
      Layout(lv);
      UpdateScrollBars(lv);
      if (LOWORD(lParam)) InvalidateAll(lv);
      return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(lv->font);
    case WM_SETREDRAW:
      lv->redraw = wParam != 0;
      if (lv->redraw) {
        UpdateScrollBars(lv);
        InvalidateRect(hwnd, nullptr, TRUE);
      }
      return 0;
    case WM_SIZE:
      Layout(lv);
      ClampTop(lv);
      UpdateScrollBars(lv);
      return 0;
    case WM_STYLECHANGED:
      Layout(lv);
      InvalidateAll(lv);
      return 0;
    case WM_ERASEBKGND: {
      COLORREF bk = Resolve(lv->bkColor, COLOR_WINDOW);
      RECT rc = Client(lv);
      HBRUSH b = CreateSolidBrush(bk);
      FillRect(reinterpret_cast<HDC>(wParam), &rc, b);
      DeleteObject(b);
      return 1;
    }
    case WM_PRINTCLIENT:
    case WM_PAINT:
      ctl::PaintCycle(hwnd, wParam, [&](HDC dc) { Paint(lv, dc); });
      return 0;
    case WM_VSCROLL: OnScroll(lv, true, wParam); return 0;
    case WM_HSCROLL: OnScroll(lv, false, wParam); return 0;
    case WM_MOUSEWHEEL:
      ScrollTo(lv, lv->top - static_cast<short>(HIWORD(wParam)) / 120 * 3, lv->scrollX);
      return 0;
    case WM_LBUTTONDOWN: OnButtonDown(lv, lParam, false); return 0;
    case WM_RBUTTONDOWN: OnButtonDown(lv, lParam, true); return 0;
    case WM_LBUTTONUP: OnButtonUp(lv, lParam, false); return 0;
    case WM_RBUTTONUP: OnButtonUp(lv, lParam, true); return 0;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK: {
      NMITEMACTIVATE nm = ActivationAt(lv, lParam);
      PlatformSendNotify(hwnd, msg == WM_LBUTTONDBLCLK ? NM_DBLCLK : NM_RDBLCLK, &nm.hdr);
      return 0;
    }
    case WM_KEYDOWN: OnKeyDown(lv, wParam); return 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      PlatformSendNotify(hwnd, msg == WM_SETFOCUS ? NM_SETFOCUS : NM_KILLFOCUS, nullptr);
      if ((lv = Get(hwnd)) != nullptr) InvalidateAll(lv);
      return 0;
    case WM_NOTIFY: {
      auto* nm = reinterpret_cast<NMHDR*>(lParam);
      if (!nm || nm->hwndFrom != lv->header) break;
      if (nm->code == HDN_ITEMCHANGEDA || nm->code == HDN_ITEMCHANGEDW) {
        UpdateScrollBars(lv);
        InvalidateAll(lv);
      } else if ((nm->code == HDN_ITEMCLICKA || nm->code == HDN_ITEMCLICKW) &&
                 !(Style(hwnd) & LVS_NOSORTHEADER)) {
        auto* hd = reinterpret_cast<NMHEADERA*>(lParam);
        NotifyListView(lv, LVN_COLUMNCLICK, -1, hd->iItem, 0, 0, 0, POINT{}, 0);
      }
      return 0;
    }
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace

LRESULT PlatformSendNotify(HWND from, UINT code, NMHDR* hdr) {
  NMHDR plain{};
  if (!hdr) hdr = &plain;
  hdr->hwndFrom = from;
  hdr->idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(from));
  hdr->code = code;
  HWND parent = ctl::NotifyTarget(from);
  if (!parent) return 0;
  return SendMessageA(parent, WM_NOTIFY, hdr->idFrom, reinterpret_cast<LPARAM>(hdr));
}

void PlatformRegisterCommonControls() {
  static std::once_flag once;
  std::call_once(once, [] {
    ctl::RegisterControlClass(WC_LISTVIEW, ListViewProc, LoadCursorA(nullptr, IDC_ARROW));
    PlatformRegisterHeaderClass();
    PlatformRegisterToolTipClass();
    PlatformRegisterTabControlClass();
    PlatformRegisterStatusBarClass();
    PlatformRegisterTreeViewClass();
    PlatformRegisterToolBarClass();
  });
}
