// Scroll bars: the scroll bar control, the scroll bars of windows with
// WS_HSCROLL/WS_VSCROLL, and the flat-scroll-bar calls (plain bars here).

#include <algorithm>
#include <mutex>
#include <vector>

#include "ControlUtil.h"
#include "UiPlatform.h"

namespace {

struct Bar {
  int min = 0, max = 100;
  UINT page = 0;
  int pos = 0;
  int trackPos = 0;
  bool dragging = false;  // the thumb is held: it shows at trackPos
  UINT arrows = ESB_ENABLE_BOTH;
};

// A held arrow or a press in the track repeats its step: the first repeat a
// moment after the press, then steadily, as long as the pointer stays on
// that part (a page step stops once the thumb has come under the pointer).
const UINT kFirstRepeatMs = 400;
const UINT kRepeatMs = 100;

// Parts of a bar along its length.
enum Part { kNone, kArrowLess, kPageLess, kThumb, kPageMore, kArrowMore };

struct Geometry {
  RECT rc;  // the whole bar
  bool vertical;
  int arrow;   // arrow button length
  int thumbAt;  // offset of the thumb from the start of the bar
  int thumbLen;
};

int Clamp(const Bar& b, int pos) {
  int top = b.max - std::max<int>(static_cast<int>(b.page) - 1, 0);
  return std::max(b.min, std::min(pos, std::max(b.min, top)));
}

Geometry Layout(const RECT& rc, bool vertical, const Bar& b) {
  Geometry g{rc, vertical, 0, 0, 0};
  int length = vertical ? rc.bottom - rc.top : rc.right - rc.left;
  int breadth = vertical ? rc.right - rc.left : rc.bottom - rc.top;
  g.arrow = std::min(breadth, length / 2);
  int track = length - 2 * g.arrow;
  int range = b.max - b.min + 1;
  if (track <= 0 || range <= 0) return g;
  g.thumbLen = b.page ? std::max(8, static_cast<int>(static_cast<long long>(track) * b.page / range)) : breadth;
  g.thumbLen = std::min(g.thumbLen, track);
  int span = b.max - b.min - std::max<int>(static_cast<int>(b.page) - 1, 0);
  int free = track - g.thumbLen;
  g.thumbAt = g.arrow + (span > 0 ? static_cast<int>(static_cast<long long>(free) * (b.pos - b.min) / span) : 0);
  return g;
}

Part PartAt(const Geometry& g, POINT pt) {
  if (!PtInRect(&g.rc, pt)) return kNone;
  int at = g.vertical ? pt.y - g.rc.top : pt.x - g.rc.left;
  int length = g.vertical ? g.rc.bottom - g.rc.top : g.rc.right - g.rc.left;
  if (at < g.arrow) return kArrowLess;
  if (at >= length - g.arrow) return kArrowMore;
  if (at < g.thumbAt) return kPageLess;
  if (at < g.thumbAt + g.thumbLen) return kThumb;
  return kPageMore;
}

// A press on a bar, from the button going down until it comes up: the part
// pressed, and for the thumb where it was taken hold of and where it is now.
struct Press {
  Part part = kNone;
  int startAlong = 0;  // where along the bar it went down
  int startPos = 0;    // the position then
  int grab = 0;        // the pointer's distance from the thumb's start
};

int Along(const Geometry& g, POINT pt) { return g.vertical ? pt.y - g.rc.top : pt.x - g.rc.left; }

// Whether the range leaves anything to scroll: a bar without is drawn disabled.
bool Scrollable(const Bar& b) { return b.max > b.min && (b.page == 0 || static_cast<int>(b.page) <= b.max - b.min); }

// A press on a bar drawn disabled, or on an arrow drawn so, does nothing.
Press BeginPress(const Geometry& g, const Bar& b, POINT pt) {
  Press p;
  p.part = Scrollable(b) ? PartAt(g, pt) : kNone;
  if ((p.part == kArrowLess && (b.arrows & ESB_DISABLE_UP)) || (p.part == kArrowMore && (b.arrows & ESB_DISABLE_DOWN)))
    p.part = kNone;
  p.startAlong = Along(g, pt);
  p.startPos = b.pos;
  p.grab = p.startAlong - g.thumbAt;
  return p;
}

// Where the held thumb is dragged to: moved along with the pointer from where
// it was taken, so that a press without a move changes nothing however many
// positions a pixel stands for, and at either end of the track the range's end.
int DragPos(const Geometry& g, const Bar& b, const Press& p, POINT pt) {
  int length = g.vertical ? g.rc.bottom - g.rc.top : g.rc.right - g.rc.left;
  int free = length - 2 * g.arrow - g.thumbLen;
  int span = b.max - b.min - std::max<int>(static_cast<int>(b.page) - 1, 0);
  if (free <= 0 || span <= 0) return b.min;
  int at = Along(g, pt) - p.grab - g.arrow;  // the thumb's start in the track
  if (at <= 0) return b.min;
  if (at >= free) return Clamp(b, b.max);
  long long moved = static_cast<long long>(Along(g, pt) - p.startAlong) * span;
  long long steps = (moved >= 0 ? moved + free / 2 : moved - free / 2) / free;
  return Clamp(b, p.startPos + static_cast<int>(steps));
}

// Whether a repeat of the press's step is due where the pointer is now.
bool RepeatsAt(const Geometry& g, const Press& p, POINT pt) { return p.part != kThumb && PartAt(g, pt) == p.part; }

// The bar as it shows: a held thumb where it is dragged to.
Bar Shown(Bar b) {
  if (b.dragging) b.pos = Clamp(b, b.trackPos);
  return b;
}

void Draw(HDC hdc, const Geometry& g, const Bar& b, bool enabled) {
  RECT less = g.rc, more = g.rc;
  if (g.vertical) {
    less.bottom = less.top + g.arrow;
    more.top = more.bottom - g.arrow;
  } else {
    less.right = less.left + g.arrow;
    more.left = more.right - g.arrow;
  }
  UINT off = enabled ? 0 : DFCS_INACTIVE;
  DrawFrameControl(hdc, &less, DFC_SCROLL,
                   (g.vertical ? DFCS_SCROLLUP : DFCS_SCROLLLEFT) | ((b.arrows & 1) ? DFCS_INACTIVE : off));
  DrawFrameControl(hdc, &more, DFC_SCROLL,
                   (g.vertical ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT) | ((b.arrows & 2) ? DFCS_INACTIVE : off));
  RECT track = g.rc;
  if (g.vertical) {
    track.top = less.bottom;
    track.bottom = more.top;
  } else {
    track.left = less.right;
    track.right = more.left;
  }
  ctl::FillDithered(hdc, track);
  if (!enabled || g.thumbLen <= 0 || b.max <= b.min || (b.page && static_cast<int>(b.page) > b.max - b.min)) return;
  RECT thumb = g.rc;
  if (g.vertical) {
    thumb.top = g.rc.top + g.thumbAt;
    thumb.bottom = thumb.top + g.thumbLen;
  } else {
    thumb.left = g.rc.left + g.thumbAt;
    thumb.right = thumb.left + g.thumbLen;
  }
  FillRect(hdc, &thumb, GetSysColorBrush(COLOR_BTNFACE));
  DrawEdge(hdc, &thumb, EDGE_RAISED, BF_RECT);
}

UINT CodeOf(Part p) {
  switch (p) {
    case kArrowLess: return SB_LINEUP;
    case kArrowMore: return SB_LINEDOWN;
    case kPageLess: return SB_PAGEUP;
    case kPageMore: return SB_PAGEDOWN;
    default: return SB_ENDSCROLL;
  }
}

// ---------------------------------------------------------------- window bars

// A window's own bars, in the window record's slot for the platform's data.
struct WindowBars : PlatformWindowPart {
  static constexpr const char* kKind = "scroll bars";
  Bar h, v;
};

// The bars' values may be read by another thread's SetScrollInfo caller.
std::mutex& BarsLock() {
  static auto* m = new std::mutex;
  return *m;
}

// NULL for a window that is gone.
Bar* WindowBar(HWND hwnd, int bar) {
  WindowBars* w = PlatformPartOf<WindowBars>(hwnd);
  if (!w) return nullptr;
  return bar == SB_HORZ ? &w->h : &w->v;
}

Bar BarCopy(HWND hwnd, int bar) {
  std::lock_guard<std::mutex> g(BarsLock());
  Bar* b = WindowBar(hwnd, bar);
  return b ? *b : Bar{};
}


// Windows whose bars this thread is showing or hiding just now.
std::vector<HWND>& ShowingBars() {
  thread_local std::vector<HWND> showing;
  return showing;
}

bool BarRect(HWND hwnd, int bar, RECT* out) {
  DWORD style = ctl::Style(hwnd);
  if (!(style & (bar == SB_HORZ ? WS_HSCROLL : WS_VSCROLL))) return false;
  RECT window, client;
  GetWindowRect(hwnd, &window);
  GetClientRect(hwnd, &client);
  POINT origin{0, 0};
  ClientToScreen(hwnd, &origin);
  OffsetRect(&client, origin.x - window.left, origin.y - window.top);
  if (bar == SB_VERT)
    *out = RECT{client.right, client.top, client.right + GetSystemMetrics(SM_CXVSCROLL), client.bottom};
  else
    *out = RECT{client.left, client.bottom, client.right, client.bottom + GetSystemMetrics(SM_CYHSCROLL)};
  return true;
}

void RedrawFrame(HWND hwnd) { RedrawWindow(hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN); }

// ---------------------------------------------------------------- the control

struct ScrollState {
  Bar bar;
  bool tracking = false;
  Press press;
};

const UINT_PTR kRepeatTimer = 1;

bool IsVertical(HWND hwnd) { return (ctl::Style(hwnd) & SBS_VERT) != 0; }

void SendScroll(HWND hwnd, UINT code, int pos) {
  HWND target = ctl::NotifyTarget(hwnd);
  if (target)
    SendMessageA(target, IsVertical(hwnd) ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(code, static_cast<WORD>(pos)),
                 reinterpret_cast<LPARAM>(hwnd));
}

Geometry ControlGeometry(HWND hwnd, const Bar& b) {
  RECT rc;
  GetClientRect(hwnd, &rc);
  return Layout(rc, IsVertical(hwnd), b);
}

int ApplyInfo(Bar* b, const SCROLLINFO* si) {
  if (si->fMask & SIF_RANGE) {
    b->min = si->nMin;
    b->max = std::max(si->nMin, si->nMax);
  }
  if (si->fMask & SIF_PAGE) b->page = std::min<UINT>(si->nPage, static_cast<UINT>(b->max - b->min + 1));
  if (si->fMask & SIF_POS) b->pos = si->nPos;
  b->pos = Clamp(*b, b->pos);
  return b->pos;
}

void ReadInfo(const Bar& b, SCROLLINFO* si) {
  if (si->fMask & SIF_RANGE) {
    si->nMin = b.min;
    si->nMax = b.max;
  }
  if (si->fMask & SIF_PAGE) si->nPage = b.page;
  if (si->fMask & SIF_POS) si->nPos = b.pos;
  if (si->fMask & SIF_TRACKPOS) si->nTrackPos = b.trackPos;
}

void OnControlPress(HWND hwnd, ScrollState* s, POINT pt) {
  s->press = BeginPress(ControlGeometry(hwnd, s->bar), s->bar, pt);
  if (s->press.part == kNone) return;
  s->tracking = true;
  SetCapture(hwnd);
  if (s->press.part == kThumb) {
    s->bar.trackPos = s->bar.pos;
    s->bar.dragging = true;
    return;
  }
  SendScroll(hwnd, CodeOf(s->press.part), 0);
  if (IsWindow(hwnd) && GetCapture() == hwnd) SetTimer(hwnd, kRepeatTimer, kFirstRepeatMs, nullptr);
}

void OnControlRepeat(HWND hwnd, ScrollState* s) {
  SetTimer(hwnd, kRepeatTimer, kRepeatMs, nullptr);
  POINT pt;
  GetCursorPos(&pt);
  ScreenToClient(hwnd, &pt);
  if (RepeatsAt(ControlGeometry(hwnd, s->bar), s->press, pt)) SendScroll(hwnd, CodeOf(s->press.part), 0);
}

void OnControlDrag(HWND hwnd, ScrollState* s, POINT pt) {
  int pos = DragPos(ControlGeometry(hwnd, s->bar), s->bar, s->press, pt);
  if (pos == s->bar.trackPos) return;
  s->bar.trackPos = pos;
  InvalidateRect(hwnd, nullptr, TRUE);
  SendScroll(hwnd, SB_THUMBTRACK, pos);
}

// The press ends: at the release (`released`, at `pt`), or because the
// capture was taken away.
void OnControlRelease(HWND hwnd, ScrollState* s, POINT pt, bool released) {
  Press press = s->press;
  s->tracking = false;
  s->press = Press{};
  KillTimer(hwnd, kRepeatTimer);
  if (GetCapture() == hwnd) ReleaseCapture();
  if (press.part == kThumb) {
    if (released) s->bar.trackPos = DragPos(ControlGeometry(hwnd, s->bar), s->bar, press, pt);
    s->bar.dragging = false;
    InvalidateRect(hwnd, nullptr, TRUE);
    if (released) SendScroll(hwnd, SB_THUMBPOSITION, s->bar.trackPos);
  }
  if (IsWindow(hwnd)) SendScroll(hwnd, SB_ENDSCROLL, 0);
}

}  // namespace

