// The header control: column items with text, bitmap, image and owner-draw
// formats, a display order, divider tracking and item clicks.

#include <algorithm>
#include <string>
#include <vector>

#include "CommCtrl.h"
#include "ControlUtil.h"
#include "Resource.h"

namespace {

const int kDividerGrip = 4;  // pixels either side of a divider that start tracking

struct HeaderItem {
  std::string text;
  int width = 0;
  int fmt = HDF_LEFT | HDF_STRING;
  LPARAM lParam = 0;
  HBITMAP bitmap = nullptr;
  int image = 0;
};

struct Header {
  HWND hwnd = nullptr;
  std::vector<HeaderItem> items;
  std::vector<int> order;  // display position -> item index
  HIMAGELIST images = nullptr;
  HFONT font = nullptr;
  int tracking = -1;  // item whose divider is dragged
  int trackStartX = 0;
  int trackStartWidth = 0;
  int trackWidth = 0;
  int pressed = -1;  // item pressed as a button
};

Header* Get(HWND hwnd) { return ctl::StateOf<Header>(hwnd); }

int Count(const Header* h) { return static_cast<int>(h->items.size()); }

// Item rectangles follow the display order.
RECT ItemRect(HWND hwnd, const Header* h, int index) {
  RECT client;
  GetClientRect(hwnd, &client);
  RECT rc{0, 0, 0, client.bottom};
  int x = 0;
  for (int pos = 0; pos < Count(h); ++pos) {
    int i = h->order[static_cast<size_t>(pos)];
    int w = h->items[static_cast<size_t>(i)].width;
    if (i == index) {
      rc.left = x;
      rc.right = x + w;
      return rc;
    }
    x += w;
  }
  return rc;
}

LRESULT Notify(HWND hwnd, UINT code, int item, HDITEMA* pitem) {
  NMHEADERA nm{};
  nm.iItem = item;
  nm.pitem = pitem;
  return PlatformSendNotify(hwnd, code, &nm.hdr);
}

UINT HitTest(HWND hwnd, const Header* h, POINT pt, int* item) {
  *item = -1;
  RECT client;
  GetClientRect(hwnd, &client);
  if (pt.y < 0 || pt.y >= client.bottom) return HHT_NOWHERE;
  // A divider wins over the item under it: the right edge of the last item
  // whose edge is near, so a zero-width column can still be widened.
  int x = 0;
  int divider = -1;
  for (int pos = 0; pos < Count(h); ++pos) {
    int i = h->order[static_cast<size_t>(pos)];
    x += h->items[static_cast<size_t>(i)].width;
    if (pt.x >= x - kDividerGrip && pt.x < x + kDividerGrip) divider = i;
  }
  if (divider >= 0) {
    *item = divider;
    return HHT_ONDIVIDER;
  }
  for (int i = 0; i < Count(h); ++i) {
    RECT rc = ItemRect(hwnd, h, i);
    if (pt.x >= rc.left && pt.x < rc.right) {
      *item = i;
      return HHT_ONHEADER;
    }
  }
  return HHT_NOWHERE;
}

// Fills `out` for the fields `mask` asks for; text is copied within cchTextMax.
void ReadItem(const HeaderItem& it, int order, HDITEMA* out) {
  if (out->mask & HDI_WIDTH) out->cxy = it.width;
  if (out->mask & HDI_FORMAT) out->fmt = it.fmt;
  if (out->mask & HDI_LPARAM) out->lParam = it.lParam;
  if (out->mask & HDI_BITMAP) out->hbm = it.bitmap;
  if (out->mask & HDI_IMAGE) out->iImage = it.image;
  if (out->mask & HDI_ORDER) out->iOrder = order;
  if ((out->mask & HDI_TEXT) && out->pszText && out->cchTextMax > 0) {
    size_t n = std::min(it.text.size(), static_cast<size_t>(out->cchTextMax - 1));
    it.text.copy(out->pszText, n);
    out->pszText[n] = 0;
  }
}

void WriteItem(HeaderItem* it, const HDITEMA* in) {
  if (in->mask & HDI_WIDTH) it->width = std::max(0, in->cxy);
  if (in->mask & HDI_FORMAT) it->fmt = in->fmt;
  if (in->mask & HDI_LPARAM) it->lParam = in->lParam;
  if (in->mask & HDI_BITMAP) it->bitmap = in->hbm;
  if (in->mask & HDI_IMAGE) it->image = in->iImage;
  if ((in->mask & HDI_TEXT) && in->pszText != LPSTR_TEXTCALLBACKA) it->text = in->pszText ? in->pszText : "";
}

int OrderOf(const Header* h, int index) {
  auto it = std::find(h->order.begin(), h->order.end(), index);
  return it == h->order.end() ? -1 : static_cast<int>(it - h->order.begin());
}

void MoveToOrder(Header* h, int index, int order) {
  h->order.erase(std::find(h->order.begin(), h->order.end(), index));
  order = std::clamp(order, 0, static_cast<int>(h->order.size()));
  h->order.insert(h->order.begin() + order, index);
}

BOOL SetItem(HWND hwnd, Header* h, int index, const HDITEMA* in) {
  if (index < 0 || index >= Count(h) || !in) return FALSE;
  HDITEMA copy = *in;
  if (Notify(hwnd, HDN_ITEMCHANGINGA, index, &copy)) return FALSE;
  h = Get(hwnd);  // the parent may have done anything meanwhile
  if (!h || index >= Count(h)) return FALSE;
  WriteItem(&h->items[static_cast<size_t>(index)], in);
  if (in->mask & HDI_ORDER) MoveToOrder(h, index, in->iOrder);
  Notify(hwnd, HDN_ITEMCHANGEDA, index, &copy);
  InvalidateRect(hwnd, nullptr, TRUE);
  return TRUE;
}

int InsertItem(HWND hwnd, Header* h, int index, const HDITEMA* in) {
  if (!in || index < 0) return -1;
  index = std::min(index, Count(h));
  HeaderItem item;
  WriteItem(&item, in);
  h->items.insert(h->items.begin() + index, item);
  for (int& o : h->order)
    if (o >= index) ++o;
  h->order.push_back(index);
  if (in->mask & HDI_ORDER) MoveToOrder(h, index, in->iOrder);
  InvalidateRect(hwnd, nullptr, TRUE);
  return index;
}

BOOL DeleteItem(HWND hwnd, Header* h, int index) {
  if (index < 0 || index >= Count(h)) return FALSE;
  h->items.erase(h->items.begin() + index);
  h->order.erase(std::find(h->order.begin(), h->order.end(), index));
  for (int& o : h->order)
    if (o > index) --o;
  InvalidateRect(hwnd, nullptr, TRUE);
  return TRUE;
}

int HeaderHeight(HWND hwnd, const Header* h) {
  HDC dc = GetDC(hwnd);
  HGDIOBJ old = SelectObject(dc, h->font ? h->font : GetStockObject(DEFAULT_GUI_FONT));
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(hwnd, dc);
  return tm.tmHeight + 4;
}

void DrawOneItem(HWND hwnd, Header* h, HDC dc, int index, const RECT& rcItem) {
  const HeaderItem& it = h->items[static_cast<size_t>(index)];
  if (it.fmt & HDF_OWNERDRAW) {
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_HEADER;
    dis.CtlID = static_cast<UINT>(GetDlgCtrlID(hwnd));
    dis.itemID = static_cast<UINT>(index);
    dis.itemAction = ODA_DRAWENTIRE;
    dis.itemState = h->pressed == index ? ODS_SELECTED : 0;
    dis.hwndItem = hwnd;
    dis.hDC = dc;
    dis.rcItem = rcItem;
    dis.itemData = static_cast<ULONG_PTR>(it.lParam);
    SendMessageA(ctl::NotifyTarget(hwnd), WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
    return;
  }
  RECT rc = rcItem;
  FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
  DrawEdge(dc, &rc, h->pressed == index ? BDR_SUNKENOUTER : EDGE_RAISED, BF_RECT | BF_SOFT);
  InflateRect(&rc, -6, 0);
  if ((it.fmt & HDF_IMAGE) && h->images && it.image >= 0) {
    int cx = 0, cy = 0;
    ImageList_GetIconSize(h->images, &cx, &cy);
    if (rc.right - rc.left >= cx) {
      ImageList_Draw(h->images, it.image, dc, rc.left, (rc.top + rc.bottom - cy) / 2, ILD_TRANSPARENT);
      rc.left += cx + 6;
    }
  }
  if ((it.fmt & HDF_BITMAP) && it.bitmap) {
    BITMAP bm{};
    GetObjectA(it.bitmap, sizeof(bm), &bm);
    if (rc.right - rc.left >= bm.bmWidth) {
      HDC mem = CreateCompatibleDC(dc);
      HGDIOBJ old = SelectObject(mem, it.bitmap);
      BitBlt(dc, rc.left, (rc.top + rc.bottom - bm.bmHeight) / 2, bm.bmWidth, bm.bmHeight, mem, 0, 0, SRCCOPY);
      SelectObject(mem, old);
      DeleteDC(mem);
      rc.left += bm.bmWidth + 6;
    }
  }
  if ((it.fmt & HDF_STRING) && rc.right > rc.left) {
    UINT align = (it.fmt & HDF_JUSTIFYMASK) == HDF_RIGHT ? DT_RIGHT
                 : (it.fmt & HDF_JUSTIFYMASK) == HDF_CENTER ? DT_CENTER
                                                            : DT_LEFT;
    DrawTextA(dc, it.text.c_str(), -1, &rc, align | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
}

void Paint(HWND hwnd, Header* h, HDC dc) {
  RECT client;
  GetClientRect(hwnd, &client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  HGDIOBJ oldFont = SelectObject(dc, h->font ? h->font : GetStockObject(DEFAULT_GUI_FONT));
  int oldMode = SetBkMode(dc, TRANSPARENT);
  COLORREF oldColor = SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  int right = 0;
  for (int pos = 0; pos < Count(h); ++pos) {
    int i = h->order[static_cast<size_t>(pos)];
    RECT rc = ItemRect(hwnd, h, i);
    right = rc.right;
    if (rc.right > rc.left) DrawOneItem(hwnd, h, dc, i, rc);
  }
  if (right < client.right) {
    RECT rest{right, 0, client.right, client.bottom};
    DrawEdge(dc, &rest, EDGE_RAISED, BF_RECT | BF_SOFT);
  }
  SetTextColor(dc, oldColor);
  SetBkMode(dc, oldMode);
  SelectObject(dc, oldFont);
}

void EndTracking(HWND hwnd, Header* h, bool apply) {
  int item = h->tracking;
  h->tracking = -1;
  if (GetCapture() == hwnd) ReleaseCapture();
  if (!apply || item < 0 || item >= Count(h)) return;
  HDITEMA hi{};
  hi.mask = HDI_WIDTH;
  hi.cxy = h->trackWidth;
  Notify(hwnd, HDN_ENDTRACKA, item, &hi);
  if ((h = Get(hwnd)) != nullptr) SetItem(hwnd, h, item, &hi);
}

LRESULT CALLBACK HeaderProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Header* h = Get(hwnd);
  switch (msg) {
    case WM_NCCREATE:
      ctl::MakeState<Header>(hwnd)->hwnd = hwnd;
      return TRUE;
    case WM_NCDESTROY:
      ctl::FreeState<Header>(hwnd);
      return 0;
  }
  if (!h) return DefWindowProcA(hwnd, msg, wParam, lParam);

  switch (msg) {
    case HDM_GETITEMCOUNT:
      return Count(h);
    case HDM_INSERTITEMA:
      return InsertItem(hwnd, h, static_cast<int>(wParam), reinterpret_cast<const HDITEMA*>(lParam));
    case HDM_DELETEITEM:
      return DeleteItem(hwnd, h, static_cast<int>(wParam));
    case HDM_GETITEMA: {
      int i = static_cast<int>(wParam);
      auto* out = reinterpret_cast<HDITEMA*>(lParam);
      if (i < 0 || i >= Count(h) || !out) return FALSE;
      ReadItem(h->items[static_cast<size_t>(i)], OrderOf(h, i), out);
      return TRUE;
    }
    case HDM_SETITEMA:
      return SetItem(hwnd, h, static_cast<int>(wParam), reinterpret_cast<const HDITEMA*>(lParam));
    case HDM_LAYOUT: {
      auto* layout = reinterpret_cast<HDLAYOUT*>(lParam);
      if (!layout || !layout->prc || !layout->pwpos) return FALSE;
      int cy = (GetWindowLongA(hwnd, GWL_STYLE) & HDS_HIDDEN) ? 0 : HeaderHeight(hwnd, h);
      WINDOWPOS& wp = *layout->pwpos;
      wp.hwnd = hwnd;
      wp.hwndInsertAfter = nullptr;
      wp.x = layout->prc->left;
      wp.y = layout->prc->top;
      wp.cx = layout->prc->right - layout->prc->left;
      wp.cy = cy;
      wp.flags = SWP_NOZORDER | SWP_NOACTIVATE;
      layout->prc->top += cy;
      return TRUE;
    }
    case HDM_HITTEST: {
      auto* info = reinterpret_cast<HDHITTESTINFO*>(lParam);
      if (!info) return -1;
      info->flags = HitTest(hwnd, h, info->pt, &info->iItem);
      return info->iItem;
    }
    case HDM_GETITEMRECT: {
      int i = static_cast<int>(wParam);
      auto* rc = reinterpret_cast<RECT*>(lParam);
      if (i < 0 || i >= Count(h) || !rc) return FALSE;
      *rc = ItemRect(hwnd, h, i);
      return TRUE;
    }
    case HDM_SETIMAGELIST: {
      HIMAGELIST old = h->images;
      h->images = reinterpret_cast<HIMAGELIST>(lParam);
      InvalidateRect(hwnd, nullptr, TRUE);
      return reinterpret_cast<LRESULT>(old);
    }
    case HDM_GETIMAGELIST:
      return reinterpret_cast<LRESULT>(h->images);
    case HDM_ORDERTOINDEX: {
      int pos = static_cast<int>(wParam);
      return pos >= 0 && pos < Count(h) ? h->order[static_cast<size_t>(pos)] : static_cast<LRESULT>(wParam);
    }
    case HDM_GETORDERARRAY: {
      auto* out = reinterpret_cast<int*>(lParam);
      if (!out || static_cast<int>(wParam) != Count(h)) return FALSE;
      std::copy(h->order.begin(), h->order.end(), out);
      return TRUE;
    }
    case HDM_SETORDERARRAY: {
      auto* in = reinterpret_cast<const int*>(lParam);
      if (!in || static_cast<int>(wParam) != Count(h)) return FALSE;
      std::vector<int> order(in, in + wParam);
      std::vector<int> sorted = order;
      std::sort(sorted.begin(), sorted.end());
      for (int i = 0; i < Count(h); ++i)
        if (sorted[static_cast<size_t>(i)] != i) return FALSE;  // not a permutation
      h->order = order;
      InvalidateRect(hwnd, nullptr, TRUE);
      return TRUE;
    }
    case WM_SETFONT:
      h->font = reinterpret_cast<HFONT>(wParam);
      if (LOWORD(lParam)) InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(h->font);
    case WM_ERASEBKGND:
      return 1;  // painting covers everything
    case WM_PRINTCLIENT:
      Paint(hwnd, h, reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_PAINT: {
      if (wParam) {
        Paint(hwnd, h, reinterpret_cast<HDC>(wParam));
        return 0;
      }
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      Paint(hwnd, h, dc);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_SETCURSOR: {
      POINT pt;
      GetCursorPos(&pt);
      ScreenToClient(hwnd, &pt);
      int item;
      if (HitTest(hwnd, h, pt, &item) == HHT_ONDIVIDER || h->tracking >= 0) {
        SetCursor(LoadCursorA(nullptr, IDC_SIZEWE));
        return TRUE;
      }
      break;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      int item;
      UINT where = HitTest(hwnd, h, pt, &item);
      if (where == HHT_ONDIVIDER) {
        HDITEMA hi{};
        hi.mask = HDI_WIDTH;
        hi.cxy = h->items[static_cast<size_t>(item)].width;
        if (Notify(hwnd, HDN_BEGINTRACKA, item, &hi)) return 0;  // the parent refused
        if ((h = Get(hwnd)) == nullptr || item >= Count(h)) return 0;
        h->tracking = item;
        h->trackStartX = pt.x;
        h->trackStartWidth = h->trackWidth = hi.cxy;
        SetCapture(hwnd);
      } else if (where == HHT_ONHEADER && (GetWindowLongA(hwnd, GWL_STYLE) & HDS_BUTTONS)) {
        h->pressed = item;
        SetCapture(hwnd);
        InvalidateRect(hwnd, nullptr, TRUE);
      }
      return 0;
    }
    case WM_MOUSEMOVE:
      if (h->tracking >= 0) {
        int item = h->tracking;
        HDITEMA hi{};
        hi.mask = HDI_WIDTH;
        hi.cxy = std::max(0, h->trackStartWidth + GET_X_LPARAM(lParam) - h->trackStartX);
        if (Notify(hwnd, HDN_TRACKA, item, &hi)) {
          if ((h = Get(hwnd)) != nullptr) EndTracking(hwnd, h, false);
          return 0;
        }
        if ((h = Get(hwnd)) == nullptr || h->tracking != item) return 0;
        h->trackWidth = hi.cxy;
        if (GetWindowLongA(hwnd, GWL_STYLE) & HDS_FULLDRAG) SetItem(hwnd, h, item, &hi);
      }
      return 0;
    case WM_LBUTTONUP:
      if (h->tracking >= 0) {
        EndTracking(hwnd, h, true);
      } else if (h->pressed >= 0) {
        int item = h->pressed;
        h->pressed = -1;
        ReleaseCapture();
        InvalidateRect(hwnd, nullptr, TRUE);
        POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        int over;
        if (HitTest(hwnd, h, pt, &over) == HHT_ONHEADER && over == item) Notify(hwnd, HDN_ITEMCLICKA, item, nullptr);
      }
      return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != hwnd) {
        h->tracking = -1;
        if (h->pressed >= 0) {
          h->pressed = -1;
          InvalidateRect(hwnd, nullptr, TRUE);
        }
      }
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE && h->tracking >= 0) EndTracking(hwnd, h, false);
      return 0;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace

void PlatformRegisterHeaderClass() { ctl::RegisterControlClass(WC_HEADER, HeaderProc, LoadCursorA(nullptr, IDC_ARROW)); }
