// The X11 backend against a private Xvfb: windows appear, follow and stack as
// the window manager says, X input (played through XTest, as a user would)
// becomes window messages, and the screen shows the painted pixels.

#include <poll.h>

#include <atomic>
#include <thread>
#include <utility>

#include "x11_fixture.h"

TEST_F(X11Test, DialogShowsItsPixelsAndItsButtonTakesAClickFromTheServer) {
  HWND dlg = OpenDialog();
  ASSERT_TRUE(X(dlg));
  RECT shown = XRect(dlg), placed = WinRect(dlg);
  EXPECT_TRUE(EqualRect(&shown, &placed));
  EXPECT_TRUE(Wait([&] { return ScreenShowsSurface(dlg); }));

  ClickAt(CenterOf(GetDlgItem(dlg, 100)));
  EXPECT_TRUE(Wait([&] { return Count(100, BN_CLICKED) == 1; }));
  // The button repainted itself released; the screen follows.
  EXPECT_TRUE(Wait([&] { return ScreenShowsSurface(dlg); }));
}

TEST_F(X11Test, XWindowFollowsMovesSizesHidingAndDestruction) {
  HWND dlg = OpenDialog();
  ::Window xw = X(dlg);
  SetWindowPos(dlg, nullptr, 200, 150, 320, 240, SWP_NOZORDER);
  EXPECT_TRUE(Wait([&] {
    RECT x = XRect(dlg), w = WinRect(dlg);
    return EqualRect(&x, &w) && w.left == 200;
  }));
  EXPECT_TRUE(Wait([&] { return ScreenShowsSurface(dlg); }));

  ShowWindow(dlg, SW_HIDE);
  EXPECT_TRUE(Wait([&] { return !Viewable(dlg); }));
  ShowWindow(dlg, SW_SHOW);
  EXPECT_TRUE(Wait([&] { return Viewable(dlg); }));
  EXPECT_EQ(X(dlg), xw);

  DestroyWindow(dlg);
  EXPECT_EQ(X(dlg), 0u);
  EXPECT_TRUE(Wait([&] {
    auto v = Stacking();
    return std::find(v.begin(), v.end(), xw) == v.end();
  }));
}

TEST_F(X11Test, PopupsBypassTheWindowManagerAndOwnedWindowsStayAboveOwners) {
  HWND owner = OpenDialog();
  HWND owned = MakePopup(0, WS_POPUP | WS_CAPTION | WS_SYSMENU, owner, RECT{300, 300, 500, 400});
  HWND list = MakePopup(WS_EX_TOOLWINDOW, WS_POPUP | WS_BORDER, owner, RECT{60, 200, 200, 300});
  HWND plain = MakePopup(0, WS_POPUP | WS_BORDER, owner, RECT{520, 60, 600, 120});
  // A combo box's drop-down: a topmost tool window that is a child of the desktop.
  HWND drop = MakePopup(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, WS_CHILD | WS_BORDER, GetDesktopWindow(),
                        RECT{520, 200, 600, 260});
  ASSERT_TRUE(Wait([&] { return Viewable(owned) && Viewable(list) && Viewable(plain) && Viewable(drop); }));

  struct {
    HWND hwnd;
    bool overrideRedirect;
  } cases[] = {{owner, false}, {owned, false}, {list, true}, {plain, true}, {drop, true}};
  for (const auto& c : cases) {
    XWindowAttributes a{};
    ASSERT_TRUE(XGetWindowAttributes(x_, X(c.hwnd), &a));
    EXPECT_EQ(a.override_redirect != 0, c.overrideRedirect);
  }
  ::Window transientFor = 0;
  EXPECT_TRUE(XGetTransientForHint(x_, X(owned), &transientFor));
  EXPECT_EQ(transientFor, X(owner));

  // Activating the owner brings it forward over a window shown later, but never over what it owns.
  HWND other = MakePopup(0, WS_POPUP | WS_CAPTION, nullptr, RECT{250, 250, 450, 350});
  ASSERT_TRUE(Wait([&] { return Viewable(other) && IsStackedAbove(other, owner); }));
  SetActiveWindow(owner);
  EXPECT_TRUE(Wait(
      [&] { return IsStackedAbove(owner, other) && IsStackedAbove(owned, owner) && IsStackedAbove(list, owner); }));
}