LRESULT CALLBACK ScrollBarProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  ScrollState* s = ctl::StateOf<ScrollState>(hwnd);
  if (!s && msg != WM_NCCREATE) return DefWindowProcA(hwnd, msg, wParam, lParam);
  switch (msg) {
    case WM_NCCREATE:
      ctl::MakeState<ScrollState>(hwnd);
      break;
    case WM_NCDESTROY:
      ctl::FreeState<ScrollState>(hwnd);
      break;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT:
      ctl::PaintCycle(hwnd, wParam, [&](HDC hdc) {
        ctl::ParentBrush(hwnd, hdc, WM_CTLCOLORSCROLLBAR);
        Bar shown = Shown(s->bar);
        Draw(hdc, ControlGeometry(hwnd, shown), shown, IsWindowEnabled(hwnd) != FALSE);
      });
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    case WM_LBUTTONDOWN:
      OnControlPress(hwnd, s, ctl::PointOf(lParam));
      return 0;
    case WM_TIMER:
      if (wParam == kRepeatTimer && s->tracking) OnControlRepeat(hwnd, s);
      return 0;
    case WM_MOUSEMOVE:
      if (s->tracking && s->press.part == kThumb) OnControlDrag(hwnd, s, ctl::PointOf(lParam));
      return 0;
    case WM_LBUTTONUP:
      if (s->tracking) OnControlRelease(hwnd, s, ctl::PointOf(lParam), true);
      return 0;
    case WM_CAPTURECHANGED:
      // Taken away (a message box, the window hidden): the press ends where it is.
      if (s->tracking) OnControlRelease(hwnd, s, POINT{}, false);
      return 0;
    case WM_KEYDOWN:
      switch (wParam) {
        case VK_UP: case VK_LEFT: SendScroll(hwnd, SB_LINEUP, 0); break;
        case VK_DOWN: case VK_RIGHT: SendScroll(hwnd, SB_LINEDOWN, 0); break;
        case VK_PRIOR: SendScroll(hwnd, SB_PAGEUP, 0); break;
        case VK_NEXT: SendScroll(hwnd, SB_PAGEDOWN, 0); break;
        case VK_HOME: SendScroll(hwnd, SB_TOP, 0); break;
        case VK_END: SendScroll(hwnd, SB_BOTTOM, 0); break;
        default: return 0;
      }
      SendScroll(hwnd, SB_ENDSCROLL, 0);
      return 0;
    case SBM_SETPOS: {
      int old = s->bar.pos;
      s->bar.pos = Clamp(s->bar, static_cast<int>(wParam));
      if (lParam) InvalidateRect(hwnd, nullptr, TRUE);
      return old;
    }
    case SBM_GETPOS:
      return s->bar.pos;
    case SBM_SETRANGE:
    case SBM_SETRANGEREDRAW: {
      SCROLLINFO si{sizeof si, SIF_RANGE, static_cast<int>(wParam), static_cast<int>(lParam), 0, 0, 0};
      ApplyInfo(&s->bar, &si);
      if (msg == SBM_SETRANGEREDRAW) InvalidateRect(hwnd, nullptr, TRUE);
      return s->bar.pos;
    }
    case SBM_GETRANGE:
      if (wParam) *reinterpret_cast<int*>(wParam) = s->bar.min;
      if (lParam) *reinterpret_cast<int*>(lParam) = s->bar.max;
      return 0;
    case SBM_ENABLE_ARROWS:
      s->bar.arrows = static_cast<UINT>(wParam);
      InvalidateRect(hwnd, nullptr, TRUE);
      return TRUE;
    case SBM_SETSCROLLINFO: {
      auto* si = reinterpret_cast<SCROLLINFO*>(lParam);
      if (!si) return s->bar.pos;
      int pos = ApplyInfo(&s->bar, si);
      if (wParam) InvalidateRect(hwnd, nullptr, TRUE);
      return pos;
    }
    case SBM_GETSCROLLINFO: {
      auto* si = reinterpret_cast<SCROLLINFO*>(lParam);
      if (!si) return FALSE;
      ReadInfo(s->bar, si);
      return TRUE;
    }
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// ---------------------------------------------------------------- the calls

int SetScrollInfo(HWND hwnd, int bar, LPCSCROLLINFO info, BOOL redraw) {
  if (!info || !IsWindow(hwnd)) return 0;
  if (bar == SB_CTL) return static_cast<int>(SendMessageA(hwnd, SBM_SETSCROLLINFO, redraw, reinterpret_cast<LPARAM>(info)));
  if (bar != SB_HORZ && bar != SB_VERT) return 0;
  int pos;
  bool scrollable;
  {
    std::lock_guard<std::mutex> g(BarsLock());
    Bar* b = WindowBar(hwnd, bar);
    if (!b) return 0;
    pos = ApplyInfo(b, info);
    scrollable = Scrollable(*b);
  }
  // A window's bar comes and goes with its range; a bar asked to stay is
  // drawn disabled instead. Changing the range from inside the resize that
  // the last show or hide caused leaves the bar alone, so a list whose page
  // depends on the other bar cannot flicker forever.
  bool keep = (info->fMask & SIF_DISABLENOSCROLL) != 0;
  auto& showing = ShowingBars();
  if ((info->fMask & (SIF_RANGE | SIF_PAGE)) && (scrollable || !keep) &&
      std::find(showing.begin(), showing.end(), hwnd) == showing.end()) {
    showing.push_back(hwnd);
    ShowScrollBar(hwnd, bar, scrollable);
    showing.pop_back();
  }
  if (redraw && IsWindow(hwnd)) RedrawFrame(hwnd);
  return pos;
}

BOOL GetScrollInfo(HWND hwnd, int bar, LPSCROLLINFO info) {
  if (!info || !IsWindow(hwnd)) return FALSE;
  if (bar == SB_CTL) return static_cast<BOOL>(SendMessageA(hwnd, SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(info)));
  std::lock_guard<std::mutex> g(BarsLock());
  Bar* b = WindowBar(hwnd, bar);
  if (!b) return FALSE;
  ReadInfo(*b, info);
  return TRUE;
}

int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw) {
  SCROLLINFO old{sizeof old, SIF_POS, 0, 0, 0, 0, 0};
  GetScrollInfo(hwnd, bar, &old);
  SCROLLINFO si{sizeof si, SIF_POS, 0, 0, 0, pos, 0};
  SetScrollInfo(hwnd, bar, &si, redraw);
  return old.nPos;
}

