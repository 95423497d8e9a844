// Window classes, the window tree, geometry, state, texts and destruction.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestKit.h"
#include "WinUser.h"

namespace {

const char kPlain[] = "UiTestPlain";

LRESULT CALLBACK PlainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

class UiWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSA wc{};
    wc.lpfnWndProc = PlainProc;
    wc.lpszClassName = kPlain;
    wc.cbWndExtra = 16;
    RegisterClassA(&wc);  // the first test registers it; later ones find it
  }
  void TearDown() override { testkit::ResetWindows(); }

  static HWND Top(DWORD style = WS_POPUP, RECT r = RECT{100, 50, 400, 250}, HWND owner = nullptr,
                  const char* text = "top") {
    return CreateWindowExA(0, kPlain, text, style, r.left, r.top, r.right - r.left, r.bottom - r.top, owner, nullptr,
                           nullptr, nullptr);
  }
  static HWND Child(HWND parent, int id, RECT r, DWORD style = WS_CHILD | WS_VISIBLE) {
    return CreateWindowExA(0, kPlain, "", style, r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
  }
};

TEST_F(UiWindow, ClassRegistrationRejectsDuplicatesAndUnknownClasses) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = PlainProc;
  wc.lpszClassName = "uitestplain";  // names compare without case
  EXPECT_EQ(RegisterClassA(&wc), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_ALREADY_EXISTS));
  EXPECT_EQ(CreateWindowExA(0, "NoSuchClass", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CANNOT_FIND_WND_CLASS));
  // A child needs a live parent.
  EXPECT_EQ(Child(reinterpret_cast<HWND>(0x1234), 1, RECT{0, 0, 1, 1}), nullptr);
}

TEST_F(UiWindow, CreationSendsItsMessagesInOrderAndKeepsTheText) {
  testkit::MessageSpy spy;
  HWND w = Top(WS_POPUP | WS_CAPTION | WS_VISIBLE);
  ASSERT_NE(w, nullptr);
  std::vector<UINT> expected = {WM_GETMINMAXINFO, WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE,
                                WM_SHOWWINDOW};
  EXPECT_EQ(spy.Of(w, {WM_GETMINMAXINFO, WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE, WM_SHOWWINDOW}),
            expected);
  char text[16];
  EXPECT_EQ(GetWindowTextA(w, text, sizeof text), 3);
  EXPECT_STREQ(text, "top");
  EXPECT_EQ(GetWindowTextA(w, text, 3), 2);  // cut to the buffer, always terminated
  EXPECT_STREQ(text, "to");
  EXPECT_TRUE(IsWindowVisible(w));
  EXPECT_EQ(GetActiveWindow(), w);
  EXPECT_EQ(GetFocus(), w);
}

TEST_F(UiWindow, ClientAreaLeavesOutFrameAndCaption) {
  struct Case {
    DWORD style;
    DWORD exStyle;
    RECT client;  // in window coordinates, for a 300 x 200 window
  };
  const int f = GetSystemMetrics(SM_CXDLGFRAME), c = GetSystemMetrics(SM_CYCAPTION);
  const int t = GetSystemMetrics(SM_CXFRAME), e = GetSystemMetrics(SM_CXEDGE);
  const Case cases[] = {
      {WS_POPUP, 0, {0, 0, 300, 200}},
      {WS_POPUP | WS_BORDER, 0, {1, 1, 299, 199}},
      {WS_POPUP | WS_CAPTION, 0, {f, f + c, 300 - f, 200 - f}},
      {WS_POPUP | WS_CAPTION | WS_THICKFRAME, 0, {t, t + c, 300 - t, 200 - t}},
      {WS_POPUP, WS_EX_CLIENTEDGE, {e, e, 300 - e, 200 - e}},
      {WS_POPUP | WS_VSCROLL, 0, {0, 0, 300 - GetSystemMetrics(SM_CXVSCROLL), 200}},
  };
  for (const Case& k : cases) {
    HWND w = CreateWindowExA(k.exStyle, kPlain, "", k.style, 10, 20, 300, 200, nullptr, nullptr, nullptr, nullptr);
    RECT wr, cr;
    GetWindowRect(w, &wr);
    GetClientRect(w, &cr);
    POINT origin{0, 0};
    ClientToScreen(w, &origin);
    RECT got{origin.x - wr.left, origin.y - wr.top, origin.x - wr.left + cr.right, origin.y - wr.top + cr.bottom};
    EXPECT_TRUE(EqualRect(&got, &k.client)) << "style " << std::hex << k.style << " ex " << k.exStyle << ": " << std::dec
                                            << got.left << "," << got.top << "," << got.right << "," << got.bottom;
    DestroyWindow(w);
  }
}

