// The status bar: a strip along the bottom of its parent with parts of given
// right edges (-1 to the end), a text per part and a minimum height.

#include <algorithm>
#include <string>
#include <vector>

#include "CommCtrl.h"
#include "ControlUtil.h"
#include "Resource.h"

namespace {

const int kMaxParts = 256;

struct Part {
  int right = -1;
  std::string text;
  UINT flags = 0;
};

struct StatusBar {
  std::vector<Part> parts{Part{}};
  int minHeight = 0;
  HFONT font = nullptr;
};

StatusBar* Get(HWND hwnd) { return ctl::StateOf<StatusBar>(hwnd); }

int Height(HWND hwnd, const StatusBar* s) { return std::max(s->minHeight, ctl::LineHeight(hwnd) + 6); }

// A sizable frame, or the style, gives the bar a size grip in its corner.
bool HasGrip(HWND hwnd) {
  HWND parent = GetParent(hwnd);
  bool sizable = parent && (GetWindowLongA(parent, GWL_STYLE) & WS_THICKFRAME) && !IsZoomed(parent);
  return (ctl::Style(hwnd) & SBARS_SIZEGRIP) || sizable;
}

RECT GripRect(HWND hwnd) {
  RECT client;
  GetClientRect(hwnd, &client);
  int side = std::min<int>(client.bottom, GetSystemMetrics(SM_CXVSCROLL));
  return RECT{client.right - side, client.bottom - side, client.right, client.bottom};
}

RECT PartRect(HWND hwnd, const StatusBar* s, size_t i) {
  RECT client;
  GetClientRect(hwnd, &client);
  int left = i == 0 ? 0 : s->parts[i - 1].right;
  int right = s->parts[i].right < 0 ? client.right : s->parts[i].right;
  return RECT{left, client.top, std::max(left, right), client.bottom};
}

// Keeps the bar along the bottom of its parent, the parent's width wide.
void Place(HWND hwnd, const StatusBar* s) {
  HWND parent = GetParent(hwnd);
  if (!parent) return;
  RECT pc;
  GetClientRect(parent, &pc);
  int h = Height(hwnd, s);
  SetWindowPos(hwnd, nullptr, 0, pc.bottom - h, pc.right, h, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Paint(HWND hwnd, StatusBar* s, HDC dc) {
  RECT client;
  GetClientRect(hwnd, &client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  bool grip = HasGrip(hwnd);
  for (size_t i = 0; i < s->parts.size(); ++i) {
    // Panes are drawn two pixels below the top and two apart, and stop
    // short of the grip.
    RECT rc = PartRect(hwnd, s, i);
    rc.top += 2;
    if (i > 0) rc.left += 2;
    if (grip) rc.right = std::min(rc.right, GripRect(hwnd).left);
    if (rc.right <= rc.left) continue;
    if (!(s->parts[i].flags & SBT_NOBORDERS))
      DrawEdge(dc, &rc, (s->parts[i].flags & SBT_POPOUT) ? BDR_RAISEDOUTER : BDR_SUNKENOUTER, BF_RECT);
    InflateRect(&rc, -3, -1);
    DrawTextA(dc, s->parts[i].text.c_str(), -1, &rc, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
  }
  if (grip) {
    RECT corner = GripRect(hwnd);
    DrawFrameControl(dc, &corner, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
  }
}

LRESULT CALLBACK StatusProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  StatusBar* s = Get(hwnd);
  switch (msg) {
    case WM_NCCREATE:
      ctl::MakeState<StatusBar>(hwnd);
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_NCDESTROY:
      ctl::FreeState<StatusBar>(hwnd);
      return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
  if (!s) return DefWindowProcA(hwnd, msg, wParam, lParam);
  switch (msg) {
    case WM_CREATE:
      Place(hwnd, s);
      return 0;
    case SB_SETPARTS: {
      auto* rights = reinterpret_cast<const int*>(lParam);
      int n = static_cast<int>(wParam);
      if (!rights || n <= 0 || n > kMaxParts) return FALSE;
      s->parts.resize(static_cast<size_t>(n));
      for (int i = 0; i < n; ++i) s->parts[static_cast<size_t>(i)].right = rights[i];
      InvalidateRect(hwnd, nullptr, TRUE);
      return TRUE;
    }
    case SB_GETPARTS: {
      auto* out = reinterpret_cast<int*>(lParam);
      for (size_t i = 0; out && i < s->parts.size() && i < wParam; ++i) out[i] = s->parts[i].right;
      return static_cast<LRESULT>(s->parts.size());
    }
    case SB_SETTEXTA: {
      size_t i = LOBYTE(LOWORD(wParam));
      if (i >= s->parts.size()) return FALSE;
      s->parts[i].text = lParam ? reinterpret_cast<LPCSTR>(lParam) : "";
      s->parts[i].flags = static_cast<UINT>(wParam) & 0xFF00;
      RECT rc = PartRect(hwnd, s, i);
      InvalidateRect(hwnd, &rc, TRUE);
      return TRUE;
    }
    case SB_GETTEXTA:
    case SB_GETTEXTLENGTHA: {
      size_t i = wParam;
      if (i >= s->parts.size()) return 0;
      const std::string& text = s->parts[i].text;
      // The caller's buffer is assumed to hold the text, as the message has no size.
      if (msg == SB_GETTEXTA && lParam) {
        text.copy(reinterpret_cast<char*>(lParam), text.size());
        reinterpret_cast<char*>(lParam)[text.size()] = 0;
      }
      return MAKELRESULT(text.size(), s->parts[i].flags);
    }
    case SB_GETRECT: {
      auto* rc = reinterpret_cast<RECT*>(lParam);
      if (!rc || wParam >= s->parts.size()) return FALSE;
      *rc = PartRect(hwnd, s, wParam);
      return TRUE;
    }
    case SB_GETBORDERS: {
      auto* b = reinterpret_cast<int*>(lParam);
      if (b) b[0] = 0, b[1] = 2, b[2] = 2;
      return TRUE;
    }
    case SB_SETMINHEIGHT:
      s->minHeight = static_cast<int>(wParam);
      Place(hwnd, s);
      return 0;
    case WM_SIZE:  // the parent passes its own WM_SIZE on
      Place(hwnd, s);
      return 0;
    case WM_SETTEXT:
      StatusProc(hwnd, SB_SETTEXTA, 0, lParam);
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_SETFONT:
      s->font = reinterpret_cast<HFONT>(wParam);
      Place(hwnd, s);
      return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(s->font);
    case WM_ERASEBKGND: return 1;
    case WM_PRINTCLIENT:
    case WM_PAINT:
      ctl::PaintCycle(hwnd, wParam, [&](HDC dc) { Paint(hwnd, s, dc); });
      return 0;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace

void PlatformRegisterStatusBarClass() {
  ctl::RegisterControlClass(STATUSCLASSNAME, StatusProc, LoadCursorA(nullptr, IDC_ARROW));
}
