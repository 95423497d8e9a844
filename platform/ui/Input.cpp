// Input: focus, capture, activation, hit testing, key states, cursors, and the
// routing of mouse and keyboard input that a display or a test injects.

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <deque>

#include "Clock.h"
#include "Display.h"
#include "UiPlatform.h"
#include "WindowManager.h"

namespace {

// Input as it was injected, before it is routed.
struct RawInput {
  enum Kind { kMouse, kKey, kModifiers } kind;
  UINT msg;  // mouse message, or the key
  POINT pt;
  int wheel;
  BOOL down;
  // The modifier keys the display saw held (kHeld... bits), or -1 when it
  // does not say: the key states follow key-downs and key-ups alone.
  int held;
  bool IsMouse() const { return kind == kMouse; }
};

struct InputState {
  std::deque<RawInput> raw;
  HWND focus = nullptr;
  HWND capture = nullptr;
  HWND active = nullptr;
  POINT cursorPos{};
  HCURSOR cursor = nullptr;
  int cursorCount = 0;
  BYTE keys[256] = {};
  // The last button press, for double clicks.
  HWND clickWindow = nullptr;
  UINT clickMsg = 0;
  ULONGLONG clickTime = 0;
  POINT clickPos{};
};

InputState& In() {
  static InputState* s = new InputState;
  return *s;
}

bool KeyDown(int vk) { return (In().keys[vk & 0xFF] & 0x80) != 0; }

// The character a key gives on a US keyboard, 0 for none.
char VkToChar(UINT vk) {
  bool shift = KeyDown(VK_SHIFT);
  bool ctrl = KeyDown(VK_CONTROL);
  bool caps = (In().keys[VK_CAPITAL] & 1) != 0;
  if (vk >= 'A' && vk <= 'Z') {
    if (ctrl) return static_cast<char>(vk - 'A' + 1);
    return static_cast<char>((shift != caps) ? vk : vk - 'A' + 'a');
  }
  if (ctrl) return 0;
  if (vk >= '0' && vk <= '9') return shift ? ")!@#$%^&*("[vk - '0'] : static_cast<char>(vk);
  if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD0 + 9) return static_cast<char>('0' + vk - VK_NUMPAD0);
  switch (vk) {
    case VK_SPACE: return ' ';
    case VK_RETURN: return '\r';
    case VK_BACK: return '\b';
    case VK_TAB: return '\t';
    case VK_ESCAPE: return 27;
    case VK_MULTIPLY: return '*';
    case VK_ADD: return '+';
    case VK_SUBTRACT: return '-';
    case VK_DECIMAL: return '.';
    case VK_DIVIDE: return '/';
    case VK_OEM_1: return shift ? ':' : ';';
    case VK_OEM_PLUS: return shift ? '+' : '=';
    case VK_OEM_COMMA: return shift ? '<' : ',';
    case VK_OEM_MINUS: return shift ? '_' : '-';
    case VK_OEM_PERIOD: return shift ? '>' : '.';
    case VK_OEM_2: return shift ? '?' : '/';
    case VK_OEM_3: return shift ? '~' : '`';
  }
  return 0;
}

void SetKey(UINT vk, bool down) {
  BYTE& k = In().keys[vk & 0xFF];
  if (down && !(k & 0x80)) k ^= 1;  // toggle state flips on each press
  k = static_cast<BYTE>(down ? (k | 0x80) : (k & ~0x80));
}

// The modifiers as the display saw them held before an event: a key-up that
// never reached us (the window manager took Alt+F4, the window went) leaves
// no key down here. Caller holds the lock.
void ApplyHeld(int held) {
  if (held < 0) return;
  static const struct {
    int bit;
    UINT vk, left, right;
  } kModifiers[] = {{kHeldShift, VK_SHIFT, VK_LSHIFT, VK_RSHIFT},
                    {kHeldControl, VK_CONTROL, VK_LCONTROL, VK_RCONTROL},
                    {kHeldAlt, VK_MENU, VK_LMENU, VK_RMENU}};
  for (const auto& m : kModifiers) {
    const bool down = (held & m.bit) != 0;
    if (KeyDown(m.vk) == down) continue;
    SetKey(m.vk, down);
    if (!down) {
      SetKey(m.left, false);
      SetKey(m.right, false);
    }
  }
}

