// The menu bar of a top-level window: the room it takes, rows when the
// window is narrow, hit codes, item rectangles, and a click that opens the
// item's pop-up whose choice comes back as WM_COMMAND.

#include <gtest/gtest.h>

#include <vector>

#include "Gdi.h"
#include "Menu.h"
#include "ui_fixture.h"

namespace {

using CcFrameMenuBar = UiFixture;

HMENU MakeBar(int items) {
  HMENU bar = CreateMenu();
  for (int i = 0; i < items; ++i) {
    HMENU pop = CreatePopupMenu();
    AppendMenuA(pop, MF_STRING, 100 + i * 10, "&First");
    AppendMenuA(pop, MF_STRING, 101 + i * 10, "&Second");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(pop), i == 0 ? "&File" : "&Edit");
  }
  return bar;
}

HWND MakeFrame(HMENU bar, int width) {
  return CreateWindowExA(0, "UiTestHandler", "Frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, width, 200, nullptr,
                         bar, nullptr, nullptr);
}

// Top of the client area in window coordinates.
int ClientTop(HWND hwnd) {
  POINT origin{0, 0};
  ClientToScreen(hwnd, &origin);
  RECT w;
  GetWindowRect(hwnd, &w);
  return origin.y - w.top;
}

TEST_F(CcFrameMenuBar, ReservesRowsUnderTheCaption) {
  const int frame = GetSystemMetrics(SM_CYFRAME), caption = GetSystemMetrics(SM_CYCAPTION);
  const int row = GetSystemMetrics(SM_CYMENU);
  struct Case {
    const char* name;
    int items, width, rows;
  };
  const Case cases[] = {{"no menu", 0, 300, 0}, {"one row", 2, 300, 1}, {"too narrow for one row", 2, 70, 2}};
  for (const Case& c : cases) {
    HMENU bar = c.items ? MakeBar(c.items) : nullptr;
    HWND w = MakeFrame(bar, c.width);
    ASSERT_NE(nullptr, w);
    EXPECT_EQ(bar, GetMenu(w)) << c.name;
    int expected = frame + caption + (c.rows ? c.rows * row + 1 : 0);
    EXPECT_EQ(expected, ClientTop(w)) << c.name;
    DestroyWindow(w);
  }

  // Taking the menu away gives the room back; AdjustWindowRect counts one row.
  HWND w = MakeFrame(MakeBar(2), 300);
  EXPECT_TRUE(SetMenu(w, nullptr));
  EXPECT_EQ(nullptr, GetMenu(w));
  EXPECT_EQ(frame + caption, ClientTop(w));
  RECT plain{0, 0, 100, 100}, withMenu{0, 0, 100, 100};
  AdjustWindowRect(&plain, WS_OVERLAPPEDWINDOW, FALSE);
  AdjustWindowRect(&withMenu, WS_OVERLAPPEDWINDOW, TRUE);
  EXPECT_EQ(row + 1, plain.top - withMenu.top);
  // A child has no menu, only an id.
  HWND child = Make(WS_CHILD | WS_VISIBLE, RECT{0, 0, 10, 10}, w, 7);
  EXPECT_EQ(nullptr, GetMenu(child));
  EXPECT_FALSE(SetMenu(child, MakeBar(1)));
}

TEST_F(CcFrameMenuBar, ItemRectanglesAndHitCodes) {
  HMENU bar = MakeBar(2);
  HWND w = MakeFrame(bar, 300);
  RECT win, a, b;
  GetWindowRect(w, &win);
  ASSERT_TRUE(GetMenuItemRect(w, bar, 0, &a));
  ASSERT_TRUE(GetMenuItemRect(w, bar, 1, &b));
  EXPECT_EQ(win.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION), a.top);
  EXPECT_EQ(GetSystemMetrics(SM_CYMENU), a.bottom - a.top);
  EXPECT_EQ(a.right, b.left);
  EXPECT_EQ(a.top, b.top);
  EXPECT_FALSE(GetMenuItemRect(w, bar, 5, &b));
  POINT onItem{(a.left + a.right) / 2, (a.top + a.bottom) / 2};
  EXPECT_EQ(HTMENU, SendMessageA(w, WM_NCHITTEST, 0, MAKELPARAM(onItem.x, onItem.y)));
  POINT pastItems{win.right - 10, onItem.y};  // the bar's empty rest
  EXPECT_EQ(HTBORDER, SendMessageA(w, WM_NCHITTEST, 0, MAKELPARAM(pastItems.x, pastItems.y)));

  // The bar is painted: the menu colour behind the items, the caption above.
  UpdateWindow(w);
  uint32_t px = testkit::WindowPixel(w, pastItems.x - win.left, onItem.y - win.top);
  EXPECT_EQ(GetSysColor(COLOR_MENU), RGB(px >> 16 & 0xFF, px >> 8 & 0xFF, px & 0xFF));
}

TEST_F(CcFrameMenuBar, ClickOpensThePopupAndItsChoiceIsACommand) {
  HMENU bar = MakeBar(2);
  AppendMenuA(bar, MF_STRING, 300, "&Help");  // a command right on the bar
  HWND w = MakeFrame(bar, 400);
  handlers.push_back(std::make_unique<Handler>());
  SetPropA(w, "handler", handlers.back().get());
  std::vector<WPARAM> commands;
  std::vector<HMENU> popups;
  Of(w).fn = [&](HWND, UINT msg, WPARAM wp, LPARAM) -> LRESULT {
    if (msg == WM_COMMAND) commands.push_back(wp);
    if (msg == WM_INITMENUPOPUP) popups.push_back(reinterpret_cast<HMENU>(wp));
    return kDefault;
  };
  auto clickItem = [&](int i) {
    RECT rc;
    ASSERT_TRUE(GetMenuItemRect(w, bar, static_cast<UINT>(i), &rc));
    POINT pt{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    testkit::MouseMove(pt);
    testkit::MouseDown(pt);
    testkit::MouseUp(pt);
  };
  {
    testkit::ModalHandler answer([](HWND menuWindow) { testkit::Answer(menuWindow, 111); });
    clickItem(1);
    EXPECT_TRUE(testkit::PumpUntil([&] { return !commands.empty(); }, 2000));
  }
  EXPECT_EQ((std::vector<HMENU>{GetSubMenu(bar, 1)}), popups);
  EXPECT_EQ((std::vector<WPARAM>{111}), commands);
  commands.clear();
  clickItem(2);
  EXPECT_TRUE(testkit::PumpUntil([&] { return !commands.empty(); }, 2000));
  EXPECT_EQ((std::vector<WPARAM>{300}), commands);
}

}  // namespace
