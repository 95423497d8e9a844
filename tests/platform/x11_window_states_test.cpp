// Window states through the X server: the close box, Alt+F4 and the window
// manager's close ask the window to close; the wheel scrolls the window under
// the pointer; with no window manager the window the program activates takes
// the keys; a press on a disabled owner beeps; minimise and restore under a window manager (openbox) keep the
// program's state and input, and without one minimise leaves the window usable.

#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "CommCtrl.h"
#include "Controls.h"
#include "StopChild.h"
#include "TempDir.h"
#include "x11_fixture.h"

#include <X11/XKBlib.h>

namespace {

struct StateLog {
  std::vector<UINT> commands;  // WM_SYSCOMMAND codes
  int closes = 0;
  int ups = 0;
  int keys = 0;
};
StateLog* gLog = nullptr;

LRESULT CALLBACK StateHostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (gLog) {
    switch (msg) {
      case WM_SYSCOMMAND: gLog->commands.push_back(static_cast<UINT>(wParam & 0xFFF0)); break;
      case WM_CLOSE: ++gLog->closes; return 0;  // asked, and kept open
      case WM_LBUTTONUP: ++gLog->ups; break;
      case WM_KEYDOWN: ++gLog->keys; break;
    }
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// A window manager on the test's server for as long as the object lives.
class WindowManager {
 public:
  explicit WindowManager(const std::string& display) {
    pid_ = fork();
    if (pid_ == 0) {
      prctl(PR_SET_PDEATHSIG, SIGTERM);
      setenv("DISPLAY", display.c_str(), 1);
      setenv("HOME", home_.path().c_str(), 1);
      execlp("openbox", "openbox", "--sm-disable", static_cast<char*>(nullptr));
      _exit(127);
    }
  }
  ~WindowManager() { StopChild(pid_); }

 private:
  TempDir home_;
  pid_t pid_ = -1;
};

}  // namespace

class X11States : public X11Test {
 public:
  void SetUp() override {
    X11Test::SetUp();
    PlatformRegisterControls();
    gLog = &log_;
  }
  void TearDown() override {
    X11Test::TearDown();
    gLog = nullptr;
  }

  // Shown and active; unless `keyboard` is false, the test also hands it the
  // X keyboard, as a window manager would.
  HWND MakeHost(bool keyboard = true) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = StateHostProc;
    wc.lpszClassName = "X11StateHost";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_3DFACE + 1);
    RegisterClassA(&wc);  // the first call registers it
    HWND host = CreateWindowExA(0, "X11StateHost", "States",
                                WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE, 120, 90, 320,
                                240, nullptr, nullptr, nullptr, nullptr);
    EXPECT_TRUE(Wait([&] { return Viewable(host); }));
    SetActiveWindow(host);
    if (keyboard) XSetInputFocus(x_, X(host), RevertToParent, CurrentTime);
    Pump();
    return host;
  }
  POINT BoxPoint(HWND host, int hit) {
    RECT r = WinRect(host);
    for (int y = r.top; y < r.top + 40; ++y)
      for (int x = r.right - 1; x > r.left; --x)
        if (SendMessageA(host, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == hit) return POINT{x, y};
    ADD_FAILURE() << "no point with hit code " << hit;
    return POINT{};
  }
  POINT ClientPoint(HWND hwnd, int x, int y) {
    POINT p{x, y};
    ClientToScreen(hwnd, &p);
    return p;
  }
  void Press(POINT at) {
    MoveTo(at);
    Button(1, true);
    Button(1, false);
  }

  StateLog log_;
};

TEST_F(X11States, TheCloseBoxAltF4AndTheWindowManagersCloseAskTheWindowToClose) {
  struct Case {
    const char* what;
    std::function<void(X11States*, HWND)> ask;
  } cases[] = {
      {"the caption's close box", [](X11States* t, HWND host) { t->Press(t->BoxPoint(host, HTCLOSE)); }},
      {"Alt+F4",
       [](X11States* t, HWND host) {
         XSetInputFocus(x_, X(host), RevertToParent, CurrentTime);
         t->Key(XK_Alt_L, true);
         t->Key(XK_F4, true), t->Key(XK_F4, false);
         t->Key(XK_Alt_L, false);
       }},
      {"the window manager's close", [](X11States*, HWND host) { SendDeleteWindow(host); }},
  };
  HWND host = MakeHost();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    log_ = StateLog{};
    c.ask(this, host);
    EXPECT_TRUE(Wait([&] { return log_.closes == 1; }));
    EXPECT_EQ(log_.commands, std::vector<UINT>{SC_CLOSE});
    EXPECT_TRUE(IsWindow(host));
  }
}

