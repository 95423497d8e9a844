// The progress bar (msctls_progress32).

#include <algorithm>

#include "ControlUtil.h"

namespace {

struct ProgressState {
  int low = 0, high = 100;
  int pos = 0;
  int step = 10;
  COLORREF bar = CLR_DEFAULT;
  COLORREF back = CLR_DEFAULT;
};

int Clamp(const ProgressState* s, int v) { return std::max(s->low, std::min(v, s->high)); }

void PaintProgress(HWND hwnd, HDC hdc, ProgressState* s) {
  RECT rc;
  GetClientRect(hwnd, &rc);
  HBRUSH back = s->back == CLR_DEFAULT ? nullptr : CreateSolidBrush(s->back);
  FillRect(hdc, &rc, back ? back : GetSysColorBrush(COLOR_3DFACE));
  if (back) DeleteObject(back);
  // A thin sunken frame, then a pixel of face around the blocks.
  DrawEdge(hdc, &rc, BDR_SUNKENOUTER, BF_RECT);
  RECT inner = rc;
  InflateRect(&inner, -2, -2);
  bool vertical = (ctl::Style(hwnd) & PBS_VERTICAL) != 0;
  int length = vertical ? inner.bottom - inner.top : inner.right - inner.left;
  int range = s->high - s->low;
  int filled = range > 0 ? static_cast<int>(static_cast<long long>(length) * (s->pos - s->low) / range) : 0;
  if (filled <= 0) return;
  HBRUSH bar = s->bar == CLR_DEFAULT ? nullptr : CreateSolidBrush(s->bar);
  HBRUSH brush = bar ? bar : GetSysColorBrush(COLOR_HIGHLIGHT);
  if (ctl::Style(hwnd) & PBS_SMOOTH) {
    RECT r = inner;
    if (vertical) r.top = r.bottom - filled;
    else r.right = r.left + filled;
    FillRect(hdc, &r, brush);
  } else {
    // Classic blocks two thirds as wide as the bar is high, two pixels apart.
    int breadth = vertical ? inner.right - inner.left : inner.bottom - inner.top;
    int block = std::max(2, breadth * 2 / 3);
    for (int at = 0; at < filled; at += block + 2) {
      int end = std::min(at + block, length);
      RECT r = vertical ? RECT{inner.left, inner.bottom - end, inner.right, inner.bottom - at}
                        : RECT{inner.left + at, inner.top, inner.left + end, inner.bottom};
      FillRect(hdc, &r, brush);
    }
  }
  if (bar) DeleteObject(bar);
}

LRESULT SetPos(HWND hwnd, ProgressState* s, int pos) {
  int old = s->pos;
  s->pos = Clamp(s, pos);
  if (s->pos != old) InvalidateRect(hwnd, nullptr, TRUE);
  return old;
}

}  // namespace

LRESULT CALLBACK ProgressProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  ProgressState* s = ctl::StateOf<ProgressState>(hwnd);
  if (!s && msg != WM_NCCREATE) return DefWindowProcA(hwnd, msg, wParam, lParam);
  switch (msg) {
    case WM_NCCREATE:
      ctl::MakeState<ProgressState>(hwnd);
      break;
    case WM_NCDESTROY:
      ctl::FreeState<ProgressState>(hwnd);
      break;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT:
      ctl::PaintCycle(hwnd, wParam, [&](HDC hdc) { PaintProgress(hwnd, hdc, s); });
      return 0;
    case PBM_SETRANGE:
    case PBM_SETRANGE32: {
      LRESULT old = MAKELRESULT(s->low, s->high);
      if (msg == PBM_SETRANGE) {
        s->low = LOWORD(lParam);
        s->high = HIWORD(lParam);
      } else {
        s->low = static_cast<int>(wParam);
        s->high = static_cast<int>(lParam);
      }
      if (s->high < s->low) std::swap(s->low, s->high);
      s->pos = Clamp(s, s->pos);
      InvalidateRect(hwnd, nullptr, TRUE);
      return old;
    }
    case PBM_GETRANGE:
      if (auto* r = reinterpret_cast<PBRANGE*>(lParam)) {
        r->iLow = s->low;
        r->iHigh = s->high;
      }
      return wParam ? s->low : s->high;
    case PBM_SETPOS:
      return SetPos(hwnd, s, static_cast<int>(wParam));
    case PBM_GETPOS:
      return s->pos;
    case PBM_DELTAPOS:
      return SetPos(hwnd, s, s->pos + static_cast<int>(wParam));
    case PBM_SETSTEP: {
      int old = s->step;
      s->step = static_cast<int>(wParam);
      return old;
    }
    case PBM_STEPIT: {
      // Stepping past the end starts again from the beginning.
      int next = s->pos + s->step;
      if (next > s->high) next = s->low + (next - s->high) % std::max(1, s->high - s->low);
      int old = s->pos;
      s->pos = Clamp(s, next);
      InvalidateRect(hwnd, nullptr, TRUE);
      return old;
    }
    case PBM_SETBARCOLOR: {
      COLORREF old = s->bar;
      s->bar = static_cast<COLORREF>(lParam);
      InvalidateRect(hwnd, nullptr, TRUE);
      return old;
    }
    case PBM_SETBKCOLOR: {
      COLORREF old = s->back;
      s->back = static_cast<COLORREF>(lParam);
      InvalidateRect(hwnd, nullptr, TRUE);
      return old;
    }
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}
