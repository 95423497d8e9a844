// Menus driven by a person's keys and clicks through the X server: the system
// menu opened by Alt+Space or by a click on the caption's icon, and a menu
// bar's pop-up; with nothing selected, Up takes the last item that can be
// chosen and Down the first. The program appends its About item after Close,
// so Up then Return must open About, never close the window.

#include "Menu.h"
#include "x11_fixture.h"

namespace {

const UINT kAbout = 0x10;
const UINT kBarFirst = 61, kBarLast = 62, kBarGrey = 63;

struct MenuLog {
  std::vector<UINT> commands;  // WM_SYSCOMMAND codes and WM_COMMAND ids that a menu gave
  int closes = 0;
  int loops = 0;  // menu loops ended
  std::vector<std::pair<UINT, WPARAM>> keys;  // key-downs: the message and the key
};
MenuLog* gMenuLog = nullptr;

LRESULT CALLBACK MenuHostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (gMenuLog) {
    switch (msg) {
      case WM_SYSCOMMAND: {
        const UINT code = static_cast<UINT>(wParam & 0xFFF0);
        if (code == SC_KEYMENU || code == SC_MOUSEMENU) break;  // these open the menu
        gMenuLog->commands.push_back(code);
        return 0;  // recorded only: no move loop, no close
      }
      case WM_COMMAND: gMenuLog->commands.push_back(LOWORD(wParam)); return 0;
      case WM_CLOSE: ++gMenuLog->closes; return 0;
      case WM_EXITMENULOOP: ++gMenuLog->loops; break;
      case WM_KEYDOWN:
      case WM_SYSKEYDOWN: gMenuLog->keys.emplace_back(msg, wParam); break;
    }
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace

class X11MenuKeys : public X11Test {
 public:
  void SetUp() override {
    X11Test::SetUp();
    gMenuLog = &log_;
    WNDCLASSA wc{};
    wc.lpfnWndProc = MenuHostProc;
    wc.lpszClassName = "X11MenuHost";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_3DFACE + 1);
    RegisterClassA(&wc);  // the first call registers it
    HMENU bar = CreateMenu();
    HMENU popup = CreatePopupMenu();
    AppendMenuA(popup, MF_STRING, kBarFirst, "&First");
    AppendMenuA(popup, MF_STRING, kBarLast, "&Last");
    AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(popup, MF_STRING | MF_GRAYED, kBarGrey, "&Grey");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), "&Group");
    host_ = CreateWindowExA(0, "X11MenuHost", "Menus", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 120, 90,
                            320, 240, nullptr, bar, nullptr, nullptr);
    ASSERT_NE(host_, nullptr);
    HMENU sys = GetSystemMenu(host_, FALSE);
    AppendMenuA(sys, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(sys, MF_STRING, kAbout, "&About Trellian...");
    ASSERT_TRUE(Wait([&] { return Viewable(host_); }));
    SetActiveWindow(host_);
    XSetInputFocus(x_, X(host_), RevertToParent, CurrentTime);
    Pump();
  }
  void TearDown() override {
    if (IsWindow(host_)) DestroyWindow(host_);
    gMenuLog = nullptr;
    X11Test::TearDown();
  }