int GetScrollPos(HWND hwnd, int bar) {
  SCROLLINFO si{sizeof si, SIF_POS, 0, 0, 0, 0, 0};
  return GetScrollInfo(hwnd, bar, &si) ? si.nPos : 0;
}

BOOL SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw) {
  SCROLLINFO si{sizeof si, SIF_RANGE, minPos, maxPos, 0, 0, 0};
  SetScrollInfo(hwnd, bar, &si, redraw);
  return IsWindow(hwnd);
}

BOOL GetScrollRange(HWND hwnd, int bar, LPINT minPos, LPINT maxPos) {
  SCROLLINFO si{sizeof si, SIF_RANGE, 0, 0, 0, 0, 0};
  if (!GetScrollInfo(hwnd, bar, &si)) return FALSE;
  if (minPos) *minPos = si.nMin;
  if (maxPos) *maxPos = si.nMax;
  return TRUE;
}

BOOL ShowScrollBar(HWND hwnd, int bar, BOOL show) {
  if (!IsWindow(hwnd)) return FALSE;
  if (bar == SB_CTL) return ShowWindow(hwnd, show ? SW_SHOW : SW_HIDE), TRUE;
  DWORD bits = bar == SB_HORZ ? WS_HSCROLL : bar == SB_VERT ? WS_VSCROLL : (WS_HSCROLL | WS_VSCROLL);
  LONG style = GetWindowLongA(hwnd, GWL_STYLE);
  LONG want = show ? (style | static_cast<LONG>(bits)) : (style & ~static_cast<LONG>(bits));
  if (want != style) {
    SetWindowLongA(hwnd, GWL_STYLE, want);
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
  return TRUE;
}

BOOL EnableScrollBar(HWND hwnd, UINT bar, UINT arrows) {
  if (!IsWindow(hwnd)) return FALSE;
  if (bar == SB_CTL) return static_cast<BOOL>(SendMessageA(hwnd, SBM_ENABLE_ARROWS, arrows, 0));
  {
    std::lock_guard<std::mutex> g(BarsLock());
    for (UINT which : {UINT{SB_HORZ}, UINT{SB_VERT}}) {
      Bar* b = WindowBar(hwnd, static_cast<int>(which));
      if (b && (bar == which || bar == SB_BOTH)) b->arrows = arrows;
    }
  }
  RedrawFrame(hwnd);
  return TRUE;
}

BOOL InitializeFlatSB(HWND hwnd) { return IsWindow(hwnd); }
LONG UninitializeFlatSB(HWND) { return 0; }
BOOL FlatSB_ShowScrollBar(HWND hwnd, int bar, BOOL show) { return ShowScrollBar(hwnd, bar, show); }
BOOL FlatSB_EnableScrollBar(HWND hwnd, int bar, UINT arrows) { return EnableScrollBar(hwnd, static_cast<UINT>(bar), arrows); }
int FlatSB_SetScrollInfo(HWND hwnd, int bar, LPCSCROLLINFO info, BOOL redraw) { return SetScrollInfo(hwnd, bar, info, redraw); }
BOOL FlatSB_GetScrollInfo(HWND hwnd, int bar, LPSCROLLINFO info) { return GetScrollInfo(hwnd, bar, info); }
int FlatSB_SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw) { return SetScrollPos(hwnd, bar, pos, redraw); }
int FlatSB_GetScrollPos(HWND hwnd, int bar) { return GetScrollPos(hwnd, bar); }
BOOL FlatSB_SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw) {
  return SetScrollRange(hwnd, bar, minPos, maxPos, redraw);
}
BOOL FlatSB_SetScrollProp(HWND hwnd, UINT, INT_PTR, BOOL) { return IsWindow(hwnd); }