TEST_F(UiWindow, TreeOrderIdsAndParents) {
  HWND owner = Top();
  HWND top = Top(WS_POPUP, RECT{0, 0, 200, 200}, owner);
  HWND overlapped = Top(WS_OVERLAPPED, RECT{0, 0, 200, 200}, owner);
  HWND a = Child(top, 10, RECT{0, 0, 10, 10});
  HWND b = Child(top, 11, RECT{10, 0, 20, 10});
  HWND inner = Child(a, 12, RECT{0, 0, 5, 5});

  EXPECT_EQ(GetParent(a), top);
  EXPECT_EQ(GetParent(top), owner);         // a pop-up reports its owner
  EXPECT_EQ(GetParent(overlapped), nullptr);  // an overlapped window does not
  EXPECT_EQ(GetWindow(overlapped, GW_OWNER), owner);
  EXPECT_EQ(GetAncestor(top, GA_PARENT), GetDesktopWindow());
  EXPECT_EQ(GetAncestor(inner, GA_ROOT), top);
  // Children keep the order they were made in: the first one comes first.
  EXPECT_EQ(GetWindow(top, GW_CHILD), a);
  EXPECT_EQ(GetWindow(a, GW_HWNDNEXT), b);
  EXPECT_EQ(GetDlgItem(top, 11), b);
  EXPECT_EQ(GetDlgItem(top, 12), nullptr);  // only direct children
  EXPECT_EQ(GetDlgCtrlID(inner), 12);
  EXPECT_TRUE(IsChild(top, inner));
  EXPECT_FALSE(IsChild(a, b));
  EXPECT_FALSE(IsChild(owner, top));  // owned is not a child

  // SetParent keeps the numbers of the position, now in the new parent.
  EXPECT_EQ(SetParent(inner, b), a);
  EXPECT_EQ(GetParent(inner), b);
  POINT p{0, 0};
  MapWindowPoints(inner, top, &p, 1);
  EXPECT_EQ(p.x, 10);
  EXPECT_EQ(SetParent(b, inner), nullptr);  // never under its own child
}

TEST_F(UiWindow, CoordinatesMapThroughNestedClientAreas) {
  HWND top = Top(WS_POPUP | WS_CAPTION, RECT{100, 50, 500, 350});
  HWND a = Child(top, 1, RECT{20, 30, 220, 230}, WS_CHILD | WS_VISIBLE | WS_BORDER);
  HWND b = Child(a, 2, RECT{5, 6, 50, 60});
  const int f = GetSystemMetrics(SM_CXDLGFRAME), c = GetSystemMetrics(SM_CYCAPTION);
  struct Case {
    HWND hwnd;
    POINT client;
    POINT screen;
  };
  const Case cases[] = {
      {top, {0, 0}, {100 + f, 50 + f + c}},
      {a, {0, 0}, {100 + f + 20 + 1, 50 + f + c + 30 + 1}},
      {b, {-3, 4}, {100 + f + 20 + 1 + 5 - 3, 50 + f + c + 30 + 1 + 6 + 4}},
  };
  for (const Case& k : cases) {
    POINT p = k.client;
    ClientToScreen(k.hwnd, &p);
    EXPECT_EQ(p.x, k.screen.x);
    EXPECT_EQ(p.y, k.screen.y);
    ScreenToClient(k.hwnd, &p);
    EXPECT_EQ(p.x, k.client.x);
    EXPECT_EQ(p.y, k.client.y);
  }
  RECT r;
  GetWindowRect(b, &r);
  EXPECT_EQ(r.left, 100 + f + 20 + 1 + 5);
  EXPECT_EQ(r.right - r.left, 45);
}

