// Smaller pieces the program calls: the class background through the 32-bit
// class-long names, the system check-mark bitmap and menu glyphs, the edit
// command ids, and the owner-draw states of menus.
#include <map>
#include <string>

#include "Menu.h"
#include "Resource.h"
#include "afxres.h"
#include "ui_fixture.h"

namespace {

class UiPieces : public UiFixture {};

TEST_F(UiPieces, ClassBackgroundThroughSetClassLongKeepsTheWholeHandle) {
  HWND w = Make(WS_POPUP | WS_VISIBLE, RECT{0, 0, 40, 30});
  HBRUSH red = CreateSolidBrush(RGB(200, 0, 0));
  ULONG_PTR old = SetClassLong(w, GCL_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(red));
  EXPECT_EQ(old, static_cast<ULONG_PTR>(COLOR_WINDOW + 1));
  EXPECT_EQ(reinterpret_cast<HBRUSH>(GetClassLong(w, GCL_HBRBACKGROUND)), red);  // all 64 bits
  InvalidateRect(w, nullptr, TRUE);
  UpdateWindow(w);
  EXPECT_EQ(testkit::WindowPixel(w, 20, 15), 0xC80000u);
  // A system colour index works as well, and the old brush comes back whole.
  EXPECT_EQ(reinterpret_cast<HBRUSH>(SetClassLong(w, GCL_HBRBACKGROUND, COLOR_WINDOW + 1)), red);
  DeleteObject(red);
}

TEST_F(UiPieces, CommandIdsOfTheEditMenu) {
  struct {
    UINT id, expected;
  } ids[] = {{ID_EDIT_CLEAR, 0xE120}, {ID_EDIT_COPY, 0xE122}, {ID_EDIT_SELECT_ALL, 0xE12A}};
  for (const auto& c : ids) EXPECT_EQ(c.id, c.expected);
}

// The check mark is a monochrome bitmap of the menu check size, black ink
// on white; DFC_MENU draws its glyphs the same way.
TEST_F(UiPieces, CheckMarkBitmapAndMenuGlyphsAreBlackOnWhite) {
  HBITMAP check = LoadBitmapA(nullptr, MAKEINTRESOURCEA(OBM_CHECK));
  ASSERT_NE(check, nullptr);
  BITMAP bm{};
  ASSERT_TRUE(GetObjectA(check, sizeof bm, &bm));
  EXPECT_EQ(bm.bmWidth, GetSystemMetrics(SM_CXMENUCHECK));
  EXPECT_EQ(bm.bmHeight, GetSystemMetrics(SM_CYMENUCHECK));
  EXPECT_EQ(bm.bmBitsPixel, 1);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, check);
  auto inkOf = [&](int w, int h) {
    int ink = 0, other = 0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        COLORREF c = GetPixel(dc, x, y);
        (c == RGB(0, 0, 0) ? ink : c == RGB(255, 255, 255) ? other : other) += 1;
        EXPECT_TRUE(c == RGB(0, 0, 0) || c == RGB(255, 255, 255)) << x << "," << y;
      }
    return ink;
  };
  EXPECT_GT(inkOf(bm.bmWidth, bm.bmHeight), 10);
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 255, 255));
  SelectObject(dc, old);
  DeleteObject(check);

  HBITMAP canvas = CreateCompatibleBitmap(dc, 16, 16);
  old = SelectObject(dc, canvas);
  struct {
    UINT state;
    POINT inked, blank;  // a pixel of the glyph and one beside it
  } glyphs[] = {
      {DFCS_MENUCHECK, {5, 9}, {1, 1}},
      {DFCS_MENUBULLET, {8, 8}, {2, 8}},
      {DFCS_MENUARROW, {7, 8}, {12, 3}},       // pointing right: its base on the left
      {DFCS_MENUARROWRIGHT, {8, 8}, {3, 3}},
  };
  for (const auto& g : glyphs) {
    RECT rc{0, 0, 16, 16};
    ASSERT_TRUE(DrawFrameControl(dc, &rc, DFC_MENU, g.state)) << g.state;
    EXPECT_EQ(GetPixel(dc, g.inked.x, g.inked.y), RGB(0, 0, 0)) << g.state;
    EXPECT_EQ(GetPixel(dc, g.blank.x, g.blank.y), RGB(255, 255, 255)) << g.state;
  }
  SelectObject(dc, old);
  DeleteObject(canvas);
  DeleteDC(dc);
}