  void Tap(KeySym ks) { Key(ks, true), Key(ks, false); }
  void AltSpace() {
    Key(XK_Alt_L, true);
    Tap(XK_space);
    Key(XK_Alt_L, false);
  }
  POINT PointWithHit(int hit) {
    RECT r = WinRect(host_);
    for (int y = r.top; y < r.top + 60; ++y)
      for (int x = r.left; x < r.right; ++x)
        if (SendMessageA(host_, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == hit) return POINT{x + 2, y + 2};
    ADD_FAILURE() << "no point with hit code " << hit;
    return POINT{};
  }

  HWND host_ = nullptr;
  MenuLog log_;
};

TEST_F(X11MenuKeys, ArrowsWithNothingSelectedStartAtTheEndsOfTheSystemMenuAndTheMenuBar) {
  struct Case {
    const char* what;
    std::function<void(X11MenuKeys*)> open;
    std::vector<KeySym> keys;
    UINT expected;
  } cases[] = {
      {"Alt+Space, Up: the appended About, not Close", [](X11MenuKeys* t) { t->AltSpace(); }, {XK_Up}, kAbout},
      {"Alt+Space, Up, Up: Close", [](X11MenuKeys* t) { t->AltSpace(); }, {XK_Up, XK_Up}, SC_CLOSE},
      {"Alt+Space, Down: Move, past the grey Restore", [](X11MenuKeys* t) { t->AltSpace(); }, {XK_Down}, SC_MOVE},
      {"the caption's icon, Up: About",
       [](X11MenuKeys* t) { t->ClickAt(t->PointWithHit(HTSYSMENU)); }, {XK_Up}, kAbout},
      {"the menu bar, Up: the last item that is not grey",
       [](X11MenuKeys* t) { t->ClickAt(t->PointWithHit(HTMENU)); }, {XK_Up}, kBarLast},
      {"the menu bar, Down: the first item", [](X11MenuKeys* t) { t->ClickAt(t->PointWithHit(HTMENU)); }, {XK_Down},
       kBarFirst},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    log_ = MenuLog{};
    // Everything goes to the server at once: the program reads it in order,
    // the keys after the opening inside the menu's own loop.
    // Escapes close whatever a wrong step left open.
    c.open(this);
    for (KeySym ks : c.keys) Tap(ks);
    Tap(XK_Return);
    Tap(XK_Escape), Tap(XK_Escape);
    EXPECT_TRUE(Wait([&] { return log_.loops == 1; }));
    Pump();
    EXPECT_EQ(log_.commands, std::vector<UINT>{c.expected});
    EXPECT_EQ(log_.closes, 0);
    EXPECT_TRUE(IsWindow(host_));
    EXPECT_EQ(PlatformActiveMenuWindow(), nullptr);
  }
}

// The modifiers are those the server says are held, not those whose key-up
// the program saw: a window manager that keeps Alt+F4, or a window that goes
// under the keys, takes the Alt key-up elsewhere. Each event's state field
// says what is held, and so does the key map the server sends when the
// program gets the keyboard back.
TEST_F(X11MenuKeys, AnAltWhoseKeyUpWentElsewhereIsNotHeldOnceTheKeysComeBack) {
  SetFocus(host_);
  const auto altHeld = [] { return GetKeyState(VK_MENU) < 0; };
  // The key-up goes to another program's window, which has the keyboard.
  ::Window other = XCreateSimpleWindow(x_, DefaultRootWindow(x_), 500, 400, 50, 50, 0, 0, 0);
  XMapWindow(x_, other);
  XSync(x_, False);
  Key(XK_Alt_L, true);
  ASSERT_TRUE(Wait(altHeld)) << "the Alt press did not arrive";
  XSetInputFocus(x_, other, RevertToParent, CurrentTime);
  Key(XK_Alt_L, false);
  XSync(x_, False);
  Pump();
  EXPECT_TRUE(altHeld()) << "the key-up reached the program after all: the case shows nothing";
  // The keyboard back: the key map the server sends with it says Alt is up.
  XSetInputFocus(x_, X(host_), RevertToParent, CurrentTime);
  EXPECT_TRUE(Wait([&] { return !altHeld(); })) << "Alt is still held once the program has the keyboard again";

  // A key whose event says no Alt is held is no Alt chord, whatever came
  // before it (here a press whose key-up has not come).
  Key(XK_Alt_L, true);
  ASSERT_TRUE(Wait(altHeld));
  log_.keys.clear();
  XEvent ev{};
  ev.xkey.type = KeyPress;
  ev.xkey.display = x_;
  ev.xkey.window = X(host_);
  ev.xkey.root = DefaultRootWindow(x_);
  ev.xkey.state = 0;
  ev.xkey.keycode = XKeysymToKeycode(x_, XK_a);
  ev.xkey.same_screen = True;
  XSendEvent(x_, X(host_), False, KeyPressMask, &ev);
  XFlush(x_);
  EXPECT_TRUE(Wait([&] { return !log_.keys.empty(); }));
  EXPECT_EQ(log_.keys, (std::vector<std::pair<UINT, WPARAM>>{{WM_KEYDOWN, 'A'}}));
  EXPECT_FALSE(altHeld());
  Key(XK_Alt_L, false);
  XDestroyWindow(x_, other);
  XSync(x_, False);
}