TEST_F(X11States, TheWheelScrollsTheWindowUnderThePointerByThreeLinesANotch) {
  HWND host = MakeHost();
  auto makeList = [](HWND parent, RECT r, DWORD style) {
    const DWORD all = WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY | style;
    HWND list = CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTBOX, "", all, r.left, r.top, r.right - r.left,
                                r.bottom - r.top, parent, nullptr, nullptr, nullptr);
    for (int i = 0; i < 60; ++i)
      SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(("line " + std::to_string(i)).c_str()));
    return list;
  };
  HWND focused = makeList(host, RECT{10, 10, 140, 100}, 0);
  HWND unfocused = makeList(host, RECT{160, 10, 290, 100}, 0);
  HWND disabled = makeList(host, RECT{160, 110, 290, 200}, WS_DISABLED);
  // A list inside a disabled container gets no input, as the container itself.
  HWND busy = CreateWindowExA(0, WC_STATIC, "", WS_CHILD | WS_VISIBLE | WS_DISABLED, 10, 110, 130, 90, host, nullptr,
                              nullptr, nullptr);
  HWND log = makeList(busy, RECT{0, 0, 130, 90}, 0);
  // Another top-level window, its list with the focus, for when the host is disabled.
  HWND other = MakePopup(0, WS_POPUP | WS_CAPTION, nullptr, RECT{480, 90, 680, 260});
  HWND elsewhere = makeList(other, RECT{10, 10, 150, 120}, 0);
  const std::vector<HWND> lists = {focused, unfocused, disabled, log, elsewhere};
  struct Case {
    const char* what;
    HWND over;
    unsigned button;
    int notches;
    HWND target;    // the window the wheel message goes to
    HWND scrolled;  // the list that moves (3 lines a notch), or none
    bool hostOff;
  } cases[] = {
      {"the focused list, down", focused, 5, 2, focused, focused, false},
      {"the focused list, up", focused, 4, 1, focused, focused, false},
      {"a list without the focus", unfocused, 5, 1, unfocused, unfocused, false},
      {"a list in a disabled container: the container's parent", log, 5, 1, host, nullptr, false},
      {"a disabled list: its parent", disabled, 5, 1, host, nullptr, false},
      {"a disabled top-level window: the focus", focused, 5, 1, elsewhere, elsewhere, true},
  };
  const POINT parked = ClientPoint(host, 150, 105);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    for (HWND l : lists) SendMessageA(l, LB_SETTOPINDEX, c.button == 4 ? 9 : 0, 0);
    EnableWindow(host, !c.hostOff);
    SetFocus(c.hostOff ? elsewhere : focused);
    Pump();
    const POINT over = CenterOf(c.over);
    MoveTo(over);
    testkit::MessageSpy spy;
    for (int i = 0; i < c.notches; ++i) Button(c.button, true), Button(c.button, false);
    auto routed = [&] {
      std::vector<testkit::SpiedMessage> out;
      for (const auto& m : spy.messages)
        if (m.msg == WM_MOUSEWHEEL && (out.empty() || m.hwnd == out.front().hwnd)) out.push_back(m);
      return out;
    };
    EXPECT_TRUE(Wait([&] { return static_cast<int>(routed().size()) == c.notches; }));
    ASSERT_FALSE(routed().empty());
    EXPECT_EQ(routed().front().hwnd, c.target);
    for (HWND l : lists) {
      int start = c.button == 4 ? 9 : 0, moved = 3 * c.notches * (c.button == 4 ? -1 : 1);
      EXPECT_EQ(SendMessageA(l, LB_GETTOPINDEX, 0, 0), l == c.scrolled ? start + moved : start) << l;
    }
    for (const auto& m : routed()) {
      EXPECT_EQ(static_cast<SHORT>(HIWORD(m.wParam)), c.button == 4 ? WHEEL_DELTA : -WHEEL_DELTA);
      EXPECT_EQ(GET_X_LPARAM(m.lParam), over.x);  // screen coordinates
      EXPECT_EQ(GET_Y_LPARAM(m.lParam), over.y);
    }
    MoveTo(parked);
  }
  EnableWindow(host, TRUE);
  DestroyWindow(other);
  DestroyWindow(host);
  Pump();
}

