// The default non-client area: frame and caption geometry, hit codes, the
// classic painting of frames, captions and caption buttons, the caption
// button and move loops, and the system commands.

#include <algorithm>
#include <cstring>
#include <string>

#include "Controls.h"
#include "MenuInternal.h"
#include "UiPlatform.h"
#include "WindowManager.h"

namespace {

struct Frame {
  int x = 0, y = 0;   // frame width and height on each side
  bool sizing = false;
};

Frame FrameOf(DWORD style, DWORD exStyle) {
  Frame f;
  if (style & WS_THICKFRAME) {
    f.x = GetSystemMetrics(SM_CXFRAME);
    f.y = GetSystemMetrics(SM_CYFRAME);
    f.sizing = true;
  } else if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME)) {
    f.x = GetSystemMetrics(SM_CXDLGFRAME);
    f.y = GetSystemMetrics(SM_CYDLGFRAME);
  } else if (style & WS_BORDER) {
    f.x = GetSystemMetrics(SM_CXBORDER);
    f.y = GetSystemMetrics(SM_CYBORDER);
  }
  return f;
}

bool HasCaption(DWORD style) { return (style & WS_CAPTION) == WS_CAPTION; }

// Caption buttons in window coordinates, laid out from the right end of the
// caption: close, then maximize/restore, then minimize touching it.
struct CaptionButtons {
  RECT close{}, max{}, min{};
  bool hasClose = false, hasMax = false, hasMin = false;
};

CaptionButtons ButtonsOf(DWORD style, int width, const Frame& f) {
  CaptionButtons b;
  int c = GetSystemMetrics(SM_CYCAPTION);
  int top = f.y + 2, bottom = f.y + c - 2;
  int right = width - f.x;
  b.close = RECT{right - c, top, right - 2, bottom};
  b.max = RECT{b.close.left - c, top, b.close.left - 2, bottom};
  b.min = RECT{b.max.left - c + 2, top, b.max.left, bottom};
  b.hasClose = (style & WS_SYSMENU) != 0;
  b.hasMax = b.hasMin = b.hasClose && (style & (WS_MAXIMIZEBOX | WS_MINIMIZEBOX)) != 0;
  return b;
}

struct Geometry {
  DWORD style = 0, exStyle = 0;
  RECT window{};  // screen
  RECT client{};  // window coordinates
  bool zoomed = false, active = false;
  std::string text;
};

bool GeometryOf(HWND hwnd, Geometry* g) {
  wm::Guard lock(wm::Lock());
  wm::Window* w = wm::Find(hwnd);
  if (!w) return false;
  g->style = w->style;
  g->exStyle = w->exStyle;
  g->window = wm::ScreenRectOf(w);
  g->client = w->client;
  g->zoomed = (w->style & WS_MAXIMIZE) != 0;
  g->active = w->ncActive;
  g->text = w->text;
  return true;
}

int HitCode(HWND hwnd, POINT pt) {
  Geometry g;
  if (!GeometryOf(hwnd, &g) || !PtInRect(&g.window, pt)) return HTNOWHERE;
  int x = pt.x - g.window.left, y = pt.y - g.window.top;
  int width = g.window.right - g.window.left, height = g.window.bottom - g.window.top;
  POINT p{x, y};
  if (PtInRect(&g.client, p)) return HTCLIENT;
  Frame f = FrameOf(g.style, g.exStyle);
  if (x < f.x || x >= width - f.x || y < f.y || y >= height - f.y) {
    if (!f.sizing || g.zoomed) return HTBORDER;
    int corner = GetSystemMetrics(SM_CYCAPTION) + f.y;
    bool left = x < corner, right = x >= width - corner, top = y < corner, bottom = y >= height - corner;
    if (y < f.y) return left ? HTTOPLEFT : right ? HTTOPRIGHT : HTTOP;
    if (y >= height - f.y) return left ? HTBOTTOMLEFT : right ? HTBOTTOMRIGHT : HTBOTTOM;
    if (x < f.x) return top ? HTTOPLEFT : bottom ? HTBOTTOMLEFT : HTLEFT;
    return top ? HTTOPRIGHT : bottom ? HTBOTTOMRIGHT : HTRIGHT;
  }
  if (HasCaption(g.style) && y < f.y + GetSystemMetrics(SM_CYCAPTION)) {
    CaptionButtons b = ButtonsOf(g.style, width, f);
    int c = GetSystemMetrics(SM_CYCAPTION);
    auto inColumn = [&](const RECT& r) { return x >= r.left && x < r.right; };
    if (b.hasClose && inColumn(b.close)) return HTCLOSE;
    if (b.hasMax && inColumn(b.max)) return HTMAXBUTTON;
    if (b.hasMin && inColumn(b.min)) return HTMINBUTTON;
    if ((g.style & WS_SYSMENU) && x < f.x + c) return HTSYSMENU;
    return HTCAPTION;
  }
  if (y < g.client.top && menu::BarItemAt(hwnd, pt) >= 0) return HTMENU;
  if ((g.style & WS_VSCROLL) && x >= g.client.right) return HTVSCROLL;
  if ((g.style & WS_HSCROLL) && y >= g.client.bottom) return HTHSCROLL;
  return HTBORDER;
}