TEST_F(X11Test, KeysArriveWithVirtualKeysAndCharacters) {
  HWND dlg = OpenDialog();
  HWND edit = GetDlgItem(dlg, 200);
  SetFocus(edit);
  XSetInputFocus(x_, X(dlg), RevertToParent, CurrentTime);
  testkit::MessageSpy spy;

  Key(XK_Shift_L, true);
  Key(XK_a, true), Key(XK_a, false);
  Key(XK_Shift_L, false);
  for (KeySym ks : {XK_b, XK_1, XK_period, XK_KP_Add, XK_c, XK_BackSpace}) Key(ks, true), Key(ks, false);
  EXPECT_TRUE(Wait([&] { return WindowText(edit) == "Ab1.+"; })) << WindowText(edit);

  std::vector<UINT> downs;
  for (const auto& m : spy.messages) {
    if (m.hwnd == edit && m.msg == WM_KEYDOWN) downs.push_back(static_cast<UINT>(m.wParam));
  }
  std::vector<UINT> expected = {VK_SHIFT, 'A', 'B', '1', VK_OEM_PERIOD, VK_ADD, 'C', VK_BACK};
  EXPECT_EQ(downs, expected);
}

TEST_F(X11Test, DoubleClicksAndTheWheelFollowThePlatformRules) {
  HWND w = MakePopup(0, WS_POPUP | WS_BORDER, nullptr, RECT{100, 100, 300, 250});
  ASSERT_TRUE(Wait([&] { return Viewable(w); }));
  SetFocus(w);
  testkit::MessageSpy spy;
  POINT at = CenterOf(w);
  ClickAt(at);
  ClickAt(at);
  MoveTo(POINT{at.x + 1, at.y});
  Button(4, true), Button(4, false);
  Button(5, true), Button(5, false);
  const std::vector<UINT> buttons = {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_MOUSEWHEEL};
  std::vector<UINT> expected = {WM_LBUTTONDOWN, WM_LBUTTONUP,  WM_LBUTTONDBLCLK,
                                WM_LBUTTONUP,   WM_MOUSEWHEEL, WM_MOUSEWHEEL};
  EXPECT_TRUE(Wait([&] { return spy.Of(w, buttons) == expected; }));
  std::vector<int> deltas;
  for (const auto& m : spy.messages) {
    if (m.hwnd == w && m.msg == WM_MOUSEWHEEL) deltas.push_back(static_cast<SHORT>(HIWORD(m.wParam)));
  }
  EXPECT_EQ(deltas, (std::vector<int>{120, -120}));
  // Client coordinates of the last button message: the centre of the window, less its border.
  POINT client = at;
  ScreenToClient(w, &client);
  auto up = std::find_if(spy.messages.rbegin(), spy.messages.rend(),
                         [&](const testkit::SpiedMessage& m) { return m.hwnd == w && m.msg == WM_LBUTTONUP; });
  ASSERT_NE(up, spy.messages.rend());
  EXPECT_EQ(LOWORD(up->lParam), client.x);
  EXPECT_EQ(HIWORD(up->lParam), client.y);
}

TEST_F(X11Test, CloseRequestFromTheServerClosesTheWindow) {
  HWND dlg = OpenDialog();
  SendDeleteWindow(dlg);
  // A dialog answers a close as its Cancel button.
  EXPECT_TRUE(Wait([&] { return Count(IDCANCEL, BN_CLICKED) == 1; }));
}

