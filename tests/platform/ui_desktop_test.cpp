// Activation of the application, the desktop's z-order with its topmost
// band, the system menu and context menus.
#include <algorithm>
#include <string>

#include "Menu.h"
#include "ui_fixture.h"

namespace {

class UiDesktop : public UiFixture {
 protected:
  // The test's top-level windows, front to back.
  std::vector<HWND> Stack(const std::vector<HWND>& ours) {
    std::vector<HWND> order;
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT))
      if (std::find(ours.begin(), ours.end(), w) != ours.end()) order.push_back(w);
    return order;
  }
};

bool Topmost(HWND w) { return (GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

TEST_F(UiDesktop, ActivateAppReachesEveryTopLevelWindowOfTheThread) {
  HWND a = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND b = Make(WS_OVERLAPPEDWINDOW);  // hidden windows hear it too
  HWND child = Make(WS_CHILD | WS_VISIBLE, RECT{0, 0, 10, 10}, a);
  SetActiveWindow(nullptr);
  testkit::MessageSpy spy;
  const std::vector<UINT> watched = {WM_ACTIVATEAPP, WM_NCACTIVATE, WM_ACTIVATE};
  struct {
    HWND activate;
    std::vector<UINT> a, b;
    BOOL appActive;
  } steps[] = {
      {a, {WM_ACTIVATEAPP, WM_NCACTIVATE, WM_ACTIVATE}, {WM_ACTIVATEAPP}, TRUE},      // the application gains
      {b, {WM_NCACTIVATE, WM_ACTIVATE}, {WM_NCACTIVATE, WM_ACTIVATE}, TRUE},          // a switch inside it
      {nullptr, {WM_ACTIVATEAPP}, {WM_NCACTIVATE, WM_ACTIVATE, WM_ACTIVATEAPP}, FALSE},  // it loses
  };
  for (const auto& s : steps) {
    spy.Clear();
    SetActiveWindow(s.activate);
    EXPECT_EQ(spy.Of(a, watched), s.a) << s.activate;
    EXPECT_EQ(spy.Of(b, watched), s.b) << s.activate;
    EXPECT_TRUE(spy.Of(child, {WM_ACTIVATEAPP}).empty());
    for (const auto& m : spy.messages)
      if (m.msg == WM_ACTIVATEAPP) {
        EXPECT_EQ(m.wParam, static_cast<WPARAM>(s.appActive));
      }
  }
}

TEST_F(UiDesktop, OwnedPopupsStayInFrontOfTheirRaisedOwner) {
  HWND owner = Make(WS_POPUP | WS_VISIBLE);
  HWND owned = Make(WS_POPUP | WS_VISIBLE, RECT{0, 0, 10, 10}, owner);
  HWND ownedByOwned = Make(WS_POPUP | WS_VISIBLE, RECT{0, 0, 10, 10}, owned);
  HWND other = Make(WS_POPUP | WS_VISIBLE);
  const std::vector<HWND> ours = {owner, owned, ownedByOwned, other};
  ASSERT_EQ(GetWindow(owned, GW_OWNER), owner);
  ASSERT_EQ(Stack(ours), (std::vector<HWND>{other, ownedByOwned, owned, owner}));
  SetActiveWindow(owner);
  EXPECT_EQ(Stack(ours), (std::vector<HWND>{ownedByOwned, owned, owner, other}));
  SetWindowPos(other, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SetWindowPos(owner, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_EQ(Stack(ours), (std::vector<HWND>{ownedByOwned, owned, owner, other}));
}

TEST_F(UiDesktop, TopmostWindowsKeepABandAboveTheRest) {
  HWND a = Make(WS_POPUP | WS_VISIBLE), b = Make(WS_POPUP | WS_VISIBLE), c = Make(WS_POPUP | WS_VISIBLE);
  const std::vector<HWND> ours = {a, b, c};
  ASSERT_EQ(Stack(ours), (std::vector<HWND>{c, b, a}));  // newest on top
  const UINT kNoMove = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
  struct {
    HWND w, after;
    std::vector<HWND> order;
    std::vector<bool> topmost;  // of a, b, c
  } steps[] = {
      {a, HWND_TOPMOST, {a, c, b}, {true, false, false}},
      {c, HWND_TOP, {a, c, b}, {true, false, false}},       // HWND_TOP stays below the band
      {b, HWND_TOPMOST, {b, a, c}, {true, true, false}},
      {a, HWND_TOP, {a, b, c}, {true, true, false}},        // a topmost window rises within the band
      {c, a, {a, b, c}, {true, true, false}},               // "after a topmost window" still below the band
      {a, c, {b, a, c}, {true, true, false}},               // a topmost window never sinks under the band
      {b, HWND_NOTOPMOST, {a, b, c}, {true, false, false}}, // top of the ordinary windows
      {c, HWND_NOTOPMOST, {a, b, c}, {true, false, false}}, // no effect on an ordinary window
      {a, HWND_BOTTOM, {b, c, a}, {false, false, false}},   // the bottom is below the band, so it leaves it
  };
  for (const auto& s : steps) {
    ASSERT_TRUE(SetWindowPos(s.w, s.after, 0, 0, 0, 0, kNoMove));
    EXPECT_EQ(Stack(ours), s.order);
    EXPECT_EQ((std::vector<bool>{Topmost(a), Topmost(b), Topmost(c)}), s.topmost);
  }
  // Activation and new windows respect the band as well.
  SetWindowPos(c, HWND_TOPMOST, 0, 0, 0, 0, kNoMove);
  SetActiveWindow(b);
  EXPECT_EQ(Stack(ours), (std::vector<HWND>{c, b, a}));
  HWND d = Make(WS_POPUP | WS_VISIBLE);
  EXPECT_EQ(Stack({a, b, c, d}), (std::vector<HWND>{c, d, b, a}));
  HWND e = CreateWindowExA(WS_EX_TOPMOST, "UiTestHandler", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                           nullptr);
  EXPECT_EQ(Stack({a, b, c, d, e}), (std::vector<HWND>{e, c, d, b, a}));
  DestroyWindow(e);
}

const UINT kAbout = 0x0010u;  // a program's own system-menu item; ids below 0xF000

// The system menu opens from the caption icon, Alt+Space and a right click on
// the caption, with the state's impossible commands greyed; the choice,
// the program's own item included, comes back as WM_SYSCOMMAND.
TEST_F(UiDesktop, SystemMenuOpensFromIconKeyboardAndCaption) {
  HWND w = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{100, 100, 400, 300});
  SetActiveWindow(w);
  SetFocus(w);
  HMENU sys = GetSystemMenu(w, FALSE);
  AppendMenuA(sys, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(sys, MF_STRING, kAbout, "&About Trellian...");
  std::vector<WPARAM> commands;
  Of(w).fn = [&](HWND, UINT msg, WPARAM wp, LPARAM) -> LRESULT {
    if (msg == WM_SYSCOMMAND) commands.push_back(wp);
    return kDefault;
  };
  const int frameX = GetSystemMetrics(SM_CXFRAME), frameY = GetSystemMetrics(SM_CYFRAME);
  const int caption = GetSystemMetrics(SM_CYCAPTION);
  const POINT icon{100 + frameX + 4, 100 + frameY + caption / 2};
  const POINT underIcon{100 + frameX, 100 + frameY + caption};
  const POINT onCaption{220, 100 + frameY + caption / 2};
  struct {
    const char* name;
    std::function<void()> open;
    POINT menuAt;
  } cases[] = {
      {"caption icon", [&] { testkit::MouseMove(icon), testkit::MouseDown(icon), testkit::MouseUp(icon); }, underIcon},
      {"Alt+Space",
       [] { testkit::KeyDown(VK_MENU), testkit::PressKey(VK_SPACE), testkit::KeyUp(VK_MENU); }, underIcon},
      {"right click on the caption",
       [&] {
         testkit::MouseMove(onCaption);
         testkit::MouseDown(onCaption, WM_RBUTTONDOWN);
         testkit::MouseUp(onCaption, WM_RBUTTONUP);
       },
       onCaption},
  };
  for (const auto& c : cases) {
    commands.clear();
    HWND shown = nullptr;
    RECT at{};
    std::vector<UINT> states;
    testkit::ModalHandler handler([&](HWND m) {
      shown = m;
      GetWindowRect(m, &at);
      for (UINT id : {UINT{SC_RESTORE}, UINT{SC_MOVE}, UINT{SC_SIZE}, UINT{SC_MINIMIZE}, UINT{SC_MAXIMIZE}, UINT{SC_CLOSE}, kAbout})
        states.push_back(GetMenuState(sys, id, MF_BYCOMMAND) & MF_GRAYED);
      testkit::Answer(m, kAbout);
    });
    c.open();
    ASSERT_TRUE(testkit::PumpUntil([&] { return !commands.empty() && commands.back() == kAbout; }, 2000)) << c.name;
    ASSERT_NE(shown, nullptr) << c.name;
    EXPECT_EQ(at.left, c.menuAt.x) << c.name;
    EXPECT_EQ(at.top, c.menuAt.y) << c.name;
    // A restored, sizable window: only Restore is grey.
    EXPECT_EQ(states, (std::vector<UINT>{MF_GRAYED, 0, 0, 0, 0, 0, 0})) << c.name;
    testkit::PumpPending();
  }
  // A maximised dialog-like window without boxes: Move, Size and Maximize go grey.
  ShowWindow(w, SW_MAXIMIZE);
  std::vector<UINT> states;
  testkit::ModalHandler handler([&](HWND m) {
    for (UINT id : {SC_RESTORE, SC_MOVE, SC_SIZE, SC_MINIMIZE, SC_MAXIMIZE})
      states.push_back(GetMenuState(sys, id, MF_BYCOMMAND) & MF_GRAYED);
    testkit::PressKey(VK_ESCAPE);
    (void)m;
  });
  SendMessageA(w, WM_SYSCOMMAND, SC_KEYMENU, ' ');
  EXPECT_EQ(states, (std::vector<UINT>{0, MF_GRAYED, MF_GRAYED, 0, MF_GRAYED}));
}

// WM_CONTEXTMENU: a right-button release in a client area, at the screen
// point, and Shift+F10 with the point -1; children leave it to their parent.
TEST_F(UiDesktop, ContextMenuFromRightButtonAndShiftF10) {
  HWND top = Make(WS_POPUP | WS_VISIBLE, RECT{50, 60, 350, 260});
  HWND child = Make(WS_CHILD | WS_VISIBLE, RECT{10, 20, 110, 80}, top, 7);
  SetActiveWindow(top);
  struct Seen {
    HWND at;
    WPARAM from;
    LPARAM where;
  };
  std::vector<Seen> seen;
  Of(top).fn = [&](HWND h, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
    if (msg == WM_CONTEXTMENU) seen.push_back(Seen{h, wp, lp});
    return msg == WM_CONTEXTMENU ? 0 : kDefault;
  };
  struct {
    const char* name;
    std::function<void()> input;
    HWND from;
    LPARAM where;
  } cases[] = {
      {"right click in the child",
       [] {
         testkit::MouseMove(POINT{80, 100});
         testkit::MouseDown(POINT{80, 100}, WM_RBUTTONDOWN);
         testkit::MouseUp(POINT{80, 100}, WM_RBUTTONUP);
       },
       child, MAKELPARAM(80, 100)},
      {"right click in the window itself",
       [] {
         testkit::MouseMove(POINT{300, 200});
         testkit::MouseDown(POINT{300, 200}, WM_RBUTTONDOWN);
         testkit::MouseUp(POINT{300, 200}, WM_RBUTTONUP);
       },
       top, MAKELPARAM(300, 200)},
      {"Shift+F10 in the focused child",
       [&] {
         SetFocus(child);
         testkit::KeyDown(VK_SHIFT), testkit::PressKey(VK_F10), testkit::KeyUp(VK_SHIFT);
       },
       child, -1},
  };
  for (const auto& c : cases) {
    seen.clear();
    c.input();
    testkit::PumpPending();
    ASSERT_EQ(seen.size(), 1u) << c.name;
    EXPECT_EQ(seen[0].at, top) << c.name;
    EXPECT_EQ(reinterpret_cast<HWND>(seen[0].from), c.from) << c.name;
    EXPECT_EQ(seen[0].where, c.where) << c.name;
  }
}

// Dragging a sizing border runs the SC_SIZE loop: the grabbed edges follow
// the mouse, WM_SIZING may correct each step, the minimum track size holds,
// and Escape puts the window back.
TEST_F(UiDesktop, BorderDragSizesTheWindow) {
  const int fx = GetSystemMetrics(SM_CXFRAME), fy = GetSystemMetrics(SM_CYFRAME);
  const int minX = GetSystemMetrics(SM_CXMINTRACK), minY = GetSystemMetrics(SM_CYMINTRACK);
  struct {
    const char* name;
    POINT grab;  // offset from the window's top-left, or from its bottom-right when negative
    POINT by;
    bool escape;
    RECT expected;
    WPARAM edge;
  } cases[] = {
      {"bottom-right corner", {-1, -1}, {40, 30}, false, {100, 100, 440, 330}, WMSZ_BOTTOMRIGHT},
      {"left edge", {0, 100}, {-20, 50}, false, {80, 100, 400, 300}, WMSZ_LEFT},
      {"top edge", {150, 0}, {0, 25}, false, {100, 125, 400, 300}, WMSZ_TOP},
      {"bottom edge below the minimum", {150, -1}, {0, -400}, false, {100, 100, 400, 100 + minY}, WMSZ_BOTTOM},
      {"right edge below the minimum", {-1, 100}, {-400, 0}, false, {100, 100, 100 + minX, 300}, WMSZ_RIGHT},
      {"escape restores", {-1, -1}, {60, 60}, true, {100, 100, 400, 300}, WMSZ_BOTTOMRIGHT},
  };
  for (const auto& c : cases) {
    HWND w = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{100, 100, 400, 300});
    std::vector<WPARAM> sizing;
    Of(w).fn = [&](HWND, UINT msg, WPARAM wp, LPARAM) -> LRESULT {
      if (msg == WM_SIZING) sizing.push_back(wp);
      return kDefault;
    };
    POINT grab{c.grab.x < 0 ? 400 - fx / 2 - 1 : 100 + std::max<LONG>(c.grab.x, fx / 2),
               c.grab.y < 0 ? 300 - fy / 2 - 1 : 100 + std::max<LONG>(c.grab.y, fy / 2)};
    if (c.grab.x == 0) grab.x = 100 + fx / 2;
    if (c.grab.y == 0) grab.y = 100 + fy / 2;
    POINT to{grab.x + c.by.x, grab.y + c.by.y};
    testkit::MouseMove(grab);
    testkit::MouseDown(grab);
    testkit::MouseMove(to);
    if (c.escape) testkit::PressKey(VK_ESCAPE);
    testkit::MouseUp(to);
    testkit::PumpPending();
    RECT r;
    GetWindowRect(w, &r);
    EXPECT_EQ(r.left, c.expected.left) << c.name;
    EXPECT_EQ(r.top, c.expected.top) << c.name;
    EXPECT_EQ(r.right, c.expected.right) << c.name;
    EXPECT_EQ(r.bottom, c.expected.bottom) << c.name;
    ASSERT_FALSE(sizing.empty()) << c.name;
    EXPECT_EQ(sizing.front(), c.edge) << c.name;
    EXPECT_EQ(GetCapture(), nullptr) << c.name;
    DestroyWindow(w);
  }
}

}  // namespace