struct Hit {
  HWND hwnd = nullptr;
  int code = HTNOWHERE;
};

// The deepest enabled, visible window under `pt` inside `hwnd`, skipping
// windows that call themselves transparent (statics and group boxes).
Hit Descend(HWND hwnd, POINT pt) {
  std::vector<HWND> candidates;
  HWND disabledChild = nullptr;
  {
    wm::Guard g(wm::Lock());
    wm::Window* w = wm::Find(hwnd);
    if (!w) return Hit{};
    for (wm::Window* c : w->children) {
      if (!(c->style & WS_VISIBLE)) continue;
      RECT r = wm::ScreenRectOf(c);
      if (!PtInRect(&r, pt)) continue;
      if (c->style & WS_DISABLED) {
        disabledChild = c->hwnd;
        break;
      }
      candidates.push_back(c->hwnd);
    }
  }
  if (!disabledChild) {
    for (HWND c : candidates) {
      Hit h = Descend(c, pt);
      if (h.hwnd) return h;
    }
  }
  int code = static_cast<int>(
      static_cast<LONG>(SendMessageA(hwnd, WM_NCHITTEST, 0, MAKELPARAM(static_cast<WORD>(pt.x), static_cast<WORD>(pt.y)))));
  if (code == HTTRANSPARENT) return Hit{};
  return Hit{hwnd, code};
}

bool ShowsAt(const wm::Window* t, POINT pt) {
  if (!(t->style & WS_VISIBLE) || (t->style & WS_MINIMIZE)) return false;
  RECT r = wm::ScreenRectOf(t);
  return PtInRect(&r, pt) != FALSE;
}

Hit HitTest(POINT pt) {
  std::vector<HWND> tops;
  {
    wm::Guard g(wm::Lock());
    for (wm::Window* t : wm::Desktop()->children) {
      if (ShowsAt(t, pt)) tops.push_back(t->hwnd);
    }
  }
  for (HWND t : tops) {
    Hit h = Descend(t, pt);
    if (h.hwnd) return h;
  }
  return Hit{};
}

// The top-level window under `pt`, the first the hit test looks into; caller holds the lock.
wm::Window* TopLevelAt(POINT pt) {
  for (wm::Window* t : wm::Desktop()->children) {
    if (ShowsAt(t, pt)) return t;
  }
  return nullptr;
}

}  // namespace

namespace wm {

WPARAM MouseKeyFlags() {
  WPARAM f = 0;
  if (KeyDown(VK_LBUTTON)) f |= MK_LBUTTON;
  if (KeyDown(VK_RBUTTON)) f |= MK_RBUTTON;
  if (KeyDown(VK_MBUTTON)) f |= MK_MBUTTON;
  if (KeyDown(VK_SHIFT)) f |= MK_SHIFT;
  if (KeyDown(VK_CONTROL)) f |= MK_CONTROL;
  return f;
}

// The visible, enabled top-level window that `owner` owns (directly or
// through others): the pop-up that keeps it disabled.
HWND EnabledOwnedWindow(HWND owner) {
  Guard g(Lock());
  for (Window* t : Desktop()->children) {
    if ((t->style & (WS_VISIBLE | WS_DISABLED)) != WS_VISIBLE) continue;
    for (Window* o = t->owner; o; o = o->owner) {
      if (o->hwnd == owner) return t->hwnd;
    }
  }
  return nullptr;
}

void InputForgetWindow(HWND hwnd) {
  Guard g(Lock());
  InputState& s = In();
  if (s.focus == hwnd) s.focus = nullptr;
  if (s.capture == hwnd) s.capture = nullptr;
  if (s.active == hwnd) s.active = nullptr;
  if (s.clickWindow == hwnd) s.clickWindow = nullptr;
}

}  // namespace wm

using namespace wm;

void PlatformResetInputState() {
  Guard g(Lock());
  In() = InputState{};
}

// ---------------------------------------------------------------- focus and activation

HWND GetFocus() {
  Guard g(Lock());
  return IsWindow(In().focus) ? In().focus : nullptr;
}