namespace ctl {

int KeepScrollInfo(HWND hwnd, int bar, const SCROLLINFO& info) {
  std::lock_guard<std::mutex> g(BarsLock());
  Bar* b = WindowBar(hwnd, bar);
  return b ? ApplyInfo(b, &info) : 0;
}

void PaintWindowScrollBars(HWND hwnd) {
  HDC hdc = nullptr;
  for (int bar : {SB_HORZ, SB_VERT}) {
    RECT rc;
    if (!BarRect(hwnd, bar, &rc)) continue;
    if (!hdc) hdc = GetWindowDC(hwnd);
    if (!hdc) return;
    Bar b = Shown(BarCopy(hwnd, bar));
    Draw(hdc, Layout(rc, bar == SB_VERT, b), b, IsWindowEnabled(hwnd) && Scrollable(b));
  }
  if (hdc) ReleaseDC(hwnd, hdc);
}

// A press on a window's own bar: the window takes the mouse until the button
// comes up, in a loop of its own as the move loop does, waiting for input
// where every loop waits. The window hears the steps as WM_VSCROLL or
// WM_HSCROLL (no bar handle), a held thumb as SB_THUMBTRACK while it moves
// and SB_THUMBPOSITION where it is let go, and SB_ENDSCROLL last.
class WindowBarPress {
 public:
  WindowBarPress(HWND hwnd, int bar, const RECT& rc) : hwnd_(hwnd), bar_(bar), rc_(rc) {
    GetWindowRect(hwnd, &window_);
  }