TEST_F(UiWindow, MoveAndSizeReportTheNewClientArea) {
  HWND top = Top();
  HWND a = Child(top, 1, RECT{0, 0, 10, 10});
  testkit::MessageSpy spy;
  ASSERT_TRUE(MoveWindow(a, 5, 6, 70, 80, TRUE));
  std::vector<UINT> expected = {WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED,
                                WM_MOVE,           WM_SIZE,       WM_CHILDACTIVATE};
  EXPECT_EQ(spy.Of(a, {WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE, WM_CHILDACTIVATE}),
            expected);
  LPARAM size = 0;
  for (const auto& m : spy.messages) {
    if (m.hwnd == a && m.msg == WM_SIZE) size = m.lParam;
  }
  EXPECT_EQ(size, MAKELPARAM(70, 80));
  spy.Clear();
  SetWindowPos(a, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_TRUE(spy.Of(a, {WM_SIZE, WM_MOVE}).empty());  // nothing changed, nothing said
}

TEST_F(UiWindow, ShowAndEnableSendTheirMessagesOnlyOnChange) {
  HWND top = Top();
  HWND a = Child(top, 1, RECT{0, 0, 10, 10}, WS_CHILD);
  testkit::MessageSpy spy;
  EXPECT_FALSE(ShowWindow(a, SW_SHOW));  // was hidden
  EXPECT_TRUE(ShowWindow(a, SW_SHOW));
  EXPECT_EQ(spy.Of(a, {WM_SHOWWINDOW}).size(), 1u);
  EXPECT_FALSE(IsWindowVisible(a));  // its parent is still hidden
  ShowWindow(top, SW_SHOW);
  EXPECT_TRUE(IsWindowVisible(a));

  EXPECT_FALSE(EnableWindow(a, FALSE));  // returns whether it was disabled before
  EXPECT_TRUE(EnableWindow(a, FALSE));
  EXPECT_FALSE(IsWindowEnabled(a));
  EXPECT_TRUE(EnableWindow(a, TRUE));
  std::vector<UINT> enables = spy.Of(a, {WM_ENABLE});
  EXPECT_EQ(enables.size(), 2u);
}

TEST_F(UiWindow, MaximizeAndRestoreChangeSizeAndStyle) {
  HWND top = Top(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MAXIMIZEBOX | WS_VISIBLE, RECT{10, 10, 210, 110});
  SendMessageA(top, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  EXPECT_TRUE(IsZoomed(top));
  RECT r;
  GetWindowRect(top, &r);
  EXPECT_EQ(r.right - r.left, GetSystemMetrics(SM_CXSCREEN));
  SendMessageA(top, WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_FALSE(IsZoomed(top));
  GetWindowRect(top, &r);
  EXPECT_EQ(r.left, 10);
  EXPECT_EQ(r.right - r.left, 200);
  SendMessageA(top, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(IsIconic(top));
  SendMessageA(top, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_FALSE(IsWindow(top));
}

TEST_F(UiWindow, DestroyTellsParentsFirstAndFreesChildrenFirst) {
  HWND owner = Top();
  HWND top = Top(WS_POPUP, RECT{0, 0, 100, 100}, owner);
  HWND a = Child(owner, 1, RECT{0, 0, 10, 10});
  HWND inner = Child(a, 2, RECT{0, 0, 5, 5});
  std::vector<std::pair<HWND, UINT>> seen;
  bool childAliveDuringParentDestroy = false;
  PlatformSetMessageSpy([&](HWND h, UINT m, WPARAM, LPARAM) {
    if (m == WM_DESTROY || m == WM_NCDESTROY) seen.emplace_back(h, m);
    if (h == owner && m == WM_DESTROY) childAliveDuringParentDestroy = IsWindow(inner) != FALSE;
  });
  EXPECT_TRUE(DestroyWindow(owner));
  PlatformSetMessageSpy(nullptr);
  std::vector<std::pair<HWND, UINT>> expected = {
      {top, WM_DESTROY},   {top, WM_NCDESTROY},   // owned pop-ups go first
      {owner, WM_DESTROY}, {a, WM_DESTROY},       {inner, WM_DESTROY},
      {inner, WM_NCDESTROY}, {a, WM_NCDESTROY},   {owner, WM_NCDESTROY},
  };
  EXPECT_EQ(seen, expected);
  EXPECT_TRUE(childAliveDuringParentDestroy);
  for (HWND h : {owner, top, a, inner}) EXPECT_FALSE(IsWindow(h));
  EXPECT_FALSE(DestroyWindow(owner));
  EXPECT_FALSE(PostMessageA(a, WM_USER, 0, 0));
}

// A parent's WM_DESTROY handler that destroys a child (and would then delete
// the object behind it) finds the child gone when the call returns; each
// window still gets each message once.
TEST_F(UiWindow, ChildDestroyedFromItsParentsDestroyIsGoneAtOnce) {
  HWND parent = Top();
  HWND child = Child(parent, 1, RECT{0, 0, 10, 10});
  HWND inner = Child(child, 2, RECT{0, 0, 5, 5});
  HWND sibling = Child(parent, 3, RECT{0, 20, 10, 30});
  std::vector<std::pair<HWND, UINT>> seen;
  bool goneAtOnce = false;
  PlatformSetMessageSpy([&](HWND h, UINT m, WPARAM, LPARAM) {
    if (m == WM_DESTROY || m == WM_NCDESTROY) seen.emplace_back(h, m);
    if (h == parent && m == WM_DESTROY) {
      EXPECT_TRUE(DestroyWindow(child));
      goneAtOnce = !IsWindow(child) && !IsWindow(inner);
    }
  });
  EXPECT_TRUE(DestroyWindow(parent));
  PlatformSetMessageSpy(nullptr);
  EXPECT_TRUE(goneAtOnce);
  std::vector<std::pair<HWND, UINT>> expected = {
      {parent, WM_DESTROY},    {child, WM_DESTROY},    {inner, WM_DESTROY}, {inner, WM_NCDESTROY},
      {child, WM_NCDESTROY},   {sibling, WM_DESTROY},  {sibling, WM_NCDESTROY}, {parent, WM_NCDESTROY},
  };
  EXPECT_EQ(seen, expected);
  for (HWND h : {parent, child, inner, sibling}) EXPECT_FALSE(IsWindow(h));
}

// A window whose procedure frees its own state and destroys itself while
// handling a message that the loop dispatched.
struct SelfDestroying {
  std::vector<int> data = std::vector<int>(64, 7);
};

LRESULT CALLBACK SelfDestroyingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<SelfDestroying*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (msg == WM_USER + 1 && self) {
    int value = self->data[0];
    DestroyWindow(hwnd);  // frees `self` (WM_NCDESTROY below)
    return value;
  }
  if (msg == WM_NCDESTROY && self) {
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    delete self;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

TEST_F(UiWindow, WindowDestroyedInsideItsOwnHandlerIsSurvived) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = SelfDestroyingProc;
  wc.lpszClassName = "UiTestSelfDestroying";
  RegisterClassA(&wc);
  HWND w = CreateWindowExA(0, "UiTestSelfDestroying", "", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                           nullptr, nullptr);
  SetWindowLongPtrA(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new SelfDestroying));
  PostMessageA(w, WM_USER + 1, 0, 0);
  PostMessageA(w, WM_USER + 2, 0, 0);  // addressed to a window that will be gone
  InvalidateRect(w, nullptr, TRUE);
  SetTimer(w, 5, 10, nullptr);
  testkit::AdvanceClock(50);
  testkit::PumpPending();
  EXPECT_FALSE(IsWindow(w));
  MSG msg;
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));  // its timer and messages went with it
}

TEST_F(UiWindow, SubclassingChainsThroughCallWindowProc) {
  HWND w = Top();
  static WNDPROC previous;
  static int seen;
  seen = 0;
  previous = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
      w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(+[](HWND h, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
        if (m == WM_SETTEXT) ++seen;
        return CallWindowProcA(previous, h, m, wp, lp);
      })));
  EXPECT_EQ(previous, PlainProc);
  SetWindowTextA(w, "renamed");
  char text[16];
  GetWindowTextA(w, text, sizeof text);
  EXPECT_STREQ(text, "renamed");
  EXPECT_EQ(seen, 1);
}