HWND SetFocus(HWND hwnd) {
  if (hwnd && !IsWindow(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  if (hwnd) {
    HWND top = GetAncestor(hwnd, GA_ROOT);
    if (top && top != GetActiveWindow()) SetActiveWindow(top);
    if (!IsWindow(hwnd)) return nullptr;
  }
  HWND old = GetFocus();
  if (old == hwnd) return old;
  if (old) {
    SendMessageA(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
    // The handler may have moved the focus itself; then that stands.
    if (GetFocus() != old) return old;
  }
  {
    Guard g(Lock());
    In().focus = hwnd;
  }
  if (hwnd) SendMessageA(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
  return old;
}

HWND GetActiveWindow() {
  Guard g(Lock());
  return IsWindow(In().active) ? In().active : nullptr;
}

// Activation moving to or from a thread's windows reaches every top-level
// window of that thread, hidden ones too; lParam names the other thread.
static void SendActivateApp(DWORD thread, BOOL active, DWORD otherThread) {
  std::vector<HWND> tops;
  {
    Guard g(Lock());
    for (Window* t : Desktop()->children)
      if (t->threadId == thread) tops.push_back(t->hwnd);
  }
  for (HWND t : tops)
    if (IsWindow(t)) SendMessageA(t, WM_ACTIVATEAPP, active, static_cast<LPARAM>(otherThread));
}

HWND SetActiveWindow(HWND hwnd) {
  if (hwnd) hwnd = GetAncestor(hwnd, GA_ROOT);
  HWND old = GetActiveWindow();
  if (old == hwnd) return old;
  {
    Guard g(Lock());
    In().active = hwnd;
    if (Window* w = Find(hwnd)) StackTopLevel(w, HWND_TOP);
  }
  PlatformDisplay()->WindowActivated(hwnd);
  DWORD oldThread = old ? GetWindowThreadProcessId(old, nullptr) : 0;
  DWORD newThread = hwnd ? GetWindowThreadProcessId(hwnd, nullptr) : 0;
  if (old) {
    SendMessageA(old, WM_NCACTIVATE, FALSE, 0);
    SendMessageA(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, IsIconic(old)), reinterpret_cast<LPARAM>(hwnd));
    if (oldThread != newThread) SendActivateApp(oldThread, FALSE, newThread);
  }
  if (hwnd && IsWindow(hwnd)) {
    if (oldThread != newThread) SendActivateApp(newThread, TRUE, oldThread);
    SendMessageA(hwnd, WM_NCACTIVATE, TRUE, 0);
    SendMessageA(hwnd, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, IsIconic(hwnd)), reinterpret_cast<LPARAM>(old));
  }
  // Focus never stays in a window that is no longer active.
  HWND focus = GetFocus();
  if (focus && GetAncestor(focus, GA_ROOT) != GetActiveWindow()) SetFocus(nullptr);
  return old;
}

BOOL SetForegroundWindow(HWND hwnd) {
  if (!IsWindow(hwnd)) return FALSE;
  SetActiveWindow(hwnd);
  return TRUE;
}

HWND GetForegroundWindow() { return GetActiveWindow(); }

// ---------------------------------------------------------------- capture

HWND GetCapture() {
  Guard g(Lock());
  return IsWindow(In().capture) ? In().capture : nullptr;
}

HWND SetCapture(HWND hwnd) {
  if (!IsWindow(hwnd)) return nullptr;
  HWND old;
  {
    Guard g(Lock());
    old = IsWindow(In().capture) ? In().capture : nullptr;
    In().capture = hwnd;
  }
  if (old != hwnd) PlatformDisplay()->CaptureChanged(hwnd);
  if (old && old != hwnd) SendMessageA(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
  return old;
}

BOOL ReleaseCapture() {
  HWND old;
  {
    Guard g(Lock());
    old = IsWindow(In().capture) ? In().capture : nullptr;
    In().capture = nullptr;
  }
  if (old) PlatformDisplay()->CaptureChanged(nullptr);
  if (old) SendMessageA(old, WM_CAPTURECHANGED, 0, 0);
  return TRUE;
}

// ---------------------------------------------------------------- hit testing and cursors

HWND WindowFromPoint(POINT pt) { return HitTest(pt).hwnd; }

HWND ChildWindowFromPoint(HWND parent, POINT pt) {
  Guard g(Lock());
  Window* w = Find(parent);
  if (!w) return nullptr;
  RECT cl{0, 0, w->client.right - w->client.left, w->client.bottom - w->client.top};
  if (!PtInRect(&cl, pt)) return nullptr;
  for (Window* c : w->children) {
    if (PtInRect(&c->rect, pt)) return c->hwnd;
  }
  return parent;
}

BOOL GetCursorPos(LPPOINT pt) {
  if (!pt) return FALSE;
  Guard g(Lock());
  *pt = In().cursorPos;
  return TRUE;
}

BOOL SetCursorPos(int x, int y) {
  Guard g(Lock());
  In().cursorPos = POINT{x, y};
  return TRUE;
}

HCURSOR SetCursor(HCURSOR cursor) {
  HCURSOR old;
  {
    Guard g(Lock());
    old = In().cursor;
    In().cursor = cursor;
  }
  if (old != cursor) PlatformDisplay()->CursorChanged(cursor);
  return old;
}

HCURSOR GetCursor() {
  Guard g(Lock());
  return In().cursor;
}

int ShowCursor(BOOL show) {
  Guard g(Lock());
  return show ? ++In().cursorCount : --In().cursorCount;
}

SHORT GetKeyState(int vk) {
  Guard g(Lock());
  BYTE k = In().keys[vk & 0xFF];
  return static_cast<SHORT>(((k & 0x80) ? 0x8000 : 0) | (k & 1));
}

SHORT GetAsyncKeyState(int vk) {
  Guard g(Lock());
  return static_cast<SHORT>((In().keys[vk & 0xFF] & 0x80) ? 0x8000 : 0);
}

UINT GetDoubleClickTime() { return 500; }

static std::atomic<int> beeps{0};

BOOL MessageBeep(UINT) {
  ++beeps;
  PlatformDisplay()->Beep();
  return TRUE;
}

int PlatformBeepCount() { return beeps; }

// Takes the mouse and the keyboard until the button comes up, Escape is
// pressed or the mouse leaves the drag rectangle. Timers and paints go on
// meanwhile; other posted messages wait in the queue for the caller's loop,
// and so does a quit, which ends the detection.
BOOL DragDetect(HWND hwnd, POINT pt) {
  if (!IsWindow(hwnd)) return FALSE;
  ClientToScreen(hwnd, &pt);
  int dx = GetSystemMetrics(SM_CXDRAG), dy = GetSystemMetrics(SM_CYDRAG);
  SetCapture(hwnd);
  BOOL dragged = FALSE;
  auto take = [](MSG* msg, UINT first, UINT last) {
    return PeekMessageA(msg, nullptr, first, last, PM_REMOVE) != FALSE;
  };
  for (;;) {
    if (GetCapture() != hwnd || !IsWindow(hwnd)) break;
    MSG msg;
    // Keys are taken too, so that the mouse input behind them gets through.
    bool got = take(&msg, WM_MOUSEFIRST, WM_MOUSELAST) || take(&msg, WM_KEYFIRST, WM_KEYLAST) ||
               take(&msg, WM_TIMER, WM_TIMER) || take(&msg, WM_PAINT, WM_PAINT);
    if (!got) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, INFINITE, QS_ALLINPUT);
      continue;
    }
    // A quit comes through any filter.
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (msg.message == WM_TIMER || msg.message == WM_PAINT) {
      DispatchMessageA(&msg);
      continue;
    }
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) break;
    if (msg.message == WM_LBUTTONUP || msg.message == WM_RBUTTONUP) {
      PostMessageA(msg.hwnd, msg.message, msg.wParam, msg.lParam);
      break;
    }
    if (msg.message == WM_MOUSEMOVE && (std::abs(msg.pt.x - pt.x) > dx || std::abs(msg.pt.y - pt.y) > dy)) {
      dragged = TRUE;
      break;
    }
  }
  if (GetCapture() == hwnd) ReleaseCapture();
  return dragged;
}