// With no window manager the server gives the keys to the window under the
// pointer, or to nobody over the bare screen: the program gives them to the
// window it activates, so a box that comes up takes Escape wherever the
// pointer is, and its owner has the keys again once it has gone.
struct FocusScene {
  X11States* test = nullptr;
  HWND host = nullptr;
  bool pressed = false;
  int ticks = 0;
};
FocusScene* gFocus = nullptr;

TEST_F(X11States, WithoutAWindowManagerTheWindowThatComesUpTakesTheKeysWhereverThePointerIs) {
  ASSERT_FALSE(backend_->CanMinimize());
  XSetInputFocus(x_, PointerRoot, RevertToPointerRoot, CurrentTime);
  MoveTo(POINT{2, 2});  // over the bare screen
  HWND host = MakeHost(false);
  auto downKeys = [&](int expected) {
    Key(XK_Down, true), Key(XK_Down, false);
    return Wait([&] { return log_.keys == expected; }, 2000);
  };
  EXPECT_TRUE(downKeys(1)) << "the active window does not take the keys";

  FocusScene scene{this, host};
  gFocus = &scene;
  UINT_PTR timer = SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR, DWORD) {
    FocusScene& s = *gFocus;
    HWND box = GetActiveWindow();
    ++s.ticks;
    if (!s.pressed && box && box != s.host && s.test->Viewable(box)) {
      s.pressed = true;
      s.test->Key(XK_Escape, true), s.test->Key(XK_Escape, false);
    }
    // Should the key never arrive, the box is answered otherwise and the test fails.
    if (s.ticks == 150 && box != s.host) testkit::Answer(box, IDOK);
  });
  int answer = MessageBoxA(host, "Stop the scan?", "Trellian", MB_OKCANCEL);
  KillTimer(nullptr, timer);
  gFocus = nullptr;
  EXPECT_TRUE(scene.pressed);
  EXPECT_EQ(answer, IDCANCEL);
  EXPECT_TRUE(downKeys(2)) << "the owner did not get the keys back";

  // Another top-level window comes up active: it takes the keys.
  HWND second = MakePopup(0, WS_POPUP | WS_CAPTION, nullptr, RECT{480, 90, 680, 260});
  ASSERT_TRUE(Wait([&] { return Viewable(second); }));
  testkit::MessageSpy spy;
  Key(XK_Down, true), Key(XK_Down, false);
  EXPECT_TRUE(Wait([&] { return !spy.Of(second, {WM_KEYDOWN}).empty(); }, 2000));
  EXPECT_EQ(log_.keys, 2);
  DestroyWindow(second);
  DestroyWindow(host);
  Pump();
}

// A press on a window that a modal box keeps disabled rings the display's
// bell (the server reports it to clients that ask) and brings the box up.
TEST_F(X11States, APressOnADisabledOwnerRingsTheBellAndBringsUpTheBox) {
  int opcode = 0, xkbEvent = 0, xkbError = 0, major = XkbMajorVersion, minor = XkbMinorVersion;
  ASSERT_TRUE(XkbQueryExtension(x_, &opcode, &xkbEvent, &xkbError, &major, &minor));
  XkbSelectEvents(x_, XkbUseCoreKbd, XkbBellNotifyMask, XkbBellNotifyMask);
  XSync(x_, False);
  auto bells = [&] {
    int n = 0;
    while (XPending(x_) > 0) {
      XEvent ev;
      XNextEvent(x_, &ev);
      if (ev.type == xkbEvent && reinterpret_cast<XkbEvent*>(&ev)->any.xkb_type == XkbBellNotify) ++n;
    }
    return n;
  };
  bells();
  HWND host = MakeHost();
  // What a modal loop leaves: the owner disabled, its box up.
  HWND box = MakePopup(0, WS_POPUP | WS_CAPTION, host, RECT{200, 150, 360, 230});
  EnableWindow(host, FALSE);
  HWND third = MakePopup(0, WS_POPUP | WS_CAPTION, nullptr, RECT{480, 90, 680, 260});
  ASSERT_TRUE(Wait([&] { return Viewable(box) && Viewable(third) && GetActiveWindow() == third; }));
  const int before = testkit::BeepCount();
  Press(ClientPoint(host, 20, 20));
  EXPECT_TRUE(Wait([&] { return testkit::BeepCount() == before + 1; }));
  EXPECT_EQ(GetActiveWindow(), box);
  int rung = 0;
  EXPECT_TRUE(Wait([&] { return (rung += bells()) >= 1; }, 2000)) << "the server heard no bell";
  EXPECT_EQ(log_.ups, 0);
  // An enabled window takes the press without a sound.
  EnableWindow(host, TRUE);
  Press(ClientPoint(host, 20, 20));
  EXPECT_TRUE(Wait([&] { return log_.ups == 1; }));
  EXPECT_EQ(testkit::BeepCount(), before + 1);
  XkbSelectEvents(x_, XkbUseCoreKbd, XkbBellNotifyMask, 0);
  DestroyWindow(third);
  DestroyWindow(box);
  DestroyWindow(host);
  Pump();
}