TEST_F(X11Test, CaptionDragMovesTheXWindow) {
  HWND dlg = OpenDialog(100, 100);
  RECT before = WinRect(dlg);
  POINT grab{(before.left + before.right) / 2, before.top};
  while (grab.y < before.bottom && SendMessageA(dlg, WM_NCHITTEST, 0, MAKELPARAM(grab.x, grab.y)) != HTCAPTION)
    ++grab.y;
  ASSERT_LT(grab.y, before.bottom);

  MoveTo(grab);
  Button(1, true);
  for (int step = 1; step <= 5; ++step) MoveTo(POINT{grab.x + 10 * step, grab.y + 6 * step});
  Button(1, false);
  EXPECT_TRUE(Wait([&] {
    RECT now = WinRect(dlg), x = XRect(dlg);
    return now.left == before.left + 50 && now.top == before.top + 30 && EqualRect(&now, &x);
  })) << WinRect(dlg).left
      << "," << WinRect(dlg).top;
}

TEST_F(X11Test, UncoveredPartsAreRestoredFromTheSurfaceWithoutRepainting) {
  HWND dlg = OpenDialog();
  ASSERT_TRUE(Wait([&] { return ScreenShowsSurface(dlg); }));
  RECT r = WinRect(dlg);
  XSetWindowAttributes a{};
  a.override_redirect = True;
  a.background_pixel = BlackPixel(x_, 0);
  ::Window cover = XCreateWindow(x_, DefaultRootWindow(x_), r.left, r.top, 100, 100, 0, CopyFromParent, InputOutput,
                                 CopyFromParent, CWOverrideRedirect | CWBackPixel, &a);
  XMapRaised(x_, cover);
  XSync(x_, False);
  testkit::MessageSpy spy;
  XDestroyWindow(x_, cover);
  XSync(x_, False);
  EXPECT_TRUE(Wait([&] { return ScreenShowsSurface(dlg); }));
  EXPECT_TRUE(spy.Of(dlg, {WM_PAINT}).empty());
}

TEST_F(X11Test, MessageBoxLoopTakesItsAnswerFromTheServer) {
  HWND box = nullptr;
  testkit::ModalHandler answer([&](HWND modal) {
    box = modal;
    // Type only once the server shows the box, or the key goes nowhere.
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!Viewable(modal) && std::chrono::steady_clock::now() < deadline) usleep(1000);
    XSetInputFocus(x_, X(modal), RevertToParent, CurrentTime);
    Key(XK_Escape, true), Key(XK_Escape, false);
  });
  EXPECT_EQ(MessageBoxA(nullptr, "Apply the changes?", "Trellian", MB_OKCANCEL), IDCANCEL);
  EXPECT_NE(box, nullptr);
}

TEST_F(X11Test, FocusFromTheServerActivatesAndDeactivates) {
  HWND dlg = OpenDialog();
  HWND other = MakePopup(0, WS_POPUP | WS_CAPTION, nullptr, RECT{400, 300, 600, 400});
  ASSERT_TRUE(Wait([&] { return Viewable(other); }));
  XSetWindowAttributes a{};
  ::Window foreign = XCreateWindow(x_, DefaultRootWindow(x_), 700, 500, 100, 100, 0, CopyFromParent, InputOutput,
                                   CopyFromParent, 0, &a);
  XMapWindow(x_, foreign);
  XSync(x_, False);
  testkit::MessageSpy spy;

  struct {
    ::Window focus;
    HWND active;
  } steps[] = {{X(dlg), dlg}, {X(other), other}, {foreign, nullptr}, {X(dlg), dlg}};
  for (const auto& s : steps) {
    XSetInputFocus(x_, s.focus, RevertToParent, CurrentTime);
    EXPECT_TRUE(Wait([&] { return GetActiveWindow() == s.active; })) << "focus on " << s.focus;
  }
  // The program lost the focus to the foreign window, then regained it.
  std::vector<WPARAM> app;
  for (const auto& m : spy.messages) {
    if (m.msg == WM_ACTIVATEAPP && m.hwnd == dlg) app.push_back(m.wParam);
  }
  EXPECT_EQ(app, (std::vector<WPARAM>{FALSE, TRUE}));

  // A window disabled by a modal one hands the focus to it.
  HWND modal = MakePopup(0, WS_POPUP | WS_CAPTION, dlg, RECT{100, 100, 250, 200});
  ASSERT_TRUE(Wait([&] { return Viewable(modal); }));
  EnableWindow(dlg, FALSE);
  XSetInputFocus(x_, X(other), RevertToParent, CurrentTime);
  ASSERT_TRUE(Wait([&] { return GetActiveWindow() == other; }));
  XSetInputFocus(x_, X(dlg), RevertToParent, CurrentTime);
  EXPECT_TRUE(Wait([&] { return GetActiveWindow() == modal; }));
  XDestroyWindow(x_, foreign);
}