// ---------------------------------------------------------------- keyboard translation

BOOL TranslateMessage(const MSG* msg) {
  if (!msg || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN)) return FALSE;
  char ch;
  {
    Guard g(Lock());
    ch = VkToChar(static_cast<UINT>(msg->wParam));
  }
  if (!ch) return FALSE;
  // The character comes next, before anything else already queued.
  MSG c = *msg;
  c.message = msg->message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR;
  c.wParam = static_cast<unsigned char>(ch);
  Guard g(Lock());
  Window* w = Find(msg->hwnd);
  if (!w || !w->queue) return FALSE;
  w->queue->posted.push_front(c);
  ++w->queue->arrivals;
  w->queue->Wake();
  return TRUE;
}

// ---------------------------------------------------------------- injected input

// No key or wheel reaches a disabled window, nor any window inside one.
static bool InputAllowed(HWND target) {
  for (HWND w = target; w; w = (GetWindowLongA(w, GWL_STYLE) & WS_CHILD) ? GetParent(w) : nullptr) {
    if (!IsWindowEnabled(w)) return false;
  }
  return true;
}

namespace {

// Where an event goes, decided before it is routed, and so before any hit
// test (which asks the windows): the thread that routes it is the one that
// owns this window, and the routing starts from it.
struct Receiver {
  enum Source { kNone, kCapture, kPointer, kFocus, kActive } source = kNone;
  HWND hwnd = nullptr;  // for kPointer the top-level window, inside which the hit test looks
};

// The capture, else the top-level window under the pointer, for the mouse;
// the focus, else the active window, for keys. The wheel goes to the
// top-level window under the pointer, and where that is disabled (a modal
// box's owner) or none of ours, where the keys go. Caller holds the lock.
Receiver ReceiverLocked(const RawInput& e) {
  InputState& s = In();
  if (e.kind == RawInput::kModifiers) return {};
  if (e.IsMouse()) {
    const bool wheel = e.msg == WM_MOUSEWHEEL;
    if (Window* c = wheel ? nullptr : Find(s.capture)) return {Receiver::kCapture, c->hwnd};
    Window* top = TopLevelAt(e.pt);
    if (top && !(wheel && (top->style & WS_DISABLED))) return {Receiver::kPointer, top->hwnd};
    if (!wheel) return {};
  }
  if (Window* f = Find(s.focus)) return {Receiver::kFocus, f->hwnd};
  if (Window* a = Find(s.active)) return {Receiver::kActive, a->hwnd};
  return {};
}

// The wheel scrolls what is under the pointer, as on current desktops, with
// or without the focus; a window that does not scroll hands it to its parent
// (DefWindowProc). A disabled window, and all inside it, passes it to the
// nearest enabled window above it.
HWND WheelTarget(const Receiver& to, POINT pt) {
  if (to.source != Receiver::kPointer) return InputAllowed(to.hwnd) ? to.hwnd : nullptr;
  HWND target = Descend(to.hwnd, pt).hwnd;
  while (target && !IsWindowEnabled(target) && (GetWindowLongA(target, GWL_STYLE) & WS_CHILD))
    target = GetParent(target);
  return target ? target : to.hwnd;
}

}  // namespace

