// The static control: text, frames and rectangles, icons and bitmaps.

#include <cstdlib>

#include "ControlUtil.h"
#include "Resource.h"

namespace {

struct StaticState {
  HANDLE image = nullptr;  // HICON or HBITMAP
  bool ownsBitmap = false;  // loaded from the template's "#id": ours to delete
};

void PaintStatic(HWND hwnd, HDC hdc) {
  DWORD style = ctl::Style(hwnd);
  DWORD type = style & SS_TYPEMASK;
  RECT rc;
  GetClientRect(hwnd, &rc);
  switch (type) {
    case SS_BLACKRECT:
    case SS_GRAYRECT:
    case SS_WHITERECT:
    case SS_BLACKFRAME:
    case SS_GRAYFRAME:
    case SS_WHITEFRAME: {
      static const int colors[] = {COLOR_WINDOWFRAME, COLOR_BTNSHADOW, COLOR_WINDOW};
      int index = static_cast<int>((type - SS_BLACKRECT) % 3);
      HBRUSH brush = GetSysColorBrush(colors[index]);
      if (type >= SS_BLACKFRAME)
        FrameRect(hdc, &rc, brush);
      else
        FillRect(hdc, &rc, brush);
      return;
    }
    case SS_ETCHEDHORZ:
    case SS_ETCHEDVERT:
    case SS_ETCHEDFRAME: {
      UINT sides = type == SS_ETCHEDHORZ ? BF_TOP : type == SS_ETCHEDVERT ? BF_LEFT : BF_RECT;
      DrawEdge(hdc, &rc, EDGE_ETCHED, sides);
      return;
    }
    case SS_OWNERDRAW: {
      DRAWITEMSTRUCT dis{ODT_STATIC, static_cast<UINT>(GetDlgCtrlID(hwnd)), 0, ODA_DRAWENTIRE,
                         IsWindowEnabled(hwnd) ? 0u : static_cast<UINT>(ODS_DISABLED), hwnd, hdc, rc, 0};
      SendMessageA(ctl::NotifyTarget(hwnd), WM_DRAWITEM, static_cast<WPARAM>(dis.CtlID), reinterpret_cast<LPARAM>(&dis));
      return;
    }
  }
  HBRUSH brush = ctl::ParentBrush(hwnd, hdc, WM_CTLCOLORSTATIC);
  ctl::FillUnlessHollow(hdc, rc, brush);
  if (style & SS_SUNKEN) DrawEdge(hdc, &rc, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
  StaticState* s = ctl::StateOf<StaticState>(hwnd);
  if (type == SS_ICON || type == SS_BITMAP) {
    if (!s || !s->image) return;
    if (type == SS_ICON) {
      DrawIconEx(hdc, 0, 0, static_cast<HICON>(s->image), 0, 0, 0, nullptr, DI_NORMAL);
      return;
    }
    BITMAP bm{};
    GetObjectA(s->image, sizeof bm, &bm);
    HDC mem = CreateCompatibleDC(hdc);
    HGDIOBJ old = SelectObject(mem, s->image);
    int x = 0, y = 0;
    if (style & SS_CENTERIMAGE) {
      x = (rc.right - bm.bmWidth) / 2;
      y = (rc.bottom - bm.bmHeight) / 2;
    }
    BitBlt(hdc, x, y, bm.bmWidth, bm.bmHeight, mem, 0, 0, SRCCOPY);
    SelectObject(mem, old);
    DeleteDC(mem);
    return;
  }
  std::string text = ctl::Text(hwnd);
  UINT format = DT_EXPANDTABS;
  if (type == SS_CENTER) format |= DT_CENTER | DT_WORDBREAK;
  else if (type == SS_RIGHT) format |= DT_RIGHT | DT_WORDBREAK;
  else if (type == SS_LEFT) format |= DT_WORDBREAK;
  else if (type == SS_SIMPLE || type == SS_LEFTNOWORDWRAP) format |= DT_SINGLELINE;
  if (style & SS_NOPREFIX) format |= DT_NOPREFIX;
  if (style & SS_CENTERIMAGE) format = (format & ~DT_WORDBREAK) | DT_SINGLELINE | DT_VCENTER;
  if (style & SS_ENDELLIPSIS) format |= DT_END_ELLIPSIS;
  if (!IsWindowEnabled(hwnd)) SetTextColor(hdc, GetSysColor(COLOR_GRAYTEXT));
  // The text itself never paints a background: the brush above did, or there is none.
  SetBkMode(hdc, TRANSPARENT);
  DrawTextA(hdc, text.c_str(), -1, &rc, format);
}

// "#123" in a template names an icon or bitmap resource.
HANDLE ImageFromText(HWND hwnd, const char* text, DWORD type) {
  if (!text || text[0] != '#') return nullptr;
  int id = std::atoi(text + 1);
  auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(hwnd, GWLP_HINSTANCE));
  if (type == SS_ICON) return LoadIconA(instance, MAKEINTRESOURCEA(id));
  return LoadBitmapA(instance, MAKEINTRESOURCEA(id));
}

}  // namespace

LRESULT CALLBACK StaticProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_NCCREATE: {
      ctl::MakeState<StaticState>(hwnd);
      auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
      DWORD type = static_cast<DWORD>(cs->style) & SS_TYPEMASK;
      if (type == SS_ICON || type == SS_BITMAP) {
        StaticState* s = ctl::StateOf<StaticState>(hwnd);
        s->image = ImageFromText(hwnd, cs->lpszName, type);
        s->ownsBitmap = type == SS_BITMAP && s->image;
        return TRUE;
      }
      break;
    }
    case WM_NCDESTROY:
      if (StaticState* s = ctl::StateOf<StaticState>(hwnd); s && s->ownsBitmap) DeleteObject(s->image);
      ctl::FreeState<StaticState>(hwnd);
      break;
    case WM_NCHITTEST:
      // Clicks go through to whatever lies below, unless the static wants them.
      return (ctl::Style(hwnd) & SS_NOTIFY) ? HTCLIENT : HTTRANSPARENT;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT:
      ctl::PaintCycle(hwnd, wParam, [&](HDC hdc) { PaintStatic(hwnd, hdc); });
      return 0;
    case WM_SETTEXT:
    case WM_ENABLE: {
      LRESULT r = DefWindowProcA(hwnd, msg, wParam, lParam);
      InvalidateRect(hwnd, nullptr, TRUE);
      return r;
    }
    case WM_LBUTTONDOWN:
      if (ctl::Style(hwnd) & SS_NOTIFY) ctl::Notify(hwnd, STN_CLICKED);
      return 0;
    case WM_LBUTTONDBLCLK:
      if (ctl::Style(hwnd) & SS_NOTIFY) ctl::Notify(hwnd, STN_DBLCLK);
      return 0;
    case WM_GETDLGCODE:
      return DLGC_STATIC;
    case STM_SETIMAGE:
    case STM_SETICON: {
      StaticState* s = ctl::StateOf<StaticState>(hwnd);
      if (!s) return 0;
      // The old image goes back to the caller, who owns it from now on.
      HANDLE old = s->image;
      s->ownsBitmap = false;
      s->image = reinterpret_cast<HANDLE>(msg == STM_SETICON ? wParam : lParam);
      InvalidateRect(hwnd, nullptr, TRUE);
      return reinterpret_cast<LRESULT>(old);
    }
    case STM_GETIMAGE:
    case STM_GETICON: {
      StaticState* s = ctl::StateOf<StaticState>(hwnd);
      return s ? reinterpret_cast<LRESULT>(s->image) : 0;
    }
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}