TEST_F(X11States, WithoutAWindowManagerMinimiseLeavesTheWindowAsItIsAndUsable) {
  ASSERT_FALSE(backend_->CanMinimize());
  HWND host = MakeHost();
  Press(BoxPoint(host, HTMINBUTTON));
  EXPECT_TRUE(Wait([&] { return !log_.commands.empty(); }));
  EXPECT_EQ(log_.commands, std::vector<UINT>{SC_MINIMIZE});
  EXPECT_FALSE(IsIconic(host));
  EXPECT_TRUE(Viewable(host));
  Press(ClientPoint(host, 60, 60));
  EXPECT_TRUE(Wait([&] { return log_.ups == 1; }));
}

TEST_F(X11States, MinimiseAndRestoreUnderAWindowManagerKeepTheWindowAndItsInput) {
  if (system("command -v openbox >/dev/null 2>&1") != 0) GTEST_SKIP() << "openbox is not installed";
  WindowManager wm(server_->name());
  ASSERT_TRUE(Wait([&] { return backend_->CanMinimize(); }, 10000)) << "openbox did not start";
  // Ready once it takes a new window in: a probe of our own, framed. A map
  // asked for while it still starts up is dropped, so the probe asks again.
  ::Window probe = XCreateSimpleWindow(x_, DefaultRootWindow(x_), 0, 0, 10, 10, 0, 0, 0);
  ASSERT_TRUE(Wait([&] {
    ::Window root = 0, parent = 0, *kids = nullptr;
    unsigned n = 0;
    XQueryTree(x_, probe, &root, &parent, &kids, &n);
    if (kids) XFree(kids);
    if (parent != root) return true;
    XMapWindow(x_, probe);
    return false;
  }, 10000)) << "openbox takes no windows";
  XDestroyWindow(x_, probe);
  struct Case {
    const char* what;
    std::function<void(X11States*, HWND)> minimise;
  } cases[] = {
      {"the caption's minimise box", [](X11States* t, HWND host) { t->Press(t->BoxPoint(host, HTMINBUTTON)); }},
      {"another client asks the window manager",
       [](X11States*, HWND host) {
         XIconifyWindow(x_, X(host), DefaultScreen(x_));
         XFlush(x_);
       }},
  };
  HWND host = MakeHost();
  HWND edit = CreateWindowExA(WS_EX_CLIENTEDGE, WC_EDIT, "kept", WS_CHILD | WS_VISIBLE, 10, 10, 120, 22, host,
                              reinterpret_cast<HMENU>(501), nullptr, nullptr);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SetFocus(edit);
    log_ = StateLog{};
    c.minimise(this, host);
    EXPECT_TRUE(Wait([&] { return IsIconic(host) && !Viewable(host); }, 10000));
    // The user asks for it back: the window manager maps it again.
    XMapRaised(x_, X(host));
    XFlush(x_);
    EXPECT_TRUE(Wait([&] { return !IsIconic(host) && Viewable(host); }, 10000));
    RECT shown = XRect(host), placed = WinRect(host);
    EXPECT_TRUE(EqualRect(&shown, &placed)) << shown.left << "," << shown.top << " " << placed.left << ","
                                            << placed.top;
    // Its state and input are as they were: the text, a click, a key.
    EXPECT_EQ(WindowText(edit), "kept");
    Press(ClientPoint(host, 200, 150));
    EXPECT_TRUE(Wait([&] { return log_.ups == 1; }));
    SetFocus(host);
    XSetInputFocus(x_, X(host), RevertToParent, CurrentTime);
    Key(XK_Down, true), Key(XK_Down, false);
    EXPECT_TRUE(Wait([&] { return log_.keys >= 1; }));
  }
  DestroyWindow(host);
  Pump();
}