static void RouteMouse(const RawInput& e, const Receiver& to) {
  const UINT msg = e.msg;
  const POINT pt = e.pt;
  {
    Guard g(Lock());
    In().cursorPos = pt;
    ApplyHeld(e.held);
    switch (msg) {
      case WM_LBUTTONDOWN: SetKey(VK_LBUTTON, true); break;
      case WM_LBUTTONUP: SetKey(VK_LBUTTON, false); break;
      case WM_RBUTTONDOWN: SetKey(VK_RBUTTON, true); break;
      case WM_RBUTTONUP: SetKey(VK_RBUTTON, false); break;
      case WM_MBUTTONDOWN: SetKey(VK_MBUTTON, true); break;
      case WM_MBUTTONUP: SetKey(VK_MBUTTON, false); break;
    }
  }
  if (!to.hwnd) return;
  LPARAM screen = MAKELPARAM(static_cast<WORD>(pt.x), static_cast<WORD>(pt.y));
  if (msg == WM_MOUSEWHEEL) {
    if (HWND target = WheelTarget(to, pt))
      PostMessageA(target, WM_MOUSEWHEEL, MAKEWPARAM(MouseKeyFlags(), static_cast<WORD>(static_cast<SHORT>(e.wheel))),
                   screen);
    return;
  }
  bool down = msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN;
  HWND target = to.hwnd;
  int hit = HTCLIENT;
  if (to.source == Receiver::kPointer) {
    const HWND top = to.hwnd;
    Hit h = Descend(top, pt);
    target = h.hwnd;
    hit = h.code;
    if (!target) return;
    // A window disabled by a modal loop takes no input at all: a press on it
    // beeps and brings up the window that keeps it disabled.
    if (!IsWindowEnabled(top)) {
      if (down) {
        MessageBeep(0);
        if (HWND popup = EnabledOwnedWindow(top)) SetActiveWindow(popup);
      }
      return;
    }
    SendMessageA(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target), MAKELPARAM(hit, msg));
    if (down && top != GetActiveWindow()) {
      LRESULT ma = SendMessageA(target, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(top), MAKELPARAM(hit, msg));
      if (ma == MA_ACTIVATE || ma == MA_ACTIVATEANDEAT) SetActiveWindow(top);
      if (ma == MA_ACTIVATEANDEAT || ma == MA_NOACTIVATEANDEAT) return;
    }
    if (!IsWindow(target)) return;
  }
  UINT out = msg;
  WPARAM wParam;
  LPARAM lParam;
  if (hit == HTCLIENT) {
    POINT c = pt;
    ScreenToClient(target, &c);
    wParam = MouseKeyFlags();
    lParam = MAKELPARAM(static_cast<WORD>(c.x), static_cast<WORD>(c.y));
    if (down) {
      Guard g(Lock());
      InputState& s = In();
      Window* w = Find(target);
      ULONGLONG now = GetTickCount64();
      bool dbl = w && w->cls && (w->cls->style & CS_DBLCLKS) && s.clickWindow == target && s.clickMsg == msg &&
                 now - s.clickTime <= GetDoubleClickTime() &&
                 std::abs(pt.x - s.clickPos.x) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
                 std::abs(pt.y - s.clickPos.y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2;
      if (dbl) {
        out = msg + (WM_LBUTTONDBLCLK - WM_LBUTTONDOWN);
        s.clickWindow = nullptr;
      } else {
        s.clickWindow = target;
        s.clickMsg = msg;
        s.clickTime = now;
        s.clickPos = pt;
      }
    }
  } else {
    out = msg - WM_MOUSEMOVE + WM_NCMOUSEMOVE;
    wParam = static_cast<WPARAM>(hit);
    lParam = screen;
  }
  PostMessageA(target, out, wParam, lParam);
}