// A pop-up opened with the mouse hides its mnemonics (ODS_NOACCEL); opened
// from the keyboard it shows them.
TEST_F(UiPieces, OwnerDrawnMenuItemsHearWhetherMnemonicsShow) {
  HWND owner = Make(WS_POPUP | WS_VISIBLE, RECT{100, 100, 400, 400});
  SetActiveWindow(owner);
  HMENU menu = CreatePopupMenu();
  AppendMenuA(menu, MF_OWNERDRAW, 31, nullptr);
  std::vector<UINT> states;
  Of(owner).fn = [&](HWND, UINT msg, WPARAM, LPARAM lp) -> LRESULT {
    if (msg == WM_MEASUREITEM) {
      reinterpret_cast<MEASUREITEMSTRUCT*>(lp)->itemHeight = 20;
      reinterpret_cast<MEASUREITEMSTRUCT*>(lp)->itemWidth = 80;
      return TRUE;
    }
    if (msg == WM_DRAWITEM) states.push_back(reinterpret_cast<DRAWITEMSTRUCT*>(lp)->itemState);
    return msg == WM_DRAWITEM ? TRUE : kDefault;
  };
  struct {
    const char* name;
    std::function<void()> lastInput;
    UINT noAccel;
  } cases[] = {
      {"after a click", [] { testkit::MouseMove(POINT{5, 5}); }, ODS_NOACCEL},
      {"after a key", [] { testkit::PressKey(VK_SHIFT); }, 0},
  };
  for (const auto& c : cases) {
    c.lastInput();
    testkit::PumpPending();
    states.clear();
    testkit::ModalHandler handler([&](HWND) {
      testkit::PumpPending();  // the menu paints
      testkit::PressKey(VK_ESCAPE);
    });
    TrackPopupMenu(menu, TPM_RETURNCMD, 150, 150, 0, owner, nullptr);
    ASSERT_FALSE(states.empty()) << c.name;
    EXPECT_EQ(states.front() & ODS_NOACCEL, c.noAccel) << c.name;
  }
  DestroyMenu(menu);
}

// Owner-drawn items of a menu bar: mnemonics hidden, and ODS_INACTIVE while
// the window is not the active one.
TEST_F(UiPieces, OwnerDrawnMenuBarItemsHearTheWindowsActivation) {
  HWND w = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{50, 50, 350, 250});
  HWND other = Make(WS_POPUP | WS_VISIBLE, RECT{400, 50, 500, 150});
  HMENU bar = CreateMenu();
  AppendMenuA(bar, MF_OWNERDRAW, 41, nullptr);
  std::vector<UINT> states;
  Of(w).fn = [&](HWND, UINT msg, WPARAM, LPARAM lp) -> LRESULT {
    if (msg == WM_MEASUREITEM) {
      reinterpret_cast<MEASUREITEMSTRUCT*>(lp)->itemWidth = 50;
      return TRUE;
    }
    if (msg == WM_DRAWITEM) states.push_back(reinterpret_cast<DRAWITEMSTRUCT*>(lp)->itemState);
    return msg == WM_DRAWITEM ? TRUE : kDefault;
  };
  SetMenu(w, bar);
  struct {
    HWND active;
    UINT inactive;
  } cases[] = {{w, 0}, {other, ODS_INACTIVE}, {w, 0}};
  for (const auto& c : cases) {
    SetActiveWindow(c.active);
    states.clear();
    DrawMenuBar(w);
    testkit::PumpPending();
    ASSERT_FALSE(states.empty());
    EXPECT_EQ(states.back() & ODS_INACTIVE, c.inactive);
    EXPECT_EQ(states.back() & ODS_NOACCEL, static_cast<UINT>(ODS_NOACCEL));
  }
}

// The owner-drawn bar item under the mouse is drawn hot; moving on to
// another item or into the client area moves or clears it, and an open
// item is selected rather than hot.
TEST_F(UiPieces, OwnerDrawnMenuBarItemUnderTheMouseIsHot) {
  HWND w = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{50, 50, 350, 250});
  HMENU bar = CreateMenu();
  AppendMenuA(bar, MF_OWNERDRAW, 41, nullptr);
  AppendMenuA(bar, MF_OWNERDRAW, 42, nullptr);
  std::map<UINT, UINT> states;  // by item id, the last drawn
  Of(w).fn = [&](HWND, UINT msg, WPARAM, LPARAM lp) -> LRESULT {
    if (msg == WM_MEASUREITEM) {
      reinterpret_cast<MEASUREITEMSTRUCT*>(lp)->itemWidth = 50;
      return TRUE;
    }
    if (msg == WM_DRAWITEM) {
      auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
      states[dis->itemID] = dis->itemState;
      return TRUE;
    }
    return kDefault;
  };
  SetMenu(w, bar);
  SetActiveWindow(w);
  RECT first, second;
  ASSERT_TRUE(GetMenuItemRect(w, bar, 0, &first));
  ASSERT_TRUE(GetMenuItemRect(w, bar, 1, &second));
  struct {
    const char* name;
    POINT at;
    UINT hot41, hot42;
  } cases[] = {
      {"over the first", {first.left + 5, first.top + 5}, ODS_HOTLIGHT, 0},
      {"over the second", {second.left + 5, second.top + 5}, 0, ODS_HOTLIGHT},
      {"into the client area", {200, 200}, 0, 0},
      {"back over the first", {first.left + 5, first.top + 5}, ODS_HOTLIGHT, 0},
  };
  for (const auto& c : cases) {
    testkit::MouseMove(c.at);
    testkit::PumpPending();
    EXPECT_EQ(states[41] & ODS_HOTLIGHT, c.hot41) << c.name;
    EXPECT_EQ(states[42] & ODS_HOTLIGHT, c.hot42) << c.name;
  }
}

}  // namespace