  void Run(POINT screen) {
    press_ = BeginPress(Now(), BarCopy(hwnd_, bar_), Local(screen));
    if (press_.part == kNone) return;
    trackPos_ = press_.startPos;
    SetCapture(hwnd_);
    if (press_.part == kThumb) {
      ShowHeld(true);
    } else {
      if (!Send(CodeOf(press_.part))) return;
      repeat_ = SetTimer(nullptr, 0, kFirstRepeatMs, nullptr);
    }
    bool released = Loop();
    if (repeat_) KillTimer(nullptr, repeat_);
    if (!IsWindow(hwnd_)) return;
    if (GetCapture() == hwnd_) ReleaseCapture();
    if (press_.part == kThumb) {
      ShowHeld(false);
      if (released && !Send(SB_THUMBPOSITION, trackPos_)) return;
    }
    Send(SB_ENDSCROLL);
  }

 private:
  // Until the button comes up (true), or the capture or the window is gone.
  bool Loop() {
    while (IsWindow(hwnd_) && GetCapture() == hwnd_) {
      MSG m;
      if (!GetMessageA(&m, nullptr, 0, 0)) {
        PostQuitMessage(static_cast<int>(m.wParam));
        return false;
      }
      if (repeat_ && m.message == WM_TIMER && !m.hwnd && m.wParam == repeat_) {
        if (!Repeat()) return false;
      } else if (m.hwnd == hwnd_ && m.message >= WM_MOUSEFIRST && m.message <= WM_MOUSELAST) {
        if (press_.part == kThumb && (m.message == WM_MOUSEMOVE || m.message == WM_LBUTTONUP) && !Drag(m.pt))
          return false;
        if (m.message == WM_LBUTTONUP) return true;
      } else {
        TranslateMessage(&m);
        DispatchMessageA(&m);
      }
    }
    return false;
  }