static void RouteKey(const RawInput& e, const Receiver& to) {
  const UINT vk = e.msg;
  const bool down = e.down != FALSE;
  bool alt;
  {
    Guard g(Lock());
    ApplyHeld(e.held);
    SetKey(vk, down);
    if (vk == VK_LSHIFT || vk == VK_RSHIFT) SetKey(VK_SHIFT, down);
    if (vk == VK_LCONTROL || vk == VK_RCONTROL) SetKey(VK_CONTROL, down);
    if (vk == VK_LMENU || vk == VK_RMENU) SetKey(VK_MENU, down);
    alt = KeyDown(VK_MENU);
  }
  if (!to.hwnd || !InputAllowed(to.hwnd)) return;
  // With no focus the active window hears the keys, as system keys, so that
  // no dialog takes them for its Enter or Escape.
  bool sys = (alt && !KeyDown(VK_CONTROL)) || vk == VK_F10 || vk == VK_MENU || to.source == Receiver::kActive;
  UINT msg = sys ? (down ? WM_SYSKEYDOWN : WM_SYSKEYUP) : (down ? WM_KEYDOWN : WM_KEYUP);
  LPARAM lParam = 1 | (alt ? (1 << 29) : 0);
  if (!down) lParam |= (static_cast<LPARAM>(1) << 30) | (static_cast<LPARAM>(1) << 31);
  PostMessageA(to.hwnd, msg, vk, static_cast<LPARAM>(static_cast<DWORD>(lParam)));
}