// `update` (screen coordinates, as WM_NCPAINT carries it) limits the painting
// when it is a region, so a caller can have single parts repainted.
void PaintNonClient(HWND hwnd, int pressedHit, HRGN update = nullptr) {
  Geometry g;
  if (!GeometryOf(hwnd, &g)) return;
  int width = g.window.right - g.window.left, height = g.window.bottom - g.window.top;
  HDC hdc = GetWindowDC(hwnd);
  if (!hdc) return;
  if (update) {
    HRGN clip = CreateRectRgn(0, 0, 0, 0);
    if (CombineRgn(clip, update, nullptr, RGN_COPY) != ERROR) {
      OffsetRgn(clip, -g.window.left, -g.window.top);
      SelectClipRgn(hdc, clip);
    }
    DeleteObject(clip);
  }
  Frame f = FrameOf(g.style, g.exStyle);
  RECT rc{0, 0, width, height};
  if (f.x > 0) {
    if ((g.style & (WS_DLGFRAME | WS_THICKFRAME)) || (g.exStyle & WS_EX_DLGMODALFRAME)) {
      DrawEdge(hdc, &rc, EDGE_RAISED, BF_RECT | BF_ADJUST);
      HBRUSH face = GetSysColorBrush(COLOR_3DFACE);
      while (rc.left < f.x) {
        FrameRect(hdc, &rc, face);
        InflateRect(&rc, -1, -1);
      }
    } else {
      FrameRect(hdc, &rc, GetSysColorBrush(COLOR_WINDOWFRAME));
      InflateRect(&rc, -1, -1);
    }
  }
  if (HasCaption(g.style)) {
    int c = GetSystemMetrics(SM_CYCAPTION);
    RECT cap{f.x, f.y, width - f.x, f.y + c - 1};
    FillRect(hdc, &cap, GetSysColorBrush(g.active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
    RECT line{f.x, f.y + c - 1, width - f.x, f.y + c};
    FillRect(hdc, &line, GetSysColorBrush(COLOR_3DFACE));
    NONCLIENTMETRICSA ncm{};
    ncm.cbSize = sizeof ncm;
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
    HFONT font = CreateFontIndirectA(&ncm.lfCaptionFont);
    HGDIOBJ oldFont = SelectObject(hdc, font);
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, GetSysColor(g.active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
    CaptionButtons b = ButtonsOf(g.style, width, f);
    RECT text{cap.left + 3, cap.top, (b.hasMin ? b.min.left : b.hasClose ? b.close.left : cap.right) - 2, cap.bottom};
    DrawTextA(hdc, g.text.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS | DT_NOPREFIX);
    SelectObject(hdc, oldFont);
    DeleteObject(font);
    auto button = [&](RECT r, UINT kind, int hit, bool enabled) {
      UINT state = kind | (pressedHit == hit ? DFCS_PUSHED : 0) | (enabled ? 0 : DFCS_INACTIVE);
      DrawFrameControl(hdc, &r, DFC_CAPTION, state);
    };
    if (b.hasClose) button(b.close, DFCS_CAPTIONCLOSE, HTCLOSE, true);
    if (b.hasMax)
      button(b.max, g.zoomed ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMAX, HTMAXBUTTON, (g.style & WS_MAXIMIZEBOX) != 0);
    if (b.hasMin) button(b.min, DFCS_CAPTIONMIN, HTMINBUTTON, (g.style & WS_MINIMIZEBOX) != 0);
  }
  menu::PaintBar(hwnd, hdc);
  // The edges enclose the window's scroll bars along with the client area.
  RECT inner{g.client.left, g.client.top, g.client.right, g.client.bottom};
  if (g.style & WS_VSCROLL) inner.right += GetSystemMetrics(SM_CXVSCROLL);
  if (g.style & WS_HSCROLL) inner.bottom += GetSystemMetrics(SM_CYHSCROLL);
  if (g.exStyle & WS_EX_CLIENTEDGE) {
    RECT e = inner;
    InflateRect(&e, GetSystemMetrics(SM_CXEDGE), GetSystemMetrics(SM_CYEDGE));
    DrawEdge(hdc, &e, EDGE_SUNKEN, BF_RECT);
  } else if (g.exStyle & WS_EX_STATICEDGE) {
    RECT e = inner;
    InflateRect(&e, 1, 1);
    DrawEdge(hdc, &e, BDR_SUNKENOUTER, BF_RECT);
  }
  ReleaseDC(hwnd, hdc);
}

// Runs a loop that takes the mouse until the left button comes up (or the
// capture is lost); `step` sees each mouse message and returns false to stop.
template <typename Step>
void TrackMouse(HWND hwnd, Step step) {
  SetCapture(hwnd);
  for (;;) {
    MSG m;
    if (!GetMessageA(&m, nullptr, 0, 0)) {
      PostQuitMessage(static_cast<int>(m.wParam));
      break;
    }
    bool mouse = m.message >= WM_MOUSEFIRST && m.message <= WM_MOUSELAST;
    if (mouse || (m.message == WM_KEYDOWN && m.wParam == VK_ESCAPE)) {
      if (!step(m)) break;
    } else {
      TranslateMessage(&m);
      DispatchMessageA(&m);
    }
    if (!IsWindow(hwnd) || GetCapture() != hwnd) break;
  }
  if (IsWindow(hwnd) && GetCapture() == hwnd) ReleaseCapture();
}

bool IsCaptionBoxEnabled(HWND hwnd, int hit) {
  LONG style = GetWindowLongA(hwnd, GWL_STYLE);
  if (hit == HTMAXBUTTON) return (style & WS_MAXIMIZEBOX) != 0;
  if (hit == HTMINBUTTON) return (style & WS_MINIMIZEBOX) != 0;
  return true;
}

void TrackCaptionButton(HWND hwnd, int hit) {
  PaintNonClient(hwnd, hit);
  bool over = true, released = false;
  TrackMouse(hwnd, [&](const MSG& m) {
    if (m.message == WM_KEYDOWN) return false;
    bool now = HitCode(hwnd, m.pt) == hit;
    if (now != over) {
      over = now;
      PaintNonClient(hwnd, over ? hit : HTNOWHERE);
    }
    if (m.message == WM_LBUTTONUP) {
      released = true;
      return false;
    }
    return true;
  });
  if (!IsWindow(hwnd)) return;
  PaintNonClient(hwnd, HTNOWHERE);
  if (!released || !over) return;
  WPARAM cmd = hit == HTCLOSE ? SC_CLOSE : hit == HTMINBUTTON ? SC_MINIMIZE : IsZoomed(hwnd) ? SC_RESTORE : SC_MAXIMIZE;
  if (!IsCaptionBoxEnabled(hwnd, hit)) return;
  POINT pt;
  GetCursorPos(&pt);
  SendMessageA(hwnd, WM_SYSCOMMAND, cmd, MAKELPARAM(static_cast<WORD>(pt.x), static_cast<WORD>(pt.y)));
}

// The loop of a move or size: `place` sees how far the mouse went from where
// it was when the loop started, until the button comes up; Escape places the
// window back with (0, 0).
template <typename Place>
void SizeMoveLoop(HWND hwnd, Place place) {
  POINT origin;
  GetCursorPos(&origin);
  SendMessageA(hwnd, WM_ENTERSIZEMOVE, 0, 0);
  TrackMouse(hwnd, [&](const MSG& m) {
    if (m.message == WM_KEYDOWN) {
      place(0, 0);
      return false;
    }
    if (m.message == WM_MOUSEMOVE || m.message == WM_LBUTTONUP) place(m.pt.x - origin.x, m.pt.y - origin.y);
    return m.message != WM_LBUTTONUP;
  });
  if (IsWindow(hwnd)) SendMessageA(hwnd, WM_EXITSIZEMOVE, 0, 0);
}

// The move loop: the window follows the mouse until the button comes up;
// Escape puts it back where it was.
void MoveLoop(HWND hwnd) {
  RECT start;
  if (!GetWindowRect(hwnd, &start) || IsZoomed(hwnd)) return;
  HWND parent = GetParent(hwnd);
  bool child = (GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD) != 0;
  SizeMoveLoop(hwnd, [&](int dx, int dy) {
    POINT p{start.left + dx, start.top + dy};
    if (child && parent) ScreenToClient(parent, &p);
    SetWindowPos(hwnd, nullptr, p.x, p.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  });
}

POINT PointOf(LPARAM lParam) { return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

// The sizing loop: the edges named by `edge` (a WMSZ_ code) follow the mouse,
// the owner may correct each step in WM_SIZING and WM_GETMINMAXINFO limits
// it; Escape puts the window back.
void SizeLoop(HWND hwnd, int edge) {
  RECT start;
  if (!GetWindowRect(hwnd, &start) || IsZoomed(hwnd) || IsIconic(hwnd)) return;
  bool left = edge == WMSZ_LEFT || edge == WMSZ_TOPLEFT || edge == WMSZ_BOTTOMLEFT;
  bool right = edge == WMSZ_RIGHT || edge == WMSZ_TOPRIGHT || edge == WMSZ_BOTTOMRIGHT;
  bool top = edge == WMSZ_TOP || edge == WMSZ_TOPLEFT || edge == WMSZ_TOPRIGHT;
  bool bottom = edge == WMSZ_BOTTOM || edge == WMSZ_BOTTOMLEFT || edge == WMSZ_BOTTOMRIGHT;
  if (!left && !right && !top && !bottom) return;
  MINMAXINFO mmi{};
  mmi.ptMinTrackSize = POINT{GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
  mmi.ptMaxTrackSize = POINT{GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
  SendMessageA(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
  HWND parent = GetParent(hwnd);
  bool child = (GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD) != 0;
  SizeMoveLoop(hwnd, [&](int dx, int dy) {
    RECT r = start;
    if (left) r.left = std::min(start.left + dx, start.right - mmi.ptMinTrackSize.x);
    if (right) r.right = std::max(start.right + dx, start.left + mmi.ptMinTrackSize.x);
    if (top) r.top = std::min(start.top + dy, start.bottom - mmi.ptMinTrackSize.y);
    if (bottom) r.bottom = std::max(start.bottom + dy, start.top + mmi.ptMinTrackSize.y);
    if (left) r.left = std::max(r.left, r.right - mmi.ptMaxTrackSize.x);
    if (right) r.right = std::min(r.right, r.left + mmi.ptMaxTrackSize.x);
    if (top) r.top = std::max(r.top, r.bottom - mmi.ptMaxTrackSize.y);
    if (bottom) r.bottom = std::min(r.bottom, r.top + mmi.ptMaxTrackSize.y);
    SendMessageA(hwnd, WM_SIZING, static_cast<WPARAM>(edge), reinterpret_cast<LPARAM>(&r));
    POINT p{r.left, r.top};
    if (child && parent) ScreenToClient(parent, &p);
    SetWindowPos(hwnd, nullptr, p.x, p.y, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
  });
}

// Where the system menu opens when asked for by the icon or the keyboard:
// under the icon at the caption's left end.
POINT SystemMenuOrigin(HWND hwnd) {
  Geometry g;
  if (!GeometryOf(hwnd, &g)) return POINT{0, 0};
  Frame f = FrameOf(g.style, g.exStyle);
  return POINT{g.window.left + f.x, g.window.top + f.y + (HasCaption(g.style) ? GetSystemMetrics(SM_CYCAPTION) : 0)};
}

// The system menu, with what the window's state cannot do greyed; the choice
// comes back as WM_SYSCOMMAND, so items a program appended reach it too.
void TrackSystemMenu(HWND hwnd, POINT screen) {
  DWORD style = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE));
  if (!(style & WS_SYSMENU)) return;
  HMENU menu = GetSystemMenu(hwnd, FALSE);
  if (!menu) return;
  bool zoomed = (style & WS_MAXIMIZE) != 0, iconic = (style & WS_MINIMIZE) != 0;
  const struct {
    UINT id;
    bool enabled;
  } states[] = {
      {SC_RESTORE, zoomed || iconic},
      {SC_MOVE, !zoomed},
      {SC_SIZE, (style & WS_THICKFRAME) && !zoomed && !iconic},
      {SC_MINIMIZE, (style & WS_MINIMIZEBOX) && !iconic},
      {SC_MAXIMIZE, (style & WS_MAXIMIZEBOX) && !zoomed},
  };
  for (const auto& s : states) EnableMenuItem(menu, s.id, MF_BYCOMMAND | (s.enabled ? MF_ENABLED : MF_GRAYED));
  TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, 0, hwnd, nullptr);
}


}  // namespace

namespace wm {

RECT DefaultClientRect(DWORD style, DWORD exStyle, const RECT& windowRect) {
  RECT r = windowRect;
  if (style & WS_CHILD) {
    // Children have a frame only when they ask for one.
  }
  Frame f = FrameOf(style, exStyle);
  InflateRect(&r, -f.x, -f.y);
  if (HasCaption(style)) r.top += GetSystemMetrics(SM_CYCAPTION);
  if (exStyle & WS_EX_CLIENTEDGE) InflateRect(&r, -GetSystemMetrics(SM_CXEDGE), -GetSystemMetrics(SM_CYEDGE));
  if (exStyle & WS_EX_STATICEDGE) InflateRect(&r, -1, -1);
  if (style & WS_VSCROLL) r.right -= GetSystemMetrics(SM_CXVSCROLL);
  if (style & WS_HSCROLL) r.bottom -= GetSystemMetrics(SM_CYHSCROLL);
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  return r;
}

LRESULT DefNonClient(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, bool* handled) {
  *handled = true;
  switch (msg) {
    case WM_NCCALCSIZE: {
      DWORD style = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE));
      DWORD exStyle = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_EXSTYLE));
      RECT* r = wParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : reinterpret_cast<RECT*>(lParam);
      if (r) {
        RECT window = *r;
        *r = DefaultClientRect(style, exStyle, window);
        if (!(style & WS_CHILD)) {
          r->top += menu::BarHeight(hwnd, window.right - window.left, window.bottom - window.top);
          if (r->bottom < r->top) r->bottom = r->top;
        }
      }
      return 0;
    }
    case WM_NCHITTEST:
      return HitCode(hwnd, PointOf(lParam));
    case WM_NCPAINT:
      PaintNonClient(hwnd, HTNOWHERE, wParam > 1 ? reinterpret_cast<HRGN>(wParam) : nullptr);
      if (GetWindowLongA(hwnd, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL)) PlatformPaintWindowScrollBars(hwnd);
      return 0;
    case WM_NCACTIVATE: {
      {
        Guard g(Lock());
        Window* w = Find(hwnd);
        if (!w) return TRUE;
        w->ncActive = wParam != 0;
      }
      PaintNonClient(hwnd, HTNOWHERE);
      return TRUE;
    }
    case WM_NCLBUTTONDOWN:
      switch (wParam) {
        case HTCAPTION:
          SendMessageA(hwnd, WM_SYSCOMMAND, SC_MOVE + HTCAPTION, lParam);
          break;
        case HTCLOSE:
        case HTMINBUTTON:
        case HTMAXBUTTON:
          // A greyed box (one the style lacks) does not go down.
          if (IsCaptionBoxEnabled(hwnd, static_cast<int>(wParam))) TrackCaptionButton(hwnd, static_cast<int>(wParam));
          break;
        case HTMENU:
          menu::TrackBar(hwnd, PointOf(lParam));
          break;
        case HTSYSMENU:
          SendMessageA(hwnd, WM_SYSCOMMAND, SC_MOUSEMENU + HTSYSMENU, lParam);
          break;
        case HTLEFT:
        case HTRIGHT:
        case HTTOP:
        case HTTOPLEFT:
        case HTTOPRIGHT:
        case HTBOTTOM:
        case HTBOTTOMLEFT:
        case HTBOTTOMRIGHT:
          SendMessageA(hwnd, WM_SYSCOMMAND, SC_SIZE + (wParam - HTLEFT + WMSZ_LEFT), lParam);
          break;
        case HTVSCROLL:
        case HTHSCROLL:
          PlatformWindowScrollBarClick(hwnd, static_cast<int>(wParam), PointOf(lParam));
          break;
      }
      return 0;
    case WM_NCLBUTTONDBLCLK:
      if (wParam == HTCAPTION && (GetWindowLongA(hwnd, GWL_STYLE) & WS_MAXIMIZEBOX))
        SendMessageA(hwnd, WM_SYSCOMMAND, IsZoomed(hwnd) ? SC_RESTORE : SC_MAXIMIZE, lParam);
      else if (wParam == HTSYSMENU)
        SendMessageA(hwnd, WM_SYSCOMMAND, SC_CLOSE, lParam);
      return 0;
    case WM_NCRBUTTONUP:
      SendMessageA(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), lParam);
      return 0;
    case WM_CONTEXTMENU: {
      // A right click on the caption of a top-level window opens its system menu.
      POINT pt = PointOf(lParam);
      bool caption = lParam != -1 && !(GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD);
      int hit = caption ? HitCode(hwnd, pt) : HTNOWHERE;
      if (hit != HTCAPTION && hit != HTSYSMENU) break;
      TrackSystemMenu(hwnd, pt);
      return 0;
    }
    case WM_NCMOUSEMOVE: {
      const POINT pt = PointOf(lParam);
      menu::HoverBar(hwnd, &pt);
      return 0;
    }
    case WM_MOUSEMOVE:
      // Into the client area: no bar item stays hot.
      menu::HoverBar(hwnd, nullptr);
      *handled = false;
      return 0;
    case WM_NCLBUTTONUP:
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONDBLCLK:
    case WM_NCMBUTTONDOWN:
    case WM_NCMBUTTONUP:
    case WM_NCMBUTTONDBLCLK:
      return 0;
    case WM_SYSCOMMAND:
      switch (wParam & 0xFFF0) {
        case SC_CLOSE: SendMessageA(hwnd, WM_CLOSE, 0, 0); break;
        case SC_MINIMIZE: ShowWindow(hwnd, SW_MINIMIZE); break;
        case SC_MAXIMIZE: ShowWindow(hwnd, SW_MAXIMIZE); break;
        case SC_RESTORE: ShowWindow(hwnd, SW_RESTORE); break;
        case SC_MOVE: MoveLoop(hwnd); break;
        case SC_SIZE: SizeLoop(hwnd, static_cast<int>(wParam & 0xF)); break;
        case SC_MOUSEMENU: TrackSystemMenu(hwnd, SystemMenuOrigin(hwnd)); break;
        case SC_KEYMENU:
          if (lParam == ' ') TrackSystemMenu(hwnd, SystemMenuOrigin(hwnd));
          break;
      }
      return 0;
  }
  *handled = false;
  return 0;
}

}  // namespace wm