  bool Repeat() {
    SetTimer(nullptr, repeat_, kRepeatMs, nullptr);
    POINT at;
    GetCursorPos(&at);
    return !RepeatsAt(Now(), press_, Local(at)) || Send(CodeOf(press_.part));
  }

  bool Drag(POINT screen) {
    int pos = DragPos(Now(), BarCopy(hwnd_, bar_), press_, Local(screen));
    if (pos == trackPos_) return true;
    trackPos_ = pos;
    ShowHeld(true);
    return Send(SB_THUMBTRACK, trackPos_);
  }

  // The bar now: the window may have changed its range while it scrolled.
  Geometry Now() const { return Layout(rc_, bar_ == SB_VERT, BarCopy(hwnd_, bar_)); }
  POINT Local(POINT screen) const { return POINT{screen.x - window_.left, screen.y - window_.top}; }

  // False when the window is gone.
  bool Send(UINT code, int pos = 0) {
    SendMessageA(hwnd_, bar_ == SB_VERT ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(code, static_cast<WORD>(pos)), 0);
    return IsWindow(hwnd_) != FALSE;
  }

  // The thumb drawn where it is held, or where the window put it when let go.
  void ShowHeld(bool held) {
    {
      std::lock_guard<std::mutex> g(BarsLock());
      Bar* b = WindowBar(hwnd_, bar_);
      if (!b) return;
      b->dragging = held;
      b->trackPos = trackPos_;
    }
    PaintWindowScrollBars(hwnd_);
  }

  HWND hwnd_;
  int bar_;
  RECT rc_;      // the bar, in window coordinates
  RECT window_;  // the window on the screen
  Press press_;
  int trackPos_ = 0;
  UINT_PTR repeat_ = 0;  // the thread timer of a held step
};

bool WindowScrollBarClick(HWND hwnd, int hit, POINT screen) {
  int bar = hit == HTVSCROLL ? SB_VERT : hit == HTHSCROLL ? SB_HORZ : -1;
  RECT rc;
  if (bar < 0 || !BarRect(hwnd, bar, &rc)) return false;
  WindowBarPress(hwnd, bar, rc).Run(screen);
  return true;
}

}  // namespace ctl

void PlatformPaintWindowScrollBars(HWND hwnd) { ctl::PaintWindowScrollBars(hwnd); }
BOOL PlatformWindowScrollBarClick(HWND hwnd, int hit, POINT screen) {
  return ctl::WindowScrollBarClick(hwnd, hit, screen) ? TRUE : FALSE;
}