// Input is routed when a thread reads its queue, one event at a time and only
// once the thread has taken the input routed before: so a loop that starts on a
// button press (capture, the move loop) sees the input that follows through
// its capture, and the key states are those of the message being handled.
// Each thread routes its own input (hit testing may ask its windows), so a
// thread that stops reading holds back its own input and nobody else's.
static void Inject(const RawInput& e) {
  {
    Guard g(Lock());
    In().raw.push_back(e);
  }
  wm::AnnounceInput();
}

void PlatformInjectMouse(UINT msg, POINT pt, int wheel, int held) {
  Inject(RawInput{RawInput::kMouse, msg, pt, wheel, FALSE, held});
}

void PlatformInjectKey(UINT vk, BOOL down, int held) { Inject(RawInput{RawInput::kKey, vk, POINT{}, 0, down, held}); }

void PlatformInjectHeldModifiers(int held) { Inject(RawInput{RawInput::kModifiers, 0, POINT{}, 0, FALSE, held}); }

namespace wm {

// Menus show their keyboard cues when the keyboard opened them.
static bool lastInputWasKey = false;

bool LastInputWasKey() {
  Guard g(Lock());
  return lastInputWasKey;
}

static bool IsInputMessage(UINT m) {
  return (m >= WM_MOUSEFIRST && m <= WM_MOUSELAST) || (m >= WM_NCMOUSEMOVE && m <= WM_NCMBUTTONDBLCLK) ||
         (m >= WM_KEYFIRST && m <= WM_KEYLAST);
}

static bool Overlaps(UINT min, UINT max, UINT first, UINT last) {
  return (min == 0 && max == 0) || (min <= last && max >= first);
}

// Whether a look at the queue for messages in min..max would take what the event becomes.
static bool LookTakes(const RawInput& e, UINT min, UINT max) {
  if (e.kind == RawInput::kModifiers) return true;
  if (!e.IsMouse()) return Overlaps(min, max, WM_KEYFIRST, WM_KEYLAST);
  return Overlaps(min, max, WM_MOUSEFIRST, WM_MOUSELAST) || Overlaps(min, max, WM_NCMOUSEMOVE, WM_NCMBUTTONDBLCLK);
}

// Input the thread has been given and not yet taken, in min..max (0, 0: any); caller holds the lock.
static bool HoldsInputLocked(const ThreadQueue* q, UINT min, UINT max) {
  for (const MSG& m : q->posted) {
    if (IsInputMessage(m.message) && Overlaps(min, max, m.message, m.message)) return true;
  }
  return false;
}

// The thread whose queue the event will reach: the owner of the window the
// routing will start from. Null when no thread of ours will get it (and for
// a change of the held modifiers, which any thread takes in its turn).
// Caller holds the lock.
static ThreadQueue* QueueOf(const Receiver& to) {
  Window* w = Find(to.hwnd);
  return w && w->queue && !w->queue->dead ? w->queue.get() : nullptr;
}

void RouteRawInput(ThreadQueue* q, UINT min, UINT max) {
  for (;;) {
    RawInput next;
    Receiver to;
    {
      Guard g(Lock());
      auto& raw = In().raw;
      // The thread's first event decides; other threads' events, before or
      // after it, wait for those threads.
      auto it = raw.begin();
      for (; it != raw.end(); ++it) {
        to = ReceiverLocked(*it);
        ThreadQueue* receiver = QueueOf(to);
        if (!receiver || receiver == q) break;
      }
      if (it == raw.end()) return;
      // Its input routed before comes first; but a look that asks for some
      // messages only takes those past the others left in the queue.
      if (HoldsInputLocked(q, min, max) || (!LookTakes(*it, min, max) && HoldsInputLocked(q, 0, 0))) return;
      next = *it;
      raw.erase(it);
      if (next.kind == RawInput::kModifiers) {
        ApplyHeld(next.held);
        continue;
      }
      lastInputWasKey = !next.IsMouse();
    }
    if (next.IsMouse())
      RouteMouse(next, to);
    else
      RouteKey(next, to);
  }
}

}  // namespace wm