TEST_F(X11Test, ClipboardTextIsOfferedAsTheClipboardSelection) {
  PlatformSetClipboardText("from trellian");
  Atom clipboard = XInternAtom(x_, "CLIPBOARD", False), utf8 = XInternAtom(x_, "UTF8_STRING", False);
  Atom property = XInternAtom(x_, "TRELLIAN_TEST", False);
  ::Window reader = XCreateSimpleWindow(x_, DefaultRootWindow(x_), 0, 0, 1, 1, 0, 0, 0);
  // Another program asks for the text as UTF-8 and as a plain string.
  for (Atom target : {utf8, static_cast<Atom>(XA_STRING)}) {
    XConvertSelection(x_, clipboard, target, property, reader, CurrentTime);
    XFlush(x_);
    XEvent ev{};
    ASSERT_TRUE(Wait([&] { return XCheckTypedWindowEvent(x_, reader, SelectionNotify, &ev) == True; }));
    ASSERT_EQ(ev.xselection.property, property);
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    XGetWindowProperty(x_, reader, property, 0, 1024, True, AnyPropertyType, &type, &format, &count, &after, &data);
    EXPECT_EQ(type, target);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(data), count), "from trellian");
    if (data) XFree(data);
  }
  // Emptied, the clipboard gives the selection up.
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  CloseClipboard();
  XSync(x_, False);
  EXPECT_EQ(XGetSelectionOwner(x_, clipboard), 0u);
  XDestroyWindow(x_, reader);
}

// Another program holding the CLIPBOARD selection: its own connection, served
// from a thread of its own while the program under test asks and waits.
class ForeignClipboardOwner {
 public:
  // `offers` maps a target name to the bytes sent for it; others are refused.
  ForeignClipboardOwner(const std::string& display, std::vector<std::pair<std::string, std::string>> offers)
      : dpy_(XOpenDisplay(display.c_str())), offers_(std::move(offers)) {
    window_ = XCreateSimpleWindow(dpy_, DefaultRootWindow(dpy_), 0, 0, 1, 1, 0, 0, 0);
    clipboard_ = XInternAtom(dpy_, "CLIPBOARD", False);
    XSetSelectionOwner(dpy_, clipboard_, window_, CurrentTime);
    XSync(dpy_, False);
    thread_ = std::thread([this] { Serve(); });
  }
  ~ForeignClipboardOwner() {
    stop_ = true;
    thread_.join();
    XDestroyWindow(dpy_, window_);
    XCloseDisplay(dpy_);
  }

 private:
  void Serve() {
    while (!stop_) {
      while (XPending(dpy_) > 0) {
        XEvent ev;
        XNextEvent(dpy_, &ev);
        if (ev.type != SelectionRequest) continue;
        const XSelectionRequestEvent& req = ev.xselectionrequest;
        XSelectionEvent reply{};
        reply.type = SelectionNotify;
        reply.requestor = req.requestor;
        reply.selection = req.selection;
        reply.target = req.target;
        reply.time = req.time;
        char* name = XGetAtomName(dpy_, req.target);
        for (const auto& offer : offers_) {
          if (offer.first != name) continue;
          XChangeProperty(dpy_, req.requestor, req.property, req.target, 8, PropModeReplace,
                          reinterpret_cast<const unsigned char*>(offer.second.data()),
                          static_cast<int>(offer.second.size()));
          reply.property = req.property;
        }
        XFree(name);
        XSendEvent(dpy_, req.requestor, False, 0, reinterpret_cast<XEvent*>(&reply));
        XFlush(dpy_);
      }
      pollfd p{ConnectionNumber(dpy_), POLLIN, 0};
      poll(&p, 1, 10);
    }
  }

