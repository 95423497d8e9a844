// What a window does with a message that its procedure leaves to the system.

#include <algorithm>
#include <cstring>

#include "UiPlatform.h"
#include "WindowManager.h"

using namespace wm;

namespace {

void StoreText(HWND hwnd, LPCSTR text) {
  bool caption;
  {
    Guard g(Lock());
    Window* w = Find(hwnd);
    if (!w) return;
    w->text = text ? text : "";
    caption = (w->style & WS_CAPTION) == WS_CAPTION;
    if (caption && ReallyVisible(w)) {
      w->ncPaint = true;
      if (w->queue) w->queue->Wake();
    }
  }
}

HBRUSH BackgroundBrush(HBRUSH brush) {
  // A class brush may name a system colour as (COLOR_x + 1).
  auto value = reinterpret_cast<ULONG_PTR>(brush);
  if (value > 0 && value <= COLOR_MENUBAR + 1) return GetSysColorBrush(static_cast<int>(value - 1));
  return brush;
}

}  // namespace

LRESULT CallWindowProcA(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return proc ? proc(hwnd, msg, wParam, lParam) : 0;
}

LRESULT DefWindowProcA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  bool handled;
  LRESULT r = DefNonClient(hwnd, msg, wParam, lParam, &handled);
  if (handled) return r;
  switch (msg) {
    case WM_NCCREATE: {
      auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
      if (cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName)) StoreText(hwnd, cs->lpszName);
      return TRUE;
    }
    case WM_SETTEXT:
      StoreText(hwnd, reinterpret_cast<LPCSTR>(lParam));
      return TRUE;
    case WM_SETREDRAW: {
      // Drawing stops as for a hidden window, though the window stays where
      // it is; the program invalidates once it turns drawing back on.
      Guard g(Lock());
      Window* w = Find(hwnd);
      if (w && wParam) w->style |= WS_VISIBLE;
      if (w && !wParam) w->style &= ~WS_VISIBLE;
      return 0;
    }
    case WM_GETTEXT: {
      auto* buffer = reinterpret_cast<char*>(lParam);
      if (!buffer || wParam == 0) return 0;
      Guard g(Lock());
      Window* w = Find(hwnd);
      if (!w) {
        buffer[0] = 0;
        return 0;
      }
      size_t n = std::min(w->text.size(), static_cast<size_t>(wParam) - 1);
      memcpy(buffer, w->text.data(), n);
      buffer[n] = 0;
      return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH: {
      Guard g(Lock());
      Window* w = Find(hwnd);
      return w ? static_cast<LRESULT>(w->text.size()) : 0;
    }
    // The font is kept for every window (the system leaves that to controls),
    // so that WM_GETFONT answers what WM_SETFONT set.
    case WM_SETFONT: {
      {
        Guard g(Lock());
        Window* w = Find(hwnd);
        if (!w) return 0;
        w->font = reinterpret_cast<HFONT>(wParam);
      }
      if (LOWORD(lParam)) InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    }
    case WM_GETFONT: {
      Guard g(Lock());
      Window* w = Find(hwnd);
      return w ? reinterpret_cast<LRESULT>(w->font) : 0;
    }
    case WM_SETICON:
    case WM_GETICON: {
      Guard g(Lock());
      Window* w = Find(hwnd);
      if (!w) return 0;
      HICON& slot = wParam == ICON_BIG ? w->iconBig : w->iconSmall;
      HICON old = slot;
      if (msg == WM_SETICON) slot = reinterpret_cast<HICON>(lParam);
      return reinterpret_cast<LRESULT>(old);
    }
    case WM_ERASEBKGND: {
      HBRUSH brush;
      {
        Guard g(Lock());
        Window* w = Find(hwnd);
        brush = (w && w->cls) ? w->cls->background : nullptr;
      }
      brush = BackgroundBrush(brush);
      if (!brush || !wParam) return 0;
      RECT rc;
      GetClipBox(reinterpret_cast<HDC>(wParam), &rc);
      FillRect(reinterpret_cast<HDC>(wParam), &rc, brush);
      return 1;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(hwnd, &ps);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_SETCURSOR: {
      HWND parent = (GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD) ? GetParent(hwnd) : nullptr;
      if (parent && SendMessageA(parent, WM_SETCURSOR, wParam, lParam)) return TRUE;
      if (LOWORD(lParam) == HTCLIENT) {
        HCURSOR cursor = reinterpret_cast<HCURSOR>(GetClassLongPtrA(hwnd, GCLP_HCURSOR));
        if (cursor) {
          SetCursor(cursor);
          return TRUE;
        }
      }
      return FALSE;
    }
    case WM_MOUSEACTIVATE: {
      HWND parent = (GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD) ? GetParent(hwnd) : nullptr;
      if (parent) {
        LRESULT ma = SendMessageA(parent, WM_MOUSEACTIVATE, wParam, lParam);
        if (ma) return ma;
      }
      return MA_ACTIVATE;
    }
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam)) SetFocus(hwnd);
      return 0;
    case WM_WINDOWPOSCHANGED: {
      auto* wp = reinterpret_cast<WINDOWPOS*>(lParam);
      if (!wp) return 0;
      RECT rc{}, cl{};
      UINT kind = SIZE_RESTORED;
      {
        Guard g(Lock());
        Window* w = Find(hwnd);
        if (!w) return 0;
        rc = w->rect;
        cl = w->client;
        if (w->style & WS_MINIMIZE) kind = SIZE_MINIMIZED;
        if (w->style & WS_MAXIMIZE) kind = SIZE_MAXIMIZED;
        w->sizeSent = true;
      }
      if (!(wp->flags & SWP_NOMOVE))
        SendMessageA(hwnd, WM_MOVE, 0, MAKELPARAM(rc.left + cl.left, rc.top + cl.top));
      if (!(wp->flags & SWP_NOSIZE) || (wp->flags & SWP_FRAMECHANGED))
        SendMessageA(hwnd, WM_SIZE, kind, MAKELPARAM(cl.right - cl.left, cl.bottom - cl.top));
      return 0;
    }
    case WM_GETMINMAXINFO: {
      auto* mmi = reinterpret_cast<MINMAXINFO*>(lParam);
      if (!mmi) return 0;
      mmi->ptMaxSize = POINT{GetSystemMetrics(SM_CXMAXIMIZED), GetSystemMetrics(SM_CYMAXIMIZED)};
      mmi->ptMaxPosition = POINT{-GetSystemMetrics(SM_CXFRAME), -GetSystemMetrics(SM_CYFRAME)};
      mmi->ptMinTrackSize = POINT{GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
      mmi->ptMaxTrackSize = POINT{GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
      return 0;
    }
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: {
      HDC hdc = reinterpret_cast<HDC>(wParam);
      int back = (msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORLISTBOX) ? COLOR_WINDOW
                 : msg == WM_CTLCOLORSCROLLBAR                          ? COLOR_SCROLLBAR
                                                                        : COLOR_3DFACE;
      if (hdc) {
        SetTextColor(hdc, GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(hdc, GetSysColor(back));
      }
      return reinterpret_cast<LRESULT>(GetSysColorBrush(back));
    }
    case WM_CANCELMODE:
      if (GetCapture() == hwnd) ReleaseCapture();
      return 0;
    case WM_QUERYENDSESSION:
    case WM_QUERYOPEN:
      return TRUE;
    case WM_CONTEXTMENU:
    case WM_MOUSEWHEEL: {
      HWND parent = (GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD) ? GetParent(hwnd) : nullptr;
      return parent ? SendMessageA(parent, msg, wParam, lParam) : 0;
    }
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
      return -1;
    case WM_SYSKEYDOWN:
      if (wParam == VK_F4 && (lParam & (1 << 29)))
        PostMessageA(GetAncestor(hwnd, GA_ROOT), WM_SYSCOMMAND, SC_CLOSE, 0);
      // Shift+F10 is the keyboard's context menu, which has no point: -1.
      if (wParam == VK_F10 && GetKeyState(VK_SHIFT) < 0)
        SendMessageA(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), -1);
      return 0;
    case WM_SYSCHAR:
      if (wParam == ' ') SendMessageA(GetAncestor(hwnd, GA_ROOT), WM_SYSCOMMAND, SC_KEYMENU, ' ');
      return 0;
    case WM_RBUTTONUP: {
      POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      ClientToScreen(hwnd, &pt);
      SendMessageA(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(pt.x, pt.y));
      return 0;
    }
  }
  return 0;
}
