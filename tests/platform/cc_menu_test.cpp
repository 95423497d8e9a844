// Menus: items and their information, the system menu, owner-drawn items,
// and TrackPopupMenu answered by the test kit, the keyboard and the mouse.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Menu.h"
#include "ui_fixture.h"

namespace {

using CcMenu = UiFixture;

std::string ItemText(HMENU m, UINT item, UINT flags) {
  char buf[64] = {0};
  GetMenuStringA(m, item, buf, sizeof(buf), flags);
  return buf;
}

TEST_F(CcMenu, ItemsInfoAndSubMenus) {
  HMENU bar = CreateMenu();
  HMENU file = CreatePopupMenu();
  ASSERT_TRUE(AppendMenuA(file, MF_STRING, 10, "&Open\tCtrl+O"));
  ASSERT_TRUE(AppendMenuA(file, MF_SEPARATOR, 0, nullptr));
  ASSERT_TRUE(AppendMenuA(file, MF_STRING | MF_GRAYED, 11, "E&xit"));
  ASSERT_TRUE(AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File"));
  EXPECT_EQ(3, GetMenuItemCount(file));
  EXPECT_EQ(file, GetSubMenu(bar, 0));
  EXPECT_EQ(static_cast<UINT>(-1), GetMenuItemID(bar, 0));  // a sub-menu has no command
  EXPECT_EQ(11u, GetMenuItemID(file, 2));
  EXPECT_EQ("&Open\tCtrl+O", ItemText(file, 10, MF_BYCOMMAND));
  EXPECT_EQ("E&xit", ItemText(bar, 11, MF_BYCOMMAND));  // commands are found in sub-menus too
  EXPECT_EQ("&File", ItemText(bar, 0, MF_BYPOSITION));
  EXPECT_EQ(static_cast<UINT>(MF_GRAYED), GetMenuState(file, 11, MF_BYCOMMAND) & MF_GRAYED);

  // Item information, read and written, with a text cut to the caller's buffer.
  char buf[4];
  MENUITEMINFOA mii{};
  mii.cbSize = sizeof(mii);
  mii.fMask = MIIM_ID | MIIM_STATE | MIIM_FTYPE | MIIM_STRING | MIIM_DATA;
  mii.dwTypeData = buf;
  mii.cch = sizeof(buf);
  ASSERT_TRUE(GetMenuItemInfoA(file, 0, TRUE, &mii));
  EXPECT_EQ(10u, mii.wID);
  EXPECT_STREQ("&Op", buf);
  EXPECT_EQ(12u, mii.cch);
  mii.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_STATE;
  mii.fType = MFT_OWNERDRAW | MFT_RADIOCHECK;
  mii.fState = MFS_CHECKED | MFS_DEFAULT;
  mii.dwItemData = static_cast<ULONG_PTR>(0x0012003400000014ULL);  // pointer-sized item data
  ASSERT_TRUE(SetMenuItemInfoA(file, 10, FALSE, &mii));
  MENUITEMINFOA back{};
  back.cbSize = sizeof(back);
  back.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_STATE;
  ASSERT_TRUE(GetMenuItemInfoA(file, 10, FALSE, &back));
  EXPECT_EQ(mii.fType, back.fType);
  EXPECT_EQ(mii.dwItemData, back.dwItemData);
  EXPECT_EQ(static_cast<UINT>(MFS_CHECKED | MFS_DEFAULT), back.fState);
  EXPECT_FALSE(GetMenuItemInfoA(file, 99, FALSE, &back));

  EXPECT_EQ(static_cast<DWORD>(MF_UNCHECKED), CheckMenuItem(file, 11, MF_CHECKED));
  EXPECT_TRUE(DeleteMenu(bar, 0, MF_BYPOSITION));  // takes the sub-menu with it
  EXPECT_FALSE(IsMenu(file));
  EXPECT_TRUE(DestroyMenu(bar));
  EXPECT_FALSE(IsMenu(bar));
  EXPECT_EQ(-1, GetMenuItemCount(bar));
}

TEST_F(CcMenu, SystemMenuAndLoadedMenus) {
  HWND top = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HMENU sys = GetSystemMenu(top, FALSE);
  ASSERT_NE(nullptr, sys);
  EXPECT_EQ(sys, GetSystemMenu(top, FALSE));
  EXPECT_EQ("&Close\tAlt+F4", ItemText(sys, SC_CLOSE, MF_BYCOMMAND));
  EXPECT_EQ(nullptr, GetSystemMenu(top, TRUE));  // back to the default one
  EXPECT_FALSE(IsMenu(sys));

  PlatformAddMenu("CC_TEST_MENU", {{1, "One"}, {0, ""}, {2, "Two"}});
  HMENU loaded = LoadMenuA(nullptr, "CC_TEST_MENU");
  ASSERT_NE(nullptr, loaded);
  EXPECT_EQ(3, GetMenuItemCount(loaded));
  EXPECT_TRUE(GetMenuState(loaded, 1, MF_BYPOSITION) & MF_SEPARATOR);
  EXPECT_TRUE(SetMenu(top, loaded));
  EXPECT_EQ(loaded, GetMenu(top));
  EXPECT_EQ(nullptr, LoadMenuA(nullptr, "NO_SUCH_MENU"));
}

// The keys, then Escapes for whatever a wrong step left open, so that a
// fault shows as a wrong answer rather than a menu that never closes.
void PressKeys(std::initializer_list<UINT> keys) {
  for (UINT vk : keys) testkit::PressKey(vk);
  testkit::PressKey(VK_ESCAPE);
  testkit::PressKey(VK_ESCAPE);
}

struct PopupCase {
  const char* name;
  std::function<void(HWND menuWindow)> answer;
  UINT expected;
};

TEST_F(CcMenu, TrackPopupMenuIsAnsweredWhileItsLoopRuns) {
  HWND owner = Make(WS_POPUP | WS_VISIBLE, RECT{100, 100, 400, 400});
  HMENU menu = CreatePopupMenu();
  AppendMenuA(menu, MF_STRING, 21, "&Alpha");
  AppendMenuA(menu, MF_STRING | MF_GRAYED, 22, "&Beta");
  AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(menu, MF_STRING, 23, "Gamma\tCtrl+G");
  std::vector<UINT> seen;
  std::vector<WPARAM> commands;
  Of(owner).fn = [&](HWND, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
    if (msg == WM_INITMENUPOPUP || msg == WM_ENTERMENULOOP || msg == WM_EXITMENULOOP) seen.push_back(msg);
    if (msg == WM_COMMAND) commands.push_back(wp);
    // No mnemonic for "g": the owner decides, as a skinned menu does with WM_MENUCHAR.
    if (msg == WM_MENUCHAR && LOWORD(wp) == 'g' && reinterpret_cast<HMENU>(lp) == menu) return MAKELRESULT(3, MNC_EXECUTE);
    return kDefault;
  };
  auto click = [](HWND w, int pos) {
    RECT rc;
    ASSERT_TRUE(PlatformMenuItemScreenRect(w, pos, &rc));
    POINT pt{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    testkit::MouseMove(pt);
    testkit::MouseDown(pt);
    testkit::MouseUp(pt);
  };
  const PopupCase cases[] = {
      {"answered by id", [](HWND w) { testkit::Answer(w, 23); }, 23},
      {"a disabled command is not taken", [](HWND w) { testkit::Answer(w, 22); testkit::PressKey(VK_ESCAPE); }, 0},
      {"escape", [](HWND) { testkit::PressKey(VK_ESCAPE); }, 0},
      {"mnemonic", [](HWND) { testkit::TypeText("a"); }, 21},
      {"down, down: past the grey item and the separator",
       [](HWND) { PressKeys({VK_DOWN, VK_DOWN, VK_RETURN}); }, 23},
      {"up with nothing selected: the last item", [](HWND) { PressKeys({VK_UP, VK_RETURN}); }, 23},
      {"down, down, down: round the end to the first", [](HWND) { PressKeys({VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}); },
       21},
      {"down, up: round the top to the last", [](HWND) { PressKeys({VK_DOWN, VK_UP, VK_RETURN}); }, 23},
      {"owner answers WM_MENUCHAR", [](HWND) { testkit::TypeText("g"); }, 23},
      {"mouse click", [&](HWND w) { click(w, 0); }, 21},
      {"click outside cancels", [](HWND) { testkit::MouseDown(POINT{5, 5}); testkit::MouseUp(POINT{5, 5}); }, 0},
  };
  for (const PopupCase& c : cases) {
    seen.clear();
    commands.clear();
    HWND shown = nullptr;
    testkit::ModalHandler handler([&](HWND w) {
      shown = w;
      c.answer(w);
    });
    UINT r = static_cast<UINT>(TrackPopupMenu(menu, TPM_RETURNCMD, 150, 150, 0, owner, nullptr));
    EXPECT_EQ(c.expected, r) << c.name;
    ASSERT_NE(nullptr, shown) << c.name;
    EXPECT_FALSE(IsWindow(shown)) << c.name;
    EXPECT_EQ((std::vector<UINT>{WM_ENTERMENULOOP, WM_INITMENUPOPUP, WM_EXITMENULOOP}), seen) << c.name;
    testkit::PumpPending();
    EXPECT_TRUE(commands.empty()) << c.name;  // TPM_RETURNCMD sends no command
  }

  // Without TPM_RETURNCMD the choice comes to the owner as WM_COMMAND.
  {
    testkit::ModalHandler handler([](HWND w) { testkit::Answer(w, 21); });
    EXPECT_TRUE(TrackPopupMenu(menu, 0, 150, 150, 0, owner, nullptr));
  }
  testkit::PumpPending();
  EXPECT_EQ((std::vector<WPARAM>{21}), commands);
}

// With nothing selected, Up takes the last item a user can choose and Down the
// first, in the system menu (with an item the program appended after Close),
// in a sub-menu opened from the keyboard and in a menu of greyed ends.
TEST_F(CcMenu, ArrowsWithNothingSelectedStartAtTheEndsSkippingWhatCannotBeChosen) {
  const UINT kAbout = 0x10;
  HWND owner = Make(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, RECT{100, 100, 400, 400});
  HMENU sys = GetSystemMenu(owner, FALSE);
  AppendMenuA(sys, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(sys, MF_STRING, kAbout, "&About...");
  std::vector<WPARAM> commands;
  Of(owner).fn = [&](HWND, UINT msg, WPARAM wp, LPARAM) -> LRESULT {
    if (msg == WM_SYSCOMMAND && (wp & 0xFFF0) != SC_KEYMENU) {
      commands.push_back(wp);
      return 0;
    }
    if (msg == WM_COMMAND) commands.push_back(wp);
    return kDefault;
  };
  // A menu whose first and last items are greyed, and a sub-menu in the middle.
  HMENU sub = CreatePopupMenu();
  AppendMenuA(sub, MF_STRING, 51, "Sub one");
  AppendMenuA(sub, MF_STRING, 52, "Sub two");
  AppendMenuA(sub, MF_STRING | MF_GRAYED, 53, "Sub grey");
  HMENU greyEnds = CreatePopupMenu();
  AppendMenuA(greyEnds, MF_STRING | MF_GRAYED, 41, "Grey top");
  AppendMenuA(greyEnds, MF_STRING, 42, "Middle");
  AppendMenuA(greyEnds, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "More");
  AppendMenuA(greyEnds, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(greyEnds, MF_STRING | MF_GRAYED, 44, "Grey bottom");
  auto system = [&] { SendMessageA(owner, WM_SYSCOMMAND, SC_KEYMENU, ' '); };
  auto popup = [&] { TrackPopupMenu(greyEnds, 0, 150, 150, 0, owner, nullptr); };
  const struct {
    const char* name;
    std::function<void()> open;
    std::initializer_list<UINT> keys;
    WPARAM expected;
  } cases[] = {
      {"system menu: up is the appended item, not Close", system, {VK_UP, VK_RETURN}, kAbout},
      {"system menu: up, up is Close", system, {VK_UP, VK_UP, VK_RETURN}, SC_CLOSE},
      {"system menu: down is the first enabled item (Restore is grey)", system, {VK_DOWN, VK_RETURN}, SC_MOVE},
      {"grey ends: up", popup, {VK_UP, VK_RETURN}, 0},  // the sub-menu's row only opens it
      {"grey ends: up, right, up is the sub-menu's last enabled item", popup, {VK_UP, VK_RIGHT, VK_UP, VK_RETURN}, 52},
      {"grey ends: up, right, down is the sub-menu's first", popup, {VK_UP, VK_RIGHT, VK_DOWN, VK_RETURN}, 51},
      {"grey ends: down", popup, {VK_DOWN, VK_RETURN}, 42},
  };
  for (const auto& c : cases) {
    commands.clear();
    bool shown = false;
    testkit::ModalHandler handler([&](HWND) {
      if (shown) return;  // the sub-menu's window comes by too
      shown = true;
      PressKeys(c.keys);
    });
    c.open();
    testkit::PumpPending();
    EXPECT_TRUE(shown) << c.name;
    EXPECT_EQ(c.expected ? std::vector<WPARAM>{c.expected} : std::vector<WPARAM>{}, commands) << c.name;
  }
  DestroyMenu(greyEnds);
}

TEST_F(CcMenu, OwnerDrawnItemsAreMeasuredAndDrawnByTheOwner) {
  HWND owner = Make(WS_POPUP | WS_VISIBLE, RECT{100, 100, 400, 400});
  HMENU menu = CreatePopupMenu();
  AppendMenuA(menu, MF_OWNERDRAW, 31, reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(0x1234)));
  AppendMenuA(menu, MF_OWNERDRAW | MF_CHECKED, 32, reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(0x5678)));
  std::vector<ULONG_PTR> measured;
  std::vector<std::pair<UINT, UINT>> drawn;  // id, state
  std::vector<RECT> rects;
  Of(owner).fn = [&](HWND, UINT msg, WPARAM, LPARAM lp) -> LRESULT {
    if (msg == WM_MEASUREITEM) {
      auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
      EXPECT_EQ(static_cast<UINT>(ODT_MENU), mis->CtlType);
      measured.push_back(mis->itemData);
      mis->itemWidth = 120;
      mis->itemHeight = 20;
      return TRUE;
    }
    if (msg == WM_DRAWITEM) {
      auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
      drawn.emplace_back(dis->itemID, dis->itemState);
      rects.push_back(dis->rcItem);
      return TRUE;
    }
    return kDefault;
  };
  testkit::ModalHandler handler([](HWND) {
    testkit::PumpPending();  // the menu paints
    testkit::PressKey(VK_ESCAPE);
  });
  TrackPopupMenu(menu, TPM_RETURNCMD, 150, 150, 0, owner, nullptr);
  EXPECT_EQ((std::vector<ULONG_PTR>{0x1234, 0x5678}), measured);
  ASSERT_GE(drawn.size(), 2u);
  EXPECT_EQ(31u, drawn[0].first);
  EXPECT_EQ(32u, drawn[1].first);
  EXPECT_TRUE(drawn[1].second & ODS_CHECKED);
  EXPECT_EQ(120, rects[0].right - rects[0].left);
  EXPECT_EQ(20, rects[0].bottom - rects[0].top);
  EXPECT_EQ(rects[0].bottom, rects[1].top);
}

}  // namespace