  ::Display* dpy_;
  std::vector<std::pair<std::string, std::string>> offers_;
  ::Window window_ = 0;
  Atom clipboard_ = 0;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

// Text another program copied is what the clipboard holds, in the program's
// code page and with its line ends, whichever form that program offers.
TEST_F(X11Test, TextAnotherProgramCopiedIsPasted) {
  const struct Case {
    const char* what;
    std::vector<std::pair<std::string, std::string>> offers;
    std::string expected;
  } cases[] = {
      {"UTF-8", {{"UTF8_STRING", "Gr\xC3\xBC\xC3\x9F""e, \xE2\x82\xAC""5\nnext \xE4\xB8\xAD"}},
       "Gr\xFC\xDF""e, \x80""5\r\nnext ?"},
      {"a plain string only", {{"STRING", "caf\xE9\r\nok\n"}}, "caf\xE9\r\nok\r\n"},
      {"text up to its NUL", {{"UTF8_STRING", std::string("before\0after", 12)}}, "before"},
      {"nothing it will give", {}, ""},
  };
  for (const Case& c : cases) {
    ForeignClipboardOwner owner(server_->name(), c.offers);
    EXPECT_EQ(PlatformGetClipboardText(), c.expected) << c.what;
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE block = GetClipboardData(CF_TEXT);
    EXPECT_EQ(block != nullptr, !c.expected.empty()) << c.what;
    if (block) {
      EXPECT_EQ(std::string(static_cast<const char*>(GlobalLock(block))), c.expected) << c.what;
      GlobalUnlock(block);
    }
    CloseClipboard();
  }
  // Text copied in the program itself is its own again.
  PlatformSetClipboardText("ours");
  EXPECT_EQ(PlatformGetClipboardText(), "ours");
}

TEST_F(X11Test, TopmostWindowsStayAboveOrdinaryOnes) {
  HWND topmost = MakePopup(WS_EX_TOPMOST, WS_POPUP | WS_CAPTION, nullptr, RECT{100, 100, 300, 200});
  HWND plain = MakePopup(0, WS_POPUP | WS_CAPTION, nullptr, RECT{150, 150, 350, 250});
  ASSERT_TRUE(Wait([&] { return Viewable(topmost) && Viewable(plain); }));
  EXPECT_TRUE(Wait([&] { return IsStackedAbove(topmost, plain); }));
  struct {
    const char* name;
    std::function<void()> step;
    HWND upper, lower;
  } steps[] = {
      {"activating the ordinary window", [&] { SetActiveWindow(plain); }, topmost, plain},
      {"raising it to the top", [&] { SetWindowPos(plain, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); }, topmost,
       plain},
      {"another client raising it", [&] { XRaiseWindow(x_, X(plain)), XFlush(x_); }, topmost, plain},
      {"no longer topmost, the other raised",
       [&] {
         SetWindowPos(topmost, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
         SetWindowPos(plain, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
       },
       plain, topmost},
      {"topmost again without a repaint",
       [&] { SetWindowPos(topmost, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOREDRAW); },
       topmost, plain},
  };
  for (const auto& s : steps) {
    s.step();
    EXPECT_TRUE(Wait([&] { return IsStackedAbove(s.upper, s.lower); })) << s.name;
  }
}

// SetCapture takes the pointer: moves outside every window of the program
// still reach the capturing window, until ReleaseCapture lets go.
TEST_F(X11Test, CaptureGrabsThePointerUntilReleased) {
  HWND w = MakePopup(0, WS_POPUP | WS_CAPTION, nullptr, RECT{100, 100, 300, 200});
  ASSERT_TRUE(Wait([&] { return Viewable(w); }));
  MoveTo(POINT{150, 150});
  auto othersCanGrab = [&] {
    bool free = XGrabPointer(x_, DefaultRootWindow(x_), False, ButtonPressMask, GrabModeAsync, GrabModeAsync, 0, 0,
                             CurrentTime) == GrabSuccess;
    if (free) XUngrabPointer(x_, CurrentTime);
    XSync(x_, False);
    return free;
  };
  SetCapture(w);
  EXPECT_TRUE(Wait([&] { return !othersCanGrab(); }));
  testkit::MessageSpy spy;
  MoveTo(POINT{800, 600});  // far outside the window
  POINT client{800, 600};
  ScreenToClient(w, &client);
  EXPECT_TRUE(Wait([&] {
    for (const auto& m : spy.messages)
      if (m.hwnd == w && m.msg == WM_MOUSEMOVE && GET_X_LPARAM(m.lParam) == client.x &&
          GET_Y_LPARAM(m.lParam) == client.y)
        return true;
    return false;
  }));
  ReleaseCapture();
  EXPECT_TRUE(Wait([&] { return othersCanGrab(); }));
}

// SetCursor shows on the server: the system's shapes differ from each other,
// and a program's cursor comes from its own bitmap with its hot spot.
TEST_F(X11Test, SetCursorChangesTheXCursor) {
  HWND w = MakePopup(0, WS_POPUP | WS_CAPTION, nullptr, RECT{100, 100, 300, 200});
  ASSERT_TRUE(Wait([&] { return Viewable(w); }));
  MoveTo(POINT{200, 160});
  struct Shape {
    int width = 0, height = 0, xhot = 0, yhot = 0;
    std::vector<unsigned long> pixels;
    bool operator==(const Shape& o) const {
      return width == o.width && height == o.height && xhot == o.xhot && yhot == o.yhot && pixels == o.pixels;
    }
  };
  auto shown = [&] {
    Shape s;
    XFixesCursorImage* img = XFixesGetCursorImage(x_);
    if (!img) return s;
    s = Shape{img->width, img->height, img->xhot, img->yhot,
              std::vector<unsigned long>(img->pixels, img->pixels + img->width * img->height)};
    XFree(img);
    return s;
  };
  // The program's cursor: a 16 by 16 square, black above white, the right half transparent.
  std::vector<uint32_t> color(16 * 16), mask(16 * 16);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      color[y * 16 + x] = y < 8 ? 0x000000 : 0xFFFFFF;
      mask[y * 16 + x] = x < 8 ? 0x000000 : 0xFFFFFF;
    }
  ICONINFO info{FALSE, 3, 5, CreateBitmap(16, 16, 1, 32, mask.data()), CreateBitmap(16, 16, 1, 32, color.data())};
  HCURSOR own = CreateIconIndirect(&info);
  DeleteObject(info.hbmMask);
  DeleteObject(info.hbmColor);
  ASSERT_NE(own, nullptr);

  std::vector<Shape> seen;
  for (LPCSTR id : {IDC_ARROW, IDC_WAIT, IDC_HAND, IDC_SIZEWE, IDC_NO}) {
    SetCursor(LoadCursorA(nullptr, id));
    Wait([] { return false; }, 100);
    seen.push_back(shown());
  }
  for (size_t i = 0; i < seen.size(); ++i) {
    EXPECT_GT(seen[i].width, 0) << i;
    for (size_t j = 0; j < i; ++j) EXPECT_FALSE(seen[i] == seen[j]) << i << " and " << j;
  }
  SetCursor(own);
  Shape mine;
  EXPECT_TRUE(Wait([&] { return (mine = shown()).xhot == 3; }));
  EXPECT_EQ(mine.yhot, 5);
  ASSERT_GE(mine.width, 16);
  ASSERT_GE(mine.height, 16);
  auto at = [&](int x, int y) { return mine.pixels[static_cast<size_t>(y) * mine.width + x] & 0xFFFFFFFF; };
  EXPECT_EQ(at(2, 2), 0xFF000000u);   // opaque black
  EXPECT_EQ(at(2, 12), 0xFFFFFFFFu);  // opaque white
  EXPECT_EQ(at(12, 2) >> 24, 0u);     // transparent
  SetCursor(LoadCursorA(nullptr, IDC_ARROW));
  EXPECT_TRUE(Wait([&] { return shown() == seen[0]; }));
  DestroyCursor(own);
}