TEST_F(UiWindow, LongsPropertiesAndFonts) {
  HWND w = Top();
  EXPECT_EQ(SetWindowLongPtrA(w, 8, 1234), 0);
  EXPECT_EQ(GetWindowLongPtrA(w, 8), 1234);
  EXPECT_EQ(GetWindowLongPtrA(w, 16), 0);  // past the class's extra bytes
  EXPECT_TRUE(SetPropA(w, "Colour", reinterpret_cast<HANDLE>(7)));
  EXPECT_EQ(GetPropA(w, "colour"), reinterpret_cast<HANDLE>(7));
  EXPECT_EQ(RemovePropA(w, "COLOUR"), reinterpret_cast<HANDLE>(7));
  EXPECT_EQ(GetPropA(w, "Colour"), nullptr);
  HFONT font = reinterpret_cast<HFONT>(0x5678);
  SendMessageA(w, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(w, WM_GETFONT, 0, 0)), font);
  SetWindowLongA(w, GWL_STYLE, static_cast<LONG>(WS_POPUP | WS_BORDER));
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(w, GWL_STYLE)), static_cast<DWORD>(WS_POPUP | WS_BORDER));
}

}  // namespace

namespace {

// A child hears WM_CHILDACTIVATE when it is shown, moved or sized, and not
// for a call that changes none of these; a top-level window never hears it.
TEST_F(UiWindow, ChildActivateFollowsShowingMovingAndSizingOfChildren) {
  HWND top = Top(WS_POPUP | WS_VISIBLE);
  HWND child = Child(top, 7, RECT{10, 10, 60, 30}, WS_CHILD);
  testkit::MessageSpy spy;
  struct Step {
    int x, y, cx, cy;
    UINT flags;
    size_t heard;
  } steps[] = {
      {0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW, 1},  // shown
      {0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW, 0},  // already shown
      {20, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER, 1},                               // moved
      {0, 0, 80, 30, SWP_NOMOVE | SWP_NOZORDER, 1},                               // sized
      {20, 10, 80, 30, SWP_NOZORDER, 0},                                          // unchanged
  };
  for (const Step& s : steps) {
    spy.Clear();
    SetWindowPos(child, nullptr, s.x, s.y, s.cx, s.cy, s.flags);
    EXPECT_EQ(spy.Of(child, {WM_CHILDACTIVATE}).size(), s.heard) << s.x << "," << s.cx;
  }
  spy.Clear();
  SetWindowPos(top, nullptr, 5, 5, 200, 100, SWP_NOZORDER);
  EXPECT_TRUE(spy.Of(top, {WM_CHILDACTIVATE}).empty());
  // A visible child made by CreateWindowEx hears it too, after WM_CREATE.
  spy.Clear();
  HWND shown = Child(top, 8, RECT{0, 0, 10, 10});
  EXPECT_EQ(spy.Of(shown, {WM_CREATE, WM_CHILDACTIVATE}), (std::vector<UINT>{WM_CREATE, WM_CHILDACTIVATE}));
}

}  // namespace
